#pragma once
// The main window's map tool controller: the map it works on, the current tool of the view band, and the
// operations by which shapefiles and dBASE tables enter the viewer (the conversion side calls AddLayer and
// AddTable through frmMapMain::pMapTool).
#include <string>

class QTreeWidget;

namespace velmora::map {
class MapView;
}

namespace maptool {
// The tool types of the view band's tools; None leaves the map with the arrow pointer.
inline constexpr int None = 0, ZoomIn = 1, ZoomOut = 2, Pan = 3, Identify = 4;
}

class clsMapToolControl {
public:
    // The map the tools and the added layers go to, and the theme tree that lists them.
    void setMapControl(velmora::map::MapView* map) { map_ = map; }
    velmora::map::MapView* MapControl() const { return map_; }
    void setThemeTree(QTreeWidget* tree) { tree_ = tree; }

    // The tool the map's mouse goes to; setting None shows the arrow pointer on the map.
    int CurrentTool() const { return currentTool_; }
    void setCurrentTool(int toolType);

    // Puts the shapefile on top of the map, named by modCommon::getLayerName, and rebuilds the tree (tvw,
    // or the window's tree when nullptr) with its node first. False without a change or a message when the
    // path is empty, names no existing file or does not hold ".shp" (any letter case); false after the box
    // "Error: clsMapToolControl (AddLayer)" when the map refuses the file.
    bool AddLayer(const std::string& AddLayerName, QTreeWidget* tvw = nullptr);
    // Gives the table a node under the tables root (the file is not read). False without a change when the
    // path names no existing file or does not hold ".dbf" (any letter case).
    bool AddTable(const std::string& AddTableName);

private:
    velmora::map::MapView* map_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    int currentTool_ = maptool::None;
};
