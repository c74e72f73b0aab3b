#pragma once
// The rings of a record as the writer writes them, without copying them when nothing needs cutting:
// nearly every ring written passes through each vertex once, and simple_rings would return a copy of it.
#include <vector>

#include "polygon/core/Geometry.h"

namespace ostrand {

// Points of a ring without its closing point (a last point equal to the first).
std::size_t open_size(const std::vector<Point>& points);

// True when the first n points hold one point twice (exactly, -0.0 equal to 0.0; NaN equal to nothing).
bool repeats_a_vertex(const std::vector<Point>& points, std::size_t n);

// `rings` itself when no ring passes through a vertex twice, else simple_rings(rings), kept in `loops`.
const std::vector<Ring>& written_rings(const std::vector<Ring>& rings, std::vector<Ring>& loops);

}  // namespace ostrand
