#pragma once
// The makers' searches that, made as the algorithms state them, take time growing with the square of
// the input: points against selected meshes, holes against designated areas, points against the points
// kept before them, chain ends against chain ends, long catchment edges against every stored link. Each finds candidates through an index and decides with the algorithm's own test, in
// its order, so the results are the same bit for bit. Their literal forms are the oracles of
// tests/polygon/oracle/, which run whole jobs and random inputs full of ties both ways and compare.
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

// One pass of the stepped repair over its chains at one tolerance: chains are taken from the back, and a
// chain grows by the first remaining chain, in order, that starts or ends within the tolerance of its
// last point. Long chain lists find those through a grid of the chains' ends.
class ChainPass {
public:
    ChainPass(std::vector<std::vector<Point>> chains, double tolerance);
    // Takes the last remaining chain out; false when none is left.
    bool take_last(std::vector<Point>& cur);
    // Appends to cur the first remaining chain whose first point lies within the tolerance of cur's last
    // point (as it stands) or whose last point does (reversed), takes it out, and so on until none does.
    void grow(std::vector<Point>& cur);

private:
    std::size_t first_near(const Point& end);

    std::vector<std::vector<Point>> chains_;
    double tolerance_;
    std::vector<bool> taken_;
    std::size_t left_ = 0;  // chains_[0 .. left_) may still be there
    std::unordered_map<unsigned long long, std::vector<std::size_t>> cells_;  // end cell -> chain indices
};

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
