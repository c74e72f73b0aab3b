#pragma once
// The side of a line a point lies on, decided exactly. The validity check of written polygons must find
// every touch and crossing a reader of the file finds, including those of a few 1e-11 degrees between
// nearly parallel segments, where the rounded determinant can have either sign.
#include "polygon/core/Geometry.h"

namespace ostrand {

// +1 when c lies left of the line from a to b (a, b, c counter-clockwise with y pointing up), -1 when it
// lies right, 0 when the three points are collinear; exact wherever the products of coordinate
// differences neither overflow nor underflow (any coordinates of degrees).
int exact_orientation(const Point& a, const Point& b, const Point& c);

}  // namespace ostrand
