#pragma once
// A shapefile layer of the map: every shape read into memory when the layer is made (the files are closed
// again), with a spatial index, a name, a symbol and a visibility flag. Searches give record sets.
#include "platform/map/MapGeometry.h"
#include "platform/map/RecordSet.h"
#include "platform/map/Symbol.h"

#include <memory>
#include <string>

namespace velmora::map {

class MapView;
struct ShapeData;

namespace search {
inline constexpr int PointInPolygon = 12;  // the polygons that contain the point
}

class MapLayer {
public:
    // Reads the shapefile at exactly this path. Throws RunTimeError 321 "Invalid file format" naming the
    // path when it is not a readable shapefile.
    explicit MapLayer(const std::string& path);
    ~MapLayer();

    // The path as given, unchanged.
    const std::string& filePath() const { return path_; }
    // Initially the file name without folder and final extension.
    const std::string& name() const { return name_; }
    void setName(const std::string& name) { name_ = name; }
    // 21 point, 22 line, 23 polygon, 24 multipoint.
    int shapeType() const;

    const Symbol& symbol() const { return symbol_; }
    void setSymbol(const Symbol& s);
    bool visible() const { return visible_; }
    void setVisible(bool v);

    // The union of the shapes' boxes; empty for a layer without shapes.
    MapRect extent() const;
    int shapeCount() const;
    const ShapeData& shapes() const { return *shapes_; }

    // method 12: the polygons that contain p (nothing on other layers). Another method or a filter
    // expression throws RunTimeError 5.
    RecordSet searchShape(const MapPoint& p, int method, const std::string& filter) const;
    // The shapes within `distance` of p: points by their points, lines by their nearest segment, polygons
    // containing p or with an edge within the distance. A filter expression or a negative distance throws 5.
    RecordSet searchByDistance(const MapPoint& p, double distance, const std::string& filter) const;

private:
    friend class MapView;
    RecordSet recordSet(std::vector<std::uint32_t> records) const;

    std::string path_;
    std::string name_;
    std::shared_ptr<const ShapeData> shapes_;
    Symbol symbol_;
    bool symbolChosen_ = false;
    bool visible_ = true;
    MapView* view_ = nullptr;  // the map that shows the layer, told of changes that need a redraw
};

}  // namespace velmora::map
