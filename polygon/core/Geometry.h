#pragma once
// Planar geometry of the polygon makers: coordinates in decimal degrees (x longitude, y latitude).
// Results depend on exact floating-point equality, so every formula keeps the order of its operations
// (the library is built with -ffp-contract=off and without fast-math).
#include <cstddef>
#include <vector>

#include "polygon/core/LinkRef.h"

namespace ostrand {

// Points closer than this are the same point; also the threshold of the fixed-tolerance segment tests.
inline constexpr double kPointTolerance = 1e-7;
// One unit in the last place below 1e-14: a ring whose area is below it cannot become a polygon.
inline constexpr double kZeroAreaBound = 9.999999999999998e-15;
// File coordinates are in 0.1 arc-second (1/36000 degree), rounded to double.
inline constexpr double kCoordinateFactor = 2.777777777777778e-05;
inline constexpr double kHalf = 0.5;

struct Point {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

struct BBox {
    double xmin = 0.0;
    double ymin = 0.0;
    double xmax = 0.0;
    double ymax = 0.0;
    // Inclusive on all four sides.
    bool contains(const Point& p) const {
        return xmin <= p.x && p.x <= xmax && ymin <= p.y && p.y <= ymax;
    }
};

// All zero for an empty vector.
BBox points_bbox(const std::vector<Point>& points);

// Unsigned area; 0 for fewer than 3 points. Includes the wrap-around edge, so a closed copy of a ring
// (first point repeated) has the area of the open one.
double ring_area(const std::vector<Point>& points);

// Clockwise with y pointing up, the orientation of outer rings in the output shapefiles. A last point
// equal to the first (a closed ring) is left out of the test, so open and closed copies agree.
bool ring_is_clockwise(const std::vector<Point>& points);

// A point sequence with a cached box. Open or closed as each producer states.
class Ring {
public:
    Ring() = default;
    Ring(const Ring& other);
    Ring(Ring&& other) noexcept;
    explicit Ring(const std::vector<Point>& pts);
    explicit Ring(std::vector<Point>&& pts);
    Ring& operator=(const Ring& other) = default;
    Ring& operator=(Ring&& other) noexcept = default;
    virtual ~Ring() = default;

    // The cached box, recomputed first when it is stale.
    virtual BBox bbox() const;

    void add_point(const Point& p) {
        points.push_back(p);
        box_valid = false;
    }
    void recompute_bbox() {
        box = points_bbox(points);
        box_valid = true;
    }
    bool is_clockwise() const { return ring_is_clockwise(points); }
    // 1 inside, 0 on the boundary, -1 outside. The ring must hold at least one point.
    int locate_point(const Point& p) const;

    std::vector<Point> points;
    mutable BBox box;
    mutable bool box_valid = false;
};

// Union of the point boxes of the rings (each by points_bbox); all zero for an empty vector.
BBox rings_bbox(const std::vector<Ring>& rings);

// The rings of one output polygon.
class AreaPolygon {
public:
    AreaPolygon() = default;
    AreaPolygon(const AreaPolygon&) = default;
    AreaPolygon(AreaPolygon&&) noexcept = default;
    AreaPolygon& operator=(const AreaPolygon&) = default;
    AreaPolygon& operator=(AreaPolygon&&) noexcept = default;
    virtual ~AreaPolygon() = default;

    // Signed area: clockwise rings add, the others subtract.
    double area() const;

    std::vector<Ring> rings;
};

// sqrt(dy^2 + dx^2) <= tolerance.
bool points_within(const Point& a, const Point& b, double tolerance);

// True when a ring's box matches the reference box on all four sides within the tolerance.
struct SameBoxWithin {
    BBox reference;
    double tolerance = kPointTolerance;
    bool operator()(const Ring& ring) const;
};

// First point of [first, last) within the tolerance of p, or last.
template <class It>
It find_point_within(It first, It last, const Point& p, double tolerance) {
    for (; first != last; ++first)
        if (points_within(*first, p, tolerance)) return first;
    return last;
}

// Removes every point that lies within kPointTolerance of the last point kept; returns the new end.
template <class It>
It unique_within(It first, It last) {
    if (first == last) return last;
    It kept = first;
    while (++first != last)
        if (!points_within(*kept, *first, kPointTolerance) && ++kept != first) *kept = *first;
    return ++kept;
}
// Applies unique_within to the whole vector.
void unique_within(std::vector<Point>& points);

// Keeps each point only when no point kept before it lies within kPointTolerance (the exact test of
// find_point_within over the kept points, found through a grid so long rings stay fast).
void drop_repeated_points(std::vector<Point>& points);

// Strictly between a and b, in either order (false when a == b).
bool is_between(double v, double a, double b);

// Segment tests: ab is vertical when |a.x - b.x| <= t; the plain variants use t = kPointTolerance.
bool is_parallel(const Point& a, const Point& b, const Point& c, const Point& d);
bool is_parallel_tol(const Point& a, const Point& b, const Point& c, const Point& d, double t);
// Intersection of the infinite lines through ab and cd; callers test for parallel lines first.
Point line_intersection(const Point& a, const Point& b, const Point& c, const Point& d);
Point line_intersection_tol(const Point& a, const Point& b, const Point& c, const Point& d, double t);
// True when the segments cross strictly inside both; touching at an end point is no intersection.
// `out` receives the lines' intersection whenever they are not parallel.
bool segments_intersect(const Point& a, const Point& b, const Point& c, const Point& d, Point& out);
// Distance from p to the infinite line through a and b.
double point_line_distance(const Point& p, const Point& a, const Point& b);

}  // namespace ostrand
