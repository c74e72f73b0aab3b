#include "polygon/core/CleanerRing.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_map>
#include <utility>

#include "polygon/core/CleanerSegmentIndex.h"

namespace ostrand {

namespace {

double distance(const Point& a, const Point& b) {
    const double dy = a.y - b.y, dx = a.x - b.x;
    return std::sqrt(dy * dy + dx * dx);
}

// c lies within the tolerance of ab's box, widened by the tolerance.
bool near_box(const Point& c, const Point& a, const Point& b, double tolerance) {
    return std::min(a.x, b.x) - tolerance <= c.x && c.x <= std::max(a.x, b.x) + tolerance &&
           std::min(a.y, b.y) - tolerance <= c.y && c.y <= std::max(a.y, b.y) + tolerance;
}

// c lies on ab: strictly inside it in x or in y, and within the tolerance of its line and of its box.
// Being inside in y alone lets a point far beyond the end of a nearly level segment through (and in x
// alone beyond a nearly upright one); inserted there, it folds the ring back over itself.
bool lies_on(const Point& c, const Point& a, const Point& b, double tolerance) {
    return (is_between(c.x, a.x, b.x) || is_between(c.y, a.y, b.y)) && near_box(c, a, b, tolerance) &&
           point_line_distance(c, a, b) <= tolerance;
}

bool strictly_inside(const Point& e, const Point& a, const Point& b) {
    return is_between(e.x, a.x, b.x) || is_between(e.y, a.y, b.y);
}

}  // namespace

CleanerRing::CleanerRing(const Ring& ring) : Ring(ring.points), area(ring_area(points)) {}

CleanerRing::CleanerRing(const std::vector<Point>& pts) : Ring(pts), area(ring_area(points)) {}

CleanerRing::CleanerRing(std::vector<Point>&& pts) : Ring(std::move(pts)), area(ring_area(points)) {}

CleanerRing::CleanerRing(const CleanerRing& other) : Ring(other), area(other.area) {}

BBox CleanerRing::bbox() const { return box; }

void CleanerRing::split(std::vector<CleanerRing>& out, double tolerance) {
    if (points.size() < 3) return;
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (!points.empty() && points.back() == points.front()) points.pop_back();
    node_intersections(tolerance);
    split_self_intersections(out);
}

void CleanerRing::node_intersections(double tolerance) {
    const int n = static_cast<int>(points.size());
    InsertionMap map;
    if (n >= 2) {
        const CleanerSegmentIndex index(points);
        std::vector<int> found;
        for (int i = 0; i + 1 < n; ++i) {
            const Point& a = points[i];
            const Point& b = points[i + 1];
            const Point& q = points[(i + 2) % n];
            // The two segments at b turn back on each other and may overlap.
            if (!is_between(b.x, a.x, q.x) && !is_between(b.y, a.y, q.y))
                intersection_with_tolerance(i, i + 1, a, b, b, q, map, map, tolerance);
            found.clear();
            index.overlaps(segment_box(a, b), i + 2, found);
            for (int j : found)
                intersection_with_tolerance(i, j, a, b, points[j], points[(j + 1) % n], map, map, tolerance);
        }
    }
    insert_points(map);
}

void CleanerRing::insert_points(InsertionMap& map) {
    if (map.empty()) return;
    std::vector<Point> rebuilt;
    std::size_t extra = 0;
    for (const auto& entry : map) extra += entry.second.size();
    rebuilt.reserve(points.size() + extra);
    for (std::size_t k = 0; k < points.size(); ++k) {
        const Point pivot = points[k];
        rebuilt.push_back(pivot);
        auto it = map.find(static_cast<int>(k));
        if (it == map.end()) continue;
        std::vector<Point>& list = it->second;
        std::stable_sort(list.begin(), list.end(),
                         [&pivot](const Point& a, const Point& b) { return nearer_to_pivot(pivot, a, b); });
        rebuilt.insert(rebuilt.end(), list.begin(), list.end());
    }
    points = std::move(rebuilt);
}

void insert_by_area(std::vector<CleanerRing>& rings, CleanerRing ring) {
    auto pos = std::find_if(rings.begin(), rings.end(), [&ring](const CleanerRing& r) { return r.area < ring.area; });
    rings.insert(pos, std::move(ring));
}

void intersection_with_tolerance(int i, int j, const Point& a, const Point& b, const Point& c, const Point& d,
                                 InsertionMap& map_p, InsertionMap& map_q, double tolerance) {
    if (is_parallel_tol(a, b, c, d, tolerance)) {
        if (lies_on(c, a, b, tolerance)) map_p[i].push_back(c);
        if (lies_on(a, c, d, tolerance)) map_q[j].push_back(a);
        return;
    }
    if (a == c || a == d || b == c || b == d) return;
    if (lies_on(c, a, b, tolerance)) {
        map_p[i].push_back(c);
        return;
    }
    if (lies_on(a, c, d, tolerance)) {
        map_q[j].push_back(a);
        return;
    }
    // End points near the other line are start points of the next segment, which handles them.
    if (point_line_distance(d, a, b) <= tolerance || point_line_distance(b, c, d) <= tolerance) return;
    const Point e = line_intersection_tol(a, b, c, d, tolerance);
    if (strictly_inside(e, a, b) && strictly_inside(e, c, d)) {
        map_p[i].push_back(e);
        map_q[j].push_back(e);
    }
}

std::size_t ExactPointHash::operator()(const Point& p) const {
    const std::size_t hx = std::hash<double>()(p.x + 0.0);
    const std::size_t hy = std::hash<double>()(p.y + 0.0);
    return hx ^ (hy + 0x9e3779b97f4a7c15ULL + (hx << 6) + (hx >> 2));
}

bool nearer_to_pivot(const Point& pivot, const Point& a, const Point& b) {
    return distance(pivot, a) < distance(pivot, b);
}

}  // namespace ostrand
