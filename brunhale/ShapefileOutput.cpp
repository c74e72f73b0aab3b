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

}  // namespace

ShapefileOutput::ShapefileOutput(const std::string& base, ShapeKind kind, TrackedFiles& files)
    : type_(shapeType(kind)), path_(base + ".shp"), budget_(100) {
    // shapelib strips the last extension of the name it is given: passing ".shp" keeps a base that holds
    // a dot of its own intact.
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

void ShapefileOutput::writeParts(const std::vector<int>& partStarts, std::vector<double>& xs, std::vector<double>& ys) {
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
