#include "viewer/RectangleZoomTool.h"

#include <exception>

#include "platform/ui/UiService.h"

namespace velmora::viewer {

void RectangleZoomTool::pMap_MouseDown(int button, int, int x, int y) {
    try {
        const map::MapPoint p = pMap->toMapPoint(x, y);
        if (button != map::button::Left) return;
        QPointer<RectangleZoomTool> self(this);
        pMap->trackRectangle([self, p](const map::MapRect& r) {
            // The tool may have been replaced while the button was held.
            if (self) self->finish(p, r);
        });
    } catch (const std::exception& e) {
        showFailure(e);
    }
}

void RectangleZoomTool::finish(const map::MapPoint& p, const map::MapRect& r) {
    try {
        if (r.isEmpty() || !pMap) return;
        pMap->setExtent(newExtent(p, r));
    } catch (const std::exception& e) {
        showFailure(e);
    }
}

void RectangleZoomTool::showFailure(const std::exception& e) const {
    ui::message(std::string(e.what()) + "\r\n" + errorPlace(), "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Critical);
}

}  // namespace velmora::viewer
