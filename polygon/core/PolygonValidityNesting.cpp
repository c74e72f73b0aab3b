// Nesting and interior of rings that do not cross: each ring's parent is the smallest ring around it. A
// hole (counter-clockwise) must have an outer ring (clockwise) for parent; an outer ring inside another
// ring must lie in a hole. Only a record of one ring may turn either way. Within one
// polygon (an outer ring and the holes whose parent it is), rings that touch one another must not close
// a cycle of rings and touch points, or the interior falls apart.
#include <algorithm>
#include <map>
#include <numeric>
#include <set>
#include <unordered_map>

#include "polygon/core/BoxGrid.h"
#include "polygon/core/CleanerPointLocator.h"
#include "polygon/core/CleanerRing.h"
#include "polygon/core/PolygonValidityRings.h"

namespace ostrand {

namespace {

// Above this many segments, a ring's segments are found through an index.
constexpr std::size_t kLongRing = 256;

}  // namespace

ValidityRing::ValidityRing(const std::vector<Point>& closed) {
    for (const Point& p : closed)
        if (points.empty() || !(points.back() == p)) points.push_back(p);
    while (points.size() > 1 && points.back() == points.front()) points.pop_back();
    box = points_bbox(points);
    const std::size_t n = points.size();
    boxes.reserve(n);
    for (std::size_t k = 0; k < n; ++k) boxes.push_back(segment_box(points[k], points[(k + 1) % n]));
    if (n > kLongRing) index = std::make_unique<CleanerSegmentIndex>(points);
}

namespace {

// Up to this many rings, every ring is a candidate parent of every other.
constexpr std::size_t kFewRings = 32;

bool box_within(const BBox& inner, const BBox& outer) {
    return outer.xmin <= inner.xmin && inner.xmax <= outer.xmax && outer.ymin <= inner.ymin && inner.ymax <= outer.ymax;
}

class UnionFind {
public:
    std::size_t add() {
        parent_.push_back(parent_.size());
        return parent_.size() - 1;
    }
    std::size_t find(std::size_t x) {
        while (parent_[x] != x) x = parent_[x] = parent_[parent_[x]];
        return x;
    }
    // False when a and b were joined already.
    bool unite(std::size_t a, std::size_t b) {
        a = find(a);
        b = find(b);
        if (a == b) return false;
        parent_[a] = b;
        return true;
    }

private:
    std::vector<std::size_t> parent_;
};

}  // namespace

PolygonFault nesting_fault(const std::vector<ValidityRing>& rings, const std::vector<Touch>& touches) {
    const std::size_t n = rings.size();
    if (n < 2) return PolygonFault::none;
    std::map<std::pair<std::size_t, std::size_t>, std::vector<Point>> touched;
    for (const Touch& t : touches) touched[{t.a, t.b}].push_back(t.at);

    std::vector<Ring> shapes;
    std::vector<double> area(n);
    std::vector<bool> clockwise(n);
    shapes.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        shapes.emplace_back(rings[i].points);
        area[i] = ring_area(rings[i].points);
        clockwise[i] = ring_is_clockwise(rings[i].points);
    }
    std::vector<std::unique_ptr<CleanerPointLocator>> locators(n);
    std::unique_ptr<BoxGrid> grid;
    if (n > kFewRings) {
        std::vector<BBox> boxes;
        for (const ValidityRing& r : rings) boxes.push_back(r.box);
        grid = std::make_unique<BoxGrid>(std::move(boxes));
    }

    std::vector<long> parent(n, -1);
    std::vector<std::size_t> all(n);
    std::iota(all.begin(), all.end(), std::size_t{0});
    for (std::size_t j = 0; j < n; ++j) {
        for (std::size_t i : grid ? grid->overlapping(rings[j].box) : all) {
            if (i == j || area[i] <= area[j] || !box_within(rings[j].box, rings[i].box)) continue;
            if (parent[j] >= 0 && area[static_cast<std::size_t>(parent[j])] <= area[i]) continue;
            const std::vector<Point>& at = touched[{std::min(i, j), std::max(i, j)}];
            if (!locators[i]) locators[i] = std::make_unique<CleanerPointLocator>(shapes[i]);
            int side = 0;
            for (const Point& p : rings[j].points) {
                if (std::find(at.begin(), at.end(), p) != at.end()) continue;
                side = locators[i]->locate(p);
                if (side != 0) break;
            }
            if (side == 0) return PolygonFault::nesting;  // j lies on i's boundary throughout
            if (side > 0) parent[j] = static_cast<long>(i);
        }
    }

    std::vector<std::size_t> polygon_of(n);
    for (std::size_t j = 0; j < n; ++j) {
        const long p = parent[j];
        if (p >= 0) {
            const std::size_t up = static_cast<std::size_t>(p);
            if (!clockwise[j] && !clockwise[up]) return PolygonFault::nesting;                      // hole in a hole
            if (clockwise[j] && (clockwise[up] || parent[up] < 0)) return PolygonFault::nesting;  // outer in outer
        } else if (!clockwise[j]) {
            return PolygonFault::nesting;  // a hole in no outer ring; a lone ring (n == 1) may turn either way
        }
        polygon_of[j] = clockwise[j] ? j : static_cast<std::size_t>(p);
    }

    UnionFind joined;
    for (std::size_t j = 0; j < n; ++j) joined.add();
    std::unordered_map<Point, std::size_t, ExactPointHash> point_node;
    std::set<std::pair<std::size_t, std::size_t>> edges;  // (ring, point node)
    for (const Touch& t : touches) {
        if (polygon_of[t.a] != polygon_of[t.b]) continue;
        auto [it, added] = point_node.try_emplace(t.at, 0);
        if (added) it->second = joined.add();
        for (std::size_t ring : {t.a, t.b})
            if (edges.insert({ring, it->second}).second && !joined.unite(ring, it->second))
                return PolygonFault::disconnected;
    }
    return PolygonFault::none;
}

}  // namespace ostrand
