#include "brunhale/ShapefileOutput.h"

#include "brunhale/Failure.h"

namespace velmora::brunhale {

namespace {

int shapeType(ShapeKind kind) {
    switch (kind) {
        case ShapeKind::Point: return SHPT_POINT;
        case ShapeKind::Polygon: return SHPT_POLYGON;
        default: return SHPT_ARC;
    }
}

bool ringIsOpen(const std::vector<double>& xs, const std::vector<double>& ys, std::size_t first, std::size_t end) {
    return xs[first] != xs[end - 1] || ys[first] != ys[end - 1];
}

}  // namespace

void closeRings(std::vector<int>& starts, std::vector<double>& xs, std::vector<double>& ys) {
    auto endOf = [&](std::size_t p) { return p + 1 < starts.size() ? static_cast<std::size_t>(starts[p + 1]) : xs.size(); };
    bool open = false;
    for (std::size_t p = 0; p < starts.size() && !open; ++p) open = ringIsOpen(xs, ys, static_cast<std::size_t>(starts[p]), endOf(p));
    if (!open) return;

    std::vector<int> newStarts;
    std::vector<double> newXs, newYs;
    for (std::size_t p = 0; p < starts.size(); ++p) {
        const std::size_t first = static_cast<std::size_t>(starts[p]), end = endOf(p);
        newStarts.push_back(static_cast<int>(newXs.size()));
        newXs.insert(newXs.end(), xs.begin() + static_cast<long>(first), xs.begin() + static_cast<long>(end));
        newYs.insert(newYs.end(), ys.begin() + static_cast<long>(first), ys.begin() + static_cast<long>(end));
        if (ringIsOpen(xs, ys, first, end)) {
            newXs.push_back(xs[first]);
            newYs.push_back(ys[first]);
        }
    }
    starts.swap(newStarts);
    xs.swap(newXs);
    ys.swap(newYs);
}

ShapefileOutput::ShapefileOutput(const std::string& shpPath, ShapeKind kind, TrackedFiles& files)
    : type_(shapeType(kind)), path_(shpPath), budget_(100) {
    // shapelib strips the last extension of the name it is given and adds ".shp" and ".shx": a base that
    // holds a dot of its own stays intact.
    handle_ = SHPCreateLL(path_.c_str(), type_, files.hooks());
    if (!handle_) {
        std::string why = TrackedFiles::firstError();
        throw Failure(ExitCode::NotWritable, "cannot create " + path_ + (why.empty() ? "" : " (" + why + ")"));
    }
}

ShapefileOutput::~ShapefileOutput() {
    if (handle_) SHPClose(handle_);
}

void ShapefileOutput::write(SHPObject* object, std::uint64_t bytes) {
    if (!budget_.add(bytes)) {
        SHPDestroyObject(object);
        throw Failure(ExitCode::TooLarge, path_ + " would exceed the shapefile size limit of 2 GB");
    }
    int r = SHPWriteObject(handle_, -1, object);
    SHPDestroyObject(object);
    if (r < 0 || !TrackedFiles::firstError().empty())
        throw Failure(ExitCode::NotWritable, "cannot write " + path_ + ": " + TrackedFiles::firstError());
}

void ShapefileOutput::writeNull() {
    write(SHPCreateObject(SHPT_NULL, -1, 0, nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr), nullShapeBytes());
}

void ShapefileOutput::writePoint(double x, double y) {
    write(SHPCreateSimpleObject(SHPT_POINT, 1, &x, &y, nullptr), pointShapeBytes());
}

void ShapefileOutput::writeParts(const std::vector<int>& starts, std::vector<double>& xs, std::vector<double>& ys) {
    partStarts_ = starts;
    if (type_ == SHPT_POLYGON) closeRings(partStarts_, xs, ys);
    const std::vector<int>& partStarts = partStarts_;
    int parts = static_cast<int>(partStarts.size());
    int points = static_cast<int>(xs.size());
    write(SHPCreateObject(type_, -1, parts, partStarts.data(), nullptr, points, xs.data(), ys.data(), nullptr, nullptr),
          multiPointShapeBytes(static_cast<std::uint64_t>(parts), static_cast<std::uint64_t>(points)));
}

void ShapefileOutput::close() {
    if (!handle_) return;
    SHPClose(handle_);
    handle_ = nullptr;
    if (!TrackedFiles::firstError().empty())
        throw Failure(ExitCode::NotWritable, "cannot write " + path_ + ": " + TrackedFiles::firstError());
}

}  // namespace velmora::brunhale
