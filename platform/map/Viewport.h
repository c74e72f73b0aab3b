#pragma once
// The map extent as placed on a surface of width × height pixels: the requested rectangle shown whole and
// centred, one axis widened to the surface's proportions. Pixel x grows east, pixel y grows south.
#include "platform/map/MapGeometry.h"

namespace velmora::map {

struct Viewport {
    MapRect extent;     // what the surface shows
    int width = 1;
    int height = 1;
    double scale = 1;   // pixels per map unit

    static Viewport fit(const MapRect& requested, int width, int height);

    double toPixelX(double x) const { return (x - extent.left) * scale; }
    double toPixelY(double y) const { return (extent.top - y) * scale; }
    MapPoint toMap(double px, double py) const { return {extent.left + px / scale, extent.top - py / scale}; }
};

}  // namespace velmora::map
