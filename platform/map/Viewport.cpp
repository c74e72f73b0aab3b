#include "platform/map/Viewport.h"

#include <algorithm>

namespace velmora::map {

Viewport Viewport::fit(const MapRect& requested, int width, int height) {
    Viewport v;
    v.width = std::max(1, width);
    v.height = std::max(1, height);
    const double w = requested.width() > 0 ? requested.width() : 1;
    const double h = requested.height() > 0 ? requested.height() : 1;
    v.scale = std::min(v.width / w, v.height / h);
    const MapPoint c = requested.centre();
    const double hw = v.width / v.scale / 2, hh = v.height / v.scale / 2;
    v.extent = MapRect(c.x - hw, c.x + hw, c.y - hh, c.y + hh);
    return v;
}

}  // namespace velmora::map
