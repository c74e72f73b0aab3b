#pragma once
// The tool side of the main window's tool controller: the map, the one current tool (owned; only it
// listens to the map's mouse-down), its type code, and the right-button pan that works with every tool
// and with none.
#include <QObject>
#include <QPointer>
#include <memory>

#include "viewer/MapTool.h"

namespace velmora::viewer {

class MapToolSelection : public QObject {
public:
    // The map whose mouse-down events the tools (and the right-button pan) receive.
    void MapControl(map::MapView* New_MapControl);
    // Drops the current tool, then makes New_Tool current (nullptr: none, arrow pointer). A failure (no map)
    // leaves no tool, type 0 and the arrow pointer, without a message.
    void CurrentTool(std::unique_ptr<MapTool> New_Tool);
    MapTool* currentTool() const { return tool_.get(); }
    // 0 without a tool, else the tool's ToolType.
    int ToolType() const { return toolType_; }

private:
    void pMap_MouseDown(int button, int shift, int x, int y);

    QPointer<map::MapView> pMap;
    std::unique_ptr<MapTool> tool_;
    int toolType_ = maptool::None;
};

}  // namespace velmora::viewer
