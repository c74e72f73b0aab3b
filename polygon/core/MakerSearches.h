#pragma once
// The makers' searches that, made as the algorithms state them, take time growing with the square of
// the input: points against selected meshes, holes against designated areas, points against the points
// kept before them. Each finds candidates through an index and decides with the algorithm's own test, in
// its order, so the results are the same bit for bit. Their literal forms are the oracles of
// tests/polygon/oracle/, which run whole jobs both ways and compare the files.
// (KsPolygonMaker::apply_mesh_selection and drop_repeated_points are defined with them.)
#include <cstddef>
#include <vector>

#include "polygon/core/Geometry.h"

namespace ostrand {

// Rural nesting: for each outer ring (in order), the holes it takes, ascending. A hole goes to the first
// outer whose ring gives its point Ring::locate_point >= 0; a null point is nobody's hole.
std::vector<std::vector<std::size_t>> nest_holes(const std::vector<const Ring*>& outers,
                                                 const std::vector<const Point*>& hole_points);

}  // namespace ostrand
