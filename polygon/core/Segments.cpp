#include <cmath>

#include "polygon/core/Geometry.h"

namespace ostrand {

namespace {

bool vertical(const Point& a, const Point& b, double t) { return std::fabs(a.x - b.x) <= t; }

// y of the line through a and b at x, in the one form every caller uses.
double line_y_at(const Point& a, const Point& b, double x) {
    return (b.x * a.y - a.x * b.y) / (b.x - a.x) + x * (b.y - a.y) / (b.x - a.x);
}

}  // namespace

bool is_parallel_tol(const Point& a, const Point& b, const Point& c, const Point& d, double t) {
    if (vertical(a, b, t)) return vertical(c, d, t);
    if (vertical(c, d, t)) return false;
    const double m1 = (b.y - a.y) / (b.x - a.x);
    const double m2 = (d.y - c.y) / (d.x - c.x);
    return std::fabs(m1 - m2) <= t;
}

bool is_parallel(const Point& a, const Point& b, const Point& c, const Point& d) {
    return is_parallel_tol(a, b, c, d, kPointTolerance);
}

Point line_intersection_tol(const Point& a, const Point& b, const Point& c, const Point& d, double t) {
    Point r;
    if (vertical(a, b, t)) {
        r.x = a.x;
        r.y = line_y_at(c, d, r.x);
    } else if (vertical(c, d, t)) {
        r.x = c.x;
        r.y = line_y_at(a, b, r.x);
    } else {
        const double m1 = (b.y - a.y) / (b.x - a.x);
        const double m2 = (d.y - c.y) / (d.x - c.x);
        const double b1 = (b.x * a.y - a.x * b.y) / (b.x - a.x);
        const double b2 = (d.x * c.y - c.x * d.y) / (d.x - c.x);
        r.x = (b2 - b1) / (m1 - m2);
        r.y = (b2 * m1 - b1 * m2) / (m1 - m2);
    }
    return r;
}

Point line_intersection(const Point& a, const Point& b, const Point& c, const Point& d) {
    return line_intersection_tol(a, b, c, d, kPointTolerance);
}

bool segments_intersect(const Point& a, const Point& b, const Point& c, const Point& d, Point& out) {
    if (is_parallel(a, b, c, d)) return false;
    out = line_intersection(a, b, c, d);
    const bool inside_ab = (a.x < out.x && out.x < b.x) || (b.x < out.x && out.x < a.x) || is_between(out.y, a.y, b.y);
    const bool inside_cd = is_between(out.x, c.x, d.x) || is_between(out.y, c.y, d.y);
    return inside_ab && inside_cd;
}

double point_line_distance(const Point& p, const Point& a, const Point& b) {
    if (a.x == b.x) return std::fabs(p.x - a.x);
    if (a.y == b.y) return std::fabs(p.y - a.y);
    const double m = (b.y - a.y) / (b.x - a.x);
    const double q = (b.x * a.y - a.x * b.y) / (b.x - a.x);
    if (p.y == q + m * p.x) return 0.0;
    const double h = -1.0 / m;
    const double l = p.y - p.x * h;
    const double x0 = (l - q) / (m - h);
    const double y0 = (m * l - q * h) / (m - h);
    const double dx = p.x - x0, dy = p.y - y0;
    return std::sqrt(dy * dy + dx * dx);
}

}  // namespace ostrand
