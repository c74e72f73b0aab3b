#include "platform/map/MapLayer.h"

#include "platform/errors/RunTimeError.h"
#include "platform/map/CompanionFile.h"
#include "platform/map/MapView.h"
#include "platform/map/ShapeData.h"
#include "platform/map/ShapeSearch.h"
#include "platform/map/ShapeTypes.h"

#include <cmath>
#include <filesystem>

namespace velmora::map {

namespace {

std::string defaultName(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

[[noreturn]] void invalidArgument(const std::string& what) {
    throw RunTimeError(err::InvalidProcedureCall, "Invalid procedure call or argument: " + what);
}

}  // namespace

MapLayer::MapLayer(const std::string& path)
    : path_(path), name_(defaultName(path)), shapes_(std::make_shared<ShapeData>(readShapeFile(path))),
      symbol_(defaultSymbol(shapes_->shapeType, 0)) {}

MapLayer::~MapLayer() = default;

int MapLayer::shapeType() const { return shapes_->shapeType; }

MapRect MapLayer::extent() const { return shapes_->extent; }

int MapLayer::shapeCount() const { return static_cast<int>(shapes_->count()); }

void MapLayer::setSymbol(const Symbol& s) {
    symbol_ = s;
    symbolChosen_ = true;
    if (view_) view_->layerChanged();
}

void MapLayer::setVisible(bool v) {
    if (visible_ == v) return;
    visible_ = v;
    if (view_) view_->layerChanged();
}

RecordSet MapLayer::recordSet(std::vector<std::uint32_t> records) const {
    return RecordSet(shapes_, companionFile(path_, ".dbf"), std::move(records));
}

RecordSet MapLayer::searchShape(const MapPoint& p, int method, const std::string& filter) const {
    if (method != search::PointInPolygon) invalidArgument("search method " + std::to_string(method));
    if (!filter.empty()) invalidArgument("filter expressions are not supported");
    std::vector<std::uint32_t> found;
    if (shapeType() == shape::Polygon) {
        const ShapeData& d = *shapes_;
        for (auto n : d.index.find(MapRect(p.x, p.x, p.y, p.y), d.boxes))
            if (polygonContains(d, n, p)) found.push_back(n);
    }
    return recordSet(std::move(found));
}

RecordSet MapLayer::searchByDistance(const MapPoint& p, double distance, const std::string& filter) const {
    if (!(distance >= 0)) invalidArgument("search distance");
    if (!filter.empty()) invalidArgument("filter expressions are not supported");
    const ShapeData& d = *shapes_;
    std::vector<std::uint32_t> found;
    for (auto n : d.index.find(MapRect(p.x - distance, p.x + distance, p.y - distance, p.y + distance), d.boxes))
        if (distanceTo(d, n, p) <= distance) found.push_back(n);
    return recordSet(std::move(found));
}

}  // namespace velmora::map
