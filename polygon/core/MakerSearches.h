#pragma once
// The makers' searches that, made as the algorithms state them, take time growing with the square of
// the input: points against selected meshes, holes against designated areas, points against the points
// kept before them, long catchment edges against every stored link. Each finds candidates through an index and decides with the algorithm's own test, in
// its order, so the results are the same bit for bit. Their literal forms are the oracles of
// tests/polygon/oracle/, which run whole jobs both ways and compare the files.
// (KsPolygonMaker::apply_mesh_selection and drop_repeated_points are defined with them.)
#include <cstddef>
#include <map>
#include <unordered_map>
#include <vector>

#include "polygon/core/Geometry.h"

namespace ostrand {

// Rural nesting: for each outer ring (in order), the holes it takes, ascending. A hole goes to the first
// outer whose ring gives its point Ring::locate_point >= 0; a null point is nobody's hole.
std::vector<std::vector<std::size_t>> nest_holes(const std::vector<const Ring*>& outers,
                                                 const std::vector<const Point*>& hole_points);

// Catchment bridging: the first stored link, in key order, of more than two points whose first point lies
// within `ends` of a and last point within `ends` of b (its points as they stand), or whose last point
// lies within `ends` of a and first point within `ends` of b (its points reversed). Empty when there is
// none. The links are found through their end points; the map must outlive the search.
class BridgeSearch {
public:
    BridgeSearch(const std::map<LinkRef, Ring>& links, double ends);
    std::vector<Point> find(const Point& a, const Point& b) const;

private:
    const std::map<LinkRef, Ring>& links_;
    double ends_;
    std::vector<const Ring*> ordered_;                            // links of more than two points, key order
    std::unordered_map<unsigned long long, std::vector<std::size_t>> cells_;  // end cell -> indices in ordered_
};

}  // namespace ostrand
