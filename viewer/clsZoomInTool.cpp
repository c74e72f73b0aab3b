#include "viewer/clsZoomInTool.h"

using namespace velmora::map;

MapRect clsZoomInTool::newExtent(const MapPoint& p, const MapRect& r) const {
    if (r.width() >= ClickWidth) return r;
    MapRect e = pMap->extent();
    const MapPoint c = e.centre();
    e.offset(p.x - c.x, p.y - c.y);
    e.scaleAboutCentre(0.5);
    return e;
}
