#include "viewer/clsZoomOutTool.h"

using namespace velmora::map;

MapRect clsZoomOutTool::newExtent(const MapPoint& p, const MapRect& r) const {
    MapRect e = pMap->extent();
    const bool click = r.width() < ClickWidth;
    const MapPoint target = click ? p : r.centre();
    const MapPoint c = e.centre();
    const double factor = click ? 2.0 : e.width() / r.width();
    e.offset(target.x - c.x, target.y - c.y);
    e.scaleAboutCentre(factor);
    return e;
}
