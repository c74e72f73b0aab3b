#pragma once
// The main window's map tool controller: the map it works on, the current tool of the view band, and the
// operations by which shapefiles and dBASE tables enter the viewer (the conversion side calls AddLayer and
// AddTable through frmMapMain::pMapTool).
#include <memory>
#include <string>

#include "viewer/MapTool.h"

class QTreeWidget;

namespace velmora::viewer {
class MapToolSelection;
class ThemeSelection;
}

class clsMapToolControl {
public:
    // The map the tools and the added layers go to, and the theme tree that lists them.
    clsMapToolControl();
    ~clsMapToolControl();
    void setMapControl(velmora::map::MapView* map);
    velmora::map::MapView* MapControl() const { return map_; }
    void setThemeTree(QTreeWidget* tree) { tree_ = tree; }

    // What the identify tool reads of the main window (the tree's selection, the window's corner).
    void setThemeSelection(const velmora::viewer::ThemeSelection* selection) { selection_ = selection; }

    // The type of the tool the map's mouse goes to (maptool::None to Identify).
    int CurrentTool() const;
    // Makes a new tool of this type current (the right button pans with every tool and none); None, or
    // Identify without a theme selection, leaves no tool and the arrow pointer.
    void setCurrentTool(int toolType);
    velmora::viewer::MapToolSelection& tools() { return *tools_; }

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
    const velmora::viewer::ThemeSelection* selection_ = nullptr;
    std::unique_ptr<velmora::viewer::MapToolSelection> tools_;
};
