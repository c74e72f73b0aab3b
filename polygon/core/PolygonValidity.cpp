// The contacts of segments: every pair of segments whose boxes overlap, found through the segment index
// of a long ring, is decided exactly. Touches between different rings are kept for the nesting and the
// interior tests (PolygonValidityNesting.cpp).
#include "polygon/core/PolygonValidity.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "polygon/core/BoxGrid.h"
#include "polygon/core/ExactOrientation.h"
#include "polygon/core/PolygonValidityRings.h"
#include "polygon/core/TextUtil.h"

namespace ostrand {

namespace {

// Up to this many rings, every pair of rings is looked at.
constexpr std::size_t kFewRings = 32;

enum class Contact { none, touch, cross };

int sign(double v) { return v > 0.0 ? 1 : (v < 0.0 ? -1 : 0); }

// How segments p1p2 and q1q2 (each of two distinct points) meet: not at all, at one point (`at`, a vertex
// of one of them), or in a crossing or a shared piece.
Contact segment_contact(const Point& p1, const Point& p2, const Point& q1, const Point& q2, Point& at) {
    if (!boxes_overlap(segment_box(p1, p2), segment_box(q1, q2))) return Contact::none;
    const int o1 = exact_orientation(p1, p2, q1), o2 = exact_orientation(p1, p2, q2);
    if (o1 != 0 && o1 == o2) return Contact::none;
    const int o3 = exact_orientation(q1, q2, p1), o4 = exact_orientation(q1, q2, p2);
    if (o3 != 0 && o3 == o4) return Contact::none;
    if (o1 == 0 && o2 == 0) {
        // On one line: compare along an axis the line is not perpendicular to. Overlapping boxes leave at
        // least one common point.
        const bool by_x = p1.x != p2.x;
        const double a0 = by_x ? std::min(p1.x, p2.x) : std::min(p1.y, p2.y);
        const double a1 = by_x ? std::max(p1.x, p2.x) : std::max(p1.y, p2.y);
        const double b0 = by_x ? std::min(q1.x, q2.x) : std::min(q1.y, q2.y);
        const double b1 = by_x ? std::max(q1.x, q2.x) : std::max(q1.y, q2.y);
        const double lo = std::max(a0, b0), hi = std::min(a1, b1);
        if (lo < hi) return Contact::cross;
        at = (by_x ? p1.x : p1.y) == lo ? p1 : p2;
        return Contact::touch;
    }
    if (o1 != 0 && o2 != 0 && o3 != 0 && o4 != 0) return Contact::cross;
    // An end point on the other segment: the lines meet in one point, and that is it.
    at = o1 == 0 ? q1 : (o2 == 0 ? q2 : (o3 == 0 ? p1 : p2));
    return Contact::touch;
}

// Segments w-1 -> w and w -> w+1 that run back over each other (a spike).
bool folds_back(const Point& before, const Point& w, const Point& after) {
    if (exact_orientation(before, w, after) != 0) return false;
    if (before.x != w.x) return sign(before.x - w.x) == sign(after.x - w.x);
    return sign(before.y - w.y) == sign(after.y - w.y);
}

// The segments of ring r whose boxes overlap q, ascending: through the index of a long ring, by trying
// each of a short one.
void segments_near(const ValidityRing& r, const BBox& q, std::vector<int>& out) {
    out.clear();
    if (r.index) {
        r.index->overlaps(q, 0, out);
        return;
    }
    for (int j = 0; j < static_cast<int>(r.boxes.size()); ++j)
        if (boxes_overlap(r.boxes[j], q)) out.push_back(j);
}

// Segments k < j of one ring that meet, told for each pair whose boxes overlap until `meet` says so.
template <class Meet>
bool any_pair_of_segments(const ValidityRing& r, Meet&& meet) {
    const int n = static_cast<int>(r.boxes.size());
    std::vector<int> found;
    if (r.index) {
        for (int k = 0; k < n; ++k) {
            found.clear();
            r.index->overlaps(r.boxes[k], k + 1, found);
            for (int j : found)
                if (meet(k, j)) return true;
        }
        return false;
    }
    // A short ring: a sweep over the segments in order of their west ends.
    std::vector<int> order(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) order[static_cast<std::size_t>(k)] = k;
    std::sort(order.begin(), order.end(), [&](int a, int b) { return r.boxes[a].xmin < r.boxes[b].xmin; });
    for (std::size_t i = 0; i < order.size(); ++i) {
        const BBox& bi = r.boxes[order[i]];
        for (std::size_t p = i + 1; p < order.size() && r.boxes[order[p]].xmin <= bi.xmax; ++p) {
            const BBox& bp = r.boxes[order[p]];
            if (bp.ymin > bi.ymax || bi.ymin > bp.ymax) continue;
            if (meet(std::min(order[i], order[p]), std::max(order[i], order[p]))) return true;
        }
    }
    return false;
}

// A ring that touches or crosses itself anywhere but where consecutive segments meet.
bool crosses_itself(const ValidityRing& r) {
    const std::vector<Point>& v = r.points;
    const int n = static_cast<int>(v.size());
    for (int k = 0; k < n; ++k)
        if (folds_back(v[k], v[(k + 1) % n], v[(k + 2) % n])) return true;
    return any_pair_of_segments(r, [&](int k, int j) {
        if (j == k + 1 || (k == 0 && j == n - 1)) return false;  // consecutive: they meet at their common point
        Point at;
        return segment_contact(v[k], v[(k + 1) % n], v[j], v[(j + 1) % n], at) != Contact::none;
    });
}

// Records the touches of rings a and b; false when they cross or share a piece of boundary.
bool touches_only(const std::vector<ValidityRing>& rings, std::size_t a, std::size_t b, std::vector<Touch>& touches) {
    const ValidityRing& ra = rings[a];
    const ValidityRing& rb = rings[b];
    const int na = static_cast<int>(ra.points.size()), nb = static_cast<int>(rb.points.size());
    // Only segments within the other ring's box can meet it.
    std::vector<int> near_a;
    segments_near(ra, rb.box, near_a);
    if (near_a.empty()) return true;
    std::vector<int> found;
    for (int sb = 0; sb < nb; ++sb) {
        if (!boxes_overlap(rb.boxes[sb], ra.box)) continue;
        if (ra.index) {
            segments_near(ra, rb.boxes[sb], found);
        } else {
            found.clear();
            for (int sa : near_a)
                if (boxes_overlap(ra.boxes[sa], rb.boxes[sb])) found.push_back(sa);
        }
        for (int sa : found) {
            Point at;
            const Contact c = segment_contact(ra.points[sa], ra.points[(sa + 1) % na], rb.points[sb],
                                              rb.points[(sb + 1) % nb], at);
            if (c == Contact::cross) return false;
            if (c == Contact::touch) touches.push_back({a, b, at});
        }
    }
    return true;
}

}  // namespace

PolygonFault polygon_fault(const std::vector<Ring>& input) {
    std::vector<ValidityRing> rings;
    rings.reserve(input.size());
    for (const Ring& ring : input) {
        for (const Point& p : ring.points)
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) return PolygonFault::bad_coordinate;
        rings.emplace_back(ring.points);
        if (rings.back().points.size() < 3) return PolygonFault::too_few_points;
    }
    for (const ValidityRing& r : rings)
        if (crosses_itself(r)) return PolygonFault::crossing;

