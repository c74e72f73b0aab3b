#include "viewer/MapToolSelection.h"

#include <exception>

#include "viewer/MapPan.h"

namespace velmora::viewer {

void MapToolSelection::MapControl(map::MapView* New_MapControl) {
    if (pMap) disconnect(pMap, nullptr, this, nullptr);
    pMap = New_MapControl;
    if (pMap)
        connect(pMap, &map::MapView::mouseDown, this,
                [this](int button, int shift, int x, int y) { pMap_MouseDown(button, shift, x, y); });
}

void MapToolSelection::CurrentTool(std::unique_ptr<MapTool> New_Tool) {
    tool_.reset();
    toolType_ = maptool::None;
    try {
        if (New_Tool) {
            New_Tool->MapControl(pMap);
            toolType_ = New_Tool->ToolType();
            tool_ = std::move(New_Tool);
            return;
        }
    } catch (const std::exception&) {
        toolType_ = maptool::None;
    }
    if (pMap) pMap->setMousePointer(map::pointer::Arrow);
}

void MapToolSelection::pMap_MouseDown(int button, int shift, int, int) {
    if (button == map::button::Right && shift == 0) modCommon::MapPan(pMap, button);
}

}  // namespace velmora::viewer
