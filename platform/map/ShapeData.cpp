#include "platform/map/ShapeData.h"

#include "platform/errors/RunTimeError.h"
#include "platform/map/CompanionFile.h"
#include "platform/map/ShapeLibFiles.h"
#include "platform/map/ShapeTypes.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace velmora::map {

namespace {

[[noreturn]] void invalid(const std::string& path) {
    throw RunTimeError(InvalidFileFormat, "Invalid file format: " + path);
}

std::uint32_t bigEndian(const unsigned char* b) {
    return (std::uint32_t(b[0]) << 24) | (std::uint32_t(b[1]) << 16) | (std::uint32_t(b[2]) << 8) | b[3];
}
std::uint32_t littleEndian(const unsigned char* b) {
    return (std::uint32_t(b[3]) << 24) | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[1]) << 8) | b[0];
}

int mapType(int shpType) {
    switch (shpType) {
    case SHPT_POINT: case SHPT_POINTZ: case SHPT_POINTM: return shape::Point;
    case SHPT_ARC: case SHPT_ARCZ: case SHPT_ARCM: return shape::Line;
    case SHPT_POLYGON: case SHPT_POLYGONZ: case SHPT_POLYGONM: return shape::Polygon;
    case SHPT_MULTIPOINT: case SHPT_MULTIPOINTZ: case SHPT_MULTIPOINTM: return shape::MultiPoint;
    default: return 0;
    }
}

// The fixed header: file code 9994, version 1000, a known shape type, and a file at least as long as the
// header says. shapelib trusts much of this; a text file or a cut copy must not become a layer.
int checkHeader(const std::string& path) {
    std::array<unsigned char, 100> h{};
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f || std::fread(h.data(), 1, h.size(), f.get()) != h.size()) invalid(path);
    if (bigEndian(&h[0]) != 9994 || littleEndian(&h[28]) != 1000) invalid(path);
    const int type = mapType(static_cast<int>(littleEndian(&h[32])));
    if (type == 0) invalid(path);
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size < std::uint64_t(bigEndian(&h[24])) * 2) invalid(path);
    return type;
}

}  // namespace

MapShape ShapeData::shape(std::size_t n) const {
    MapShape s;
    s.shapeType = shapeType;
    if (n >= count()) return s;
    s.box = boxes[n];
    for (std::uint32_t p = shapePart[n]; p < shapePart[n + 1]; ++p) {
        std::vector<MapPoint> part;
        for (std::uint32_t k = partStart[p]; k < partStart[p + 1]; ++k) part.push_back({xy[2 * k], xy[2 * k + 1]});
        s.parts.push_back(std::move(part));
    }
    return s;
}

std::size_t ShapeData::memoryBytes() const {
    return xy.capacity() * sizeof(double) + (partStart.capacity() + shapePart.capacity()) * sizeof(std::uint32_t) +
           boxes.capacity() * sizeof(MapRect) + index.memoryBytes();
}

ShapeData readShapeFile(const std::string& path) {
    ShapeData d;
    d.shapeType = checkHeader(path);
    const std::string shx = companionFile(path, ".shx");
    if (shx.empty()) invalid(path);
    ShapeLibFiles files(path, shx, "");
    SHPHandle h = SHPOpenLL(path.c_str(), "rb", files.hooks());
    if (!h) invalid(path);
    std::unique_ptr<SHPInfo, void (*)(SHPHandle)> handle(h, &SHPClose);
    SHPSetFastModeReadObject(h, 1);
    const int records = h->nRecords;
    // Upper bounds from the file size; pages never touched cost no memory.
    const std::size_t maxPoints = h->nFileSize / 16;
    d.xy.reserve(2 * maxPoints);
    d.boxes.reserve(records);
    d.shapePart.reserve(records + 1);
    d.partStart.reserve(records + 1);
    d.shapePart.push_back(0);
    d.partStart.push_back(0);
    auto addPoint = [&](double x, double y, MapRect& box) {
        d.xy.push_back(x);
        d.xy.push_back(y);
        box.include(x, y);
    };
    for (int i = 0; i < records; ++i) {
        SHPObject* o = SHPReadObject(h, i);
        if (!o) invalid(path);
        std::unique_ptr<SHPObject, void (*)(SHPObject*)> obj(o, &SHPDestroyObject);
        MapRect box;
        if (o->nSHPType != SHPT_NULL && o->nVertices > 0) {
            if (mapType(o->nSHPType) != d.shapeType) invalid(path);
            if (o->nParts == 0) {
                for (int k = 0; k < o->nVertices; ++k) addPoint(o->padfX[k], o->padfY[k], box);
                d.partStart.push_back(static_cast<std::uint32_t>(d.xy.size() / 2));
            } else {
                for (int p = 0; p < o->nParts; ++p) {
                    const int first = o->panPartStart[p];
                    const int last = p + 1 < o->nParts ? o->panPartStart[p + 1] : o->nVertices;
                    if (first < 0 || last > o->nVertices || first > last) invalid(path);
                    for (int k = first; k < last; ++k) addPoint(o->padfX[k], o->padfY[k], box);
                    d.partStart.push_back(static_cast<std::uint32_t>(d.xy.size() / 2));
                }
            }
        }
        d.shapePart.push_back(static_cast<std::uint32_t>(d.partStart.size() - 1));
        d.boxes.push_back(box);
        d.extent.unite(box);
    }
    d.index.build(d.boxes);
    return d;
}

}  // namespace velmora::map
