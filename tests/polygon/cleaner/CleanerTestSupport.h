#pragma once
// Polygons from hand-made coordinates, and what the cleaner made of them, for the cleaner tests.
#include <string>
#include <vector>

#include "polygon/core/Geometry.h"

namespace cleaner_test {

using ostrand::AreaPolygon;
using ostrand::Point;
using Points = std::vector<Point>;

// A polygon whose rings are closed as the ring builder closes them (first point repeated).
AreaPolygon closed_polygon(const std::vector<Points>& rings);

// "(x,y) (x,y) ..." of a point list, for messages and expectations.
std::string describe(const Points& pts);

// The ring closed as the cleaner leaves it: its first point repeated at the end.
Points closed(Points open);

}  // namespace cleaner_test
