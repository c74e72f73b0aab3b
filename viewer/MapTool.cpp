#include "viewer/MapTool.h"

#include "platform/errors/RunTimeError.h"

namespace velmora::viewer {

void MapTool::MapControl(map::MapView* New_MapControl) {
    if (!New_MapControl) throw RunTimeError(91, "Object variable or With block variable not set");
    if (pMap) disconnect(pMap, nullptr, this, nullptr);
    pMap = New_MapControl;
    connect(pMap, &map::MapView::mouseDown, this,
            [this](int button, int shift, int x, int y) { pMap_MouseDown(button, shift, x, y); });
    pMap->setMousePointer(pointerCode());
}

}  // namespace velmora::viewer
