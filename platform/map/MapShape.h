#pragma once
// One shape of a layer as a value: what a record set hands out and what the map flashes.
#include "platform/map/MapGeometry.h"

#include <vector>

namespace velmora::map {

struct MapShape {
    int shapeType = 0;  // 21 to 24 as the layer's type
    std::vector<std::vector<MapPoint>> parts;  // none for a null shape
    MapRect box;

    bool isNull() const { return parts.empty(); }
};

}  // namespace velmora::map
