#pragma once
// The picture of a marker symbol, drawn once and stamped at each point of a layer. The map and the theme
// tree's swatches both stamp it, so a swatch shows a marker exactly as the map draws it.
#include "platform/map/Symbol.h"

#include <QImage>

namespace velmora::map {

// The size a marker of size 0 is drawn at, in pixels.
inline constexpr double DefaultMarkerSize = 7;

struct MarkerStamp {
    QImage image;   // transparent around the marker, antialiased
    int half = 0;   // a point at pixel (x, y) puts the image's top-left corner at (x - half, y - half)
};

// The marker of `symbol` (size 0: the default size) with lengths multiplied by lengthScale, at most
// 100 pixels, the outline at least one pixel wide.
MarkerStamp markerStamp(const Symbol& symbol, double lengthScale);

}  // namespace velmora::map
