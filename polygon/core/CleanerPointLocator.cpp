#include "polygon/core/CleanerPointLocator.h"

#include <cmath>
#include <vector>

namespace ostrand {

int CleanerPointLocator::locate(const Point& p) {
    if (ring_.points.size() <= kSmallRing || ++queries_ <= kDirectQueries) return ring_.locate_point(p);
    if (!index_) index_ = std::make_unique<CleanerSegmentIndex>(ring_.points);
    return locate_indexed(p);
}

// Ring::locate_point walks the vertices off p's vertical line in ring order and looks at each pair of
// consecutive ones (prev, j), with any run of vertices on the line between them. Each such pair is
// reached here from prev's outgoing edge, which holds p.x in its x range whenever the pair can count:
// either it spans p.x itself, or its far end starts a run on the line.
int CleanerPointLocator::locate_indexed(const Point& p) const {
    if (!ring_.bbox().contains(p)) return -1;
    const std::vector<Point>& v = ring_.points;
    const std::size_t n = v.size();
    std::vector<std::size_t> edges;
    const BBox stab{p.x, -HUGE_VAL, p.x, HUGE_VAL};
    index_->for_each_overlap(stab, 0, [&edges](int k) { edges.push_back(static_cast<std::size_t>(k)); });

    for (std::size_t k : edges) {
        const Point& a = v[k];
        const Point& b = v[(k + 1) % n];
        if (a == p) return 0;
        if (a.x == b.x && a.x == p.x && is_between(p.y, a.y, b.y)) return 0;
    }
    if (edges.size() == n) {
        bool all_on_line = true;
        for (const Point& q : v) all_on_line = all_on_line && q.x == p.x;
        if (all_on_line) return -1;
    }
    int crossings = 0;
    for (std::size_t k : edges) {
        const Point& prev = v[k];
        if (prev.x == p.x) continue;
        std::size_t j = (k + 1) % n;
        double y;
        if (v[j].x != p.x) {
            if (!is_between(p.x, prev.x, v[j].x)) continue;
            y = prev.y + (v[j].y - prev.y) * (p.x - prev.x) / (v[j].x - prev.x);
        } else {
            while (v[j].x == p.x) j = (j + 1) % n;  // ends at prev at the latest
            if (!is_between(p.x, prev.x, v[j].x)) continue;
            y = v[(k + 1) % n].y;
        }
        if (y > p.y)
            ++crossings;
        else if (y == p.y)
            return 0;
    }
    return (crossings % 2) == 1 ? 1 : -1;
}

}  // namespace ostrand
