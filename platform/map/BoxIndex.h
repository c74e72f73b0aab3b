#pragma once
// A packed R-tree over the bounding boxes of a layer's shapes, built once when the layer is read (sort-tile-
// recursive packing, 16 entries per node). The tree keeps the shape numbers in leaf order and the boxes of
// its nodes; the shapes' own boxes stay with the layer and are passed to each query.
#include "platform/map/MapGeometry.h"

#include <cstdint>
#include <vector>

namespace velmora::map {

class BoxIndex {
public:
    // Empty boxes (null shapes) are left out.
    void build(const std::vector<MapRect>& boxes);

    // The numbers of the shapes whose boxes meet `query`, ascending.
    std::vector<std::uint32_t> find(const MapRect& query, const std::vector<MapRect>& boxes) const;

    std::size_t memoryBytes() const;

private:
    template <class Visit>
    void visit(const MapRect& query, const std::vector<MapRect>& boxes, Visit&& visit) const;

    static constexpr std::size_t Fanout = 16;
    std::vector<std::uint32_t> ids_;
    // levels_[0] holds one box per group of Fanout ids; levels_[k] one per group of Fanout boxes of level k-1.
    std::vector<std::vector<MapRect>> levels_;
};

}  // namespace velmora::map
