#pragma once
// The geometric tests behind a layer's searches, on the flat shape arrays.
#include "platform/map/ShapeData.h"

namespace velmora::map {

// Odd-even rule over all rings of the shape, as polygons are filled.
bool polygonContains(const ShapeData& d, std::size_t n, const MapPoint& p);
// Distance from p to the nearest point of the shape: its vertices for points, its segments for lines and
// polygon rings (0 inside a polygon).
double distanceTo(const ShapeData& d, std::size_t n, const MapPoint& p);

}  // namespace velmora::map