    std::vector<Touch> touches;
    std::unique_ptr<BoxGrid> grid;
    if (rings.size() > kFewRings) {
        std::vector<BBox> boxes;
        for (const ValidityRing& r : rings) boxes.push_back(r.box);
        grid = std::make_unique<BoxGrid>(std::move(boxes));
    }
    for (std::size_t a = 0; a < rings.size(); ++a) {
        std::vector<std::size_t> later;
        if (grid) {
            later = grid->overlapping_after(a);
        } else {
            for (std::size_t b = a + 1; b < rings.size(); ++b)
                if (boxes_overlap(rings[a].box, rings[b].box)) later.push_back(b);
        }
        for (std::size_t b : later)
            if (!touches_only(rings, a, b, touches)) return PolygonFault::crossing;
    }
    return nesting_fault(rings, touches);
}

const std::string& polygon_fault_text(PolygonFault fault) {
    switch (fault) {
        case PolygonFault::bad_coordinate: return sjis("ポリゴンの座標値が不正です。");
        case PolygonFault::too_few_points: return sjis("ポリゴンの境界線が3点未満です。");
        case PolygonFault::crossing: return sjis("ポリゴンの境界線が交差しています。");
        case PolygonFault::nesting: return sjis("ポリゴンの外周と内周の位置関係が正しくありません。");
        case PolygonFault::disconnected: return sjis("ポリゴンの内部が境界線で分断されています。");
        case PolygonFault::none: break;
    }
    return sjis("");
}

}  // namespace ostrand
