#include "polygon/core/CleanerPointLocator.h"

#include <algorithm>
#include <vector>

namespace ostrand {

int CleanerPointLocator::locate(const Point& p) {
    if (ring_.points.size() <= kSmallRing || ++queries_ <= kDirectQueries) return ring_.locate_point(p);
    if (!built_) build_slabs();
    return locate_indexed(p);
}

// A value's slab is a monotone function of it, so an edge is filed under every slab its x range meets
// and a point's slab holds every edge whose x range holds the point's x.
int CleanerPointLocator::slab_of(double x) const {
    if (!(x_max_ > x_min_)) return 0;
    const double f = (x - x_min_) / (x_max_ - x_min_) * slabs_;
    if (!(f > 0)) return 0;
    return f >= slabs_ ? slabs_ - 1 : static_cast<int>(f);
}

void CleanerPointLocator::build_slabs() {
    built_ = true;
    const std::vector<Point>& v = ring_.points;
    const std::size_t n = v.size();
    const BBox box = points_bbox(v);
    x_min_ = box.xmin;
    x_max_ = box.xmax;
    slabs_ = static_cast<int>(n / 2 > 1 ? (n / 2 < (1u << 24) ? n / 2 : (1u << 24)) : 1);
    std::vector<int> lo(n), hi(n);
    std::vector<std::size_t> count(static_cast<std::size_t>(slabs_) + 1, 0);
    for (std::size_t k = 0; k < n; ++k) {
        const Point& a = v[k];
        const Point& b = v[(k + 1) % n];
        lo[k] = slab_of(a.x < b.x ? a.x : b.x);
        hi[k] = slab_of(a.x < b.x ? b.x : a.x);
        if (hi[k] - lo[k] >= kWideEdge) {
            wide_edges_.push_back(k);
            continue;
        }
        for (int s = lo[k]; s <= hi[k]; ++s) ++count[static_cast<std::size_t>(s) + 1];
    }
    for (std::size_t s = 1; s < count.size(); ++s) count[s] += count[s - 1];
    first_ = count;
    slab_edges_.resize(count.back());
    for (std::size_t k = 0; k < n; ++k) {
        if (hi[k] - lo[k] >= kWideEdge) continue;
        for (int s = lo[k]; s <= hi[k]; ++s) slab_edges_[count[static_cast<std::size_t>(s)]++] = k;
    }
}

void CleanerPointLocator::edges_at(double x, std::vector<std::size_t>& out) const {
    const std::vector<Point>& v = ring_.points;
    const std::size_t n = v.size();
    auto holds = [&](std::size_t k) {
        const Point& a = v[k];
        const Point& b = v[(k + 1) % n];
        return (a.x < b.x ? a.x : b.x) <= x && x <= (a.x < b.x ? b.x : a.x);
    };
    for (std::size_t k : wide_edges_)
        if (holds(k)) out.push_back(k);
    const std::size_t s = static_cast<std::size_t>(slab_of(x));
    for (std::size_t i = first_[s]; i < first_[s + 1]; ++i)
        if (holds(slab_edges_[i])) out.push_back(slab_edges_[i]);
    std::sort(out.begin(), out.end());
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
    edges_at(p.x, edges);

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
