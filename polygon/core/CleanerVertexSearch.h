#pragma once
// The cleaner's searches for exactly equal vertices. Done as the algorithm states them, each would walk
// a whole ring for every vertex; these look vertices up by their exact coordinates and give the same
// answers. (Their literal forms are the oracles of tests/polygon/oracle/.)
#include <cstddef>
#include <vector>

#include "polygon/core/Geometry.h"

namespace ostrand {

// The first loop of a ring: the first index p with a later index q >= p + 2 holding the same point,
// and the first such q. False when the ring has no loop.
bool find_first_loop(const std::vector<Point>& pts, std::size_t& p, std::size_t& q);

// For each index m of `which`, the first index of b whose point equals a[m] exactly, or -1; appended to out.
void first_equal_vertices(const std::vector<Point>& a, const std::vector<int>& which, const std::vector<Point>& b,
                          std::vector<int>& out);

}  // namespace ostrand
