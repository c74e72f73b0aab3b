#pragma once
// Rings as GEOS takes them. Stitching rings at shared vertices can leave a ring that passes through one
// vertex twice (a pinch): drawn correctly, but "self-intersecting" to GEOS, whose overlay and buffer then
// fail on the file. Such a ring is cut at the repeated vertex into loops that pass through each vertex
// once; a loop keeps the direction it was walked in, so a clockwise loop is an outer ring and a
// counter-clockwise one a hole of the ring it lies in (a pocket pinched off an outer ring is walked
// counter-clockwise). A ring without a repeated vertex is kept as it is, point for point.
#include <vector>

#include "polygon/core/Geometry.h"

namespace ostrand {

// The rings of a polygon as they are written: each closed ring (last point equal to the first) either
// itself or, when it passes through a vertex more than once, its loops in place of it: first the loop
// that holds the ring's first point (starting there), then the loops cut off, in the order the walk
// closes them, each starting and ending at its repeated vertex. Loops of fewer than three points
// (a spike walked out and back) enclose nothing and are left out; a ring left with no loop of three
// points stays as it was.
std::vector<Ring> simple_rings(const std::vector<Ring>& rings);

}  // namespace ostrand
