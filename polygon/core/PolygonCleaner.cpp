#include "polygon/core/PolygonCleaner.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "polygon/core/CleanerPairs.h"
#include "polygon/core/CleanerPointLocator.h"
#include "polygon/core/CleanerSegmentIndex.h"
#include "polygon/core/CleanerVertexSearch.h"

namespace ostrand {

namespace {

// Rings longer than this are worth an index when they are searched again and again.
constexpr std::size_t kLongRing = 64;

Point midpoint(const Point& a, const Point& b) { return Point{(a.x + b.x) * kHalf, (a.y + b.y) * kHalf}; }

void reverse_ring(CleanerRing& ring) { std::reverse(ring.points.begin(), ring.points.end()); }

void stable_sort_by_area(std::vector<CleanerRing>& rings) {
    std::stable_sort(rings.begin(), rings.end(),
                     [](const CleanerRing& l, const CleanerRing& r) { return l.area > r.area; });
}

// Cuts a ring at the given ascending vertex indices: piece i runs from cut i to cut i+1 inclusive, the
// last piece from the last cut round the end of the ring to the first cut.
std::vector<std::vector<Point>> cut_at(const std::vector<Point>& pts, const std::vector<int>& cuts) {
    std::vector<std::vector<Point>> pieces;
    const std::size_t k = cuts.size();
    for (std::size_t i = 0; i + 1 < k; ++i)
        pieces.emplace_back(pts.begin() + cuts[i], pts.begin() + cuts[i + 1] + 1);
    if (k > 0) {
        std::vector<Point> last(pts.begin() + cuts[k - 1], pts.end());
        last.insert(last.end(), pts.begin(), pts.begin() + cuts[0] + 1);
        pieces.push_back(std::move(last));
    }
    return pieces;
}

// Appends the first piece that starts where the chain ends (without its first point) and removes it.
bool append_next_piece(std::vector<Point>& chain, std::vector<std::vector<Point>>& pieces) {
    for (auto it = pieces.begin(); it != pieces.end(); ++it) {
        if (!(it->front() == chain.back())) continue;
        chain.insert(chain.end(), it->begin() + 1, it->end());
        pieces.erase(it);
        return true;
    }
    return false;
}

bool crossing_vertex(const Ring& a, int m, CleanerPointLocator& in_b) {
    const int n = static_cast<int>(a.points.size());
    const Point& prev = a.points[(m + n - 1) % n];
    const Point& cur = a.points[m];
    const Point& next = a.points[(m + 1) % n];
    const int before = in_b.locate(midpoint(prev, cur));
    const int after = in_b.locate(midpoint(cur, next));
    if ((before == 1 && after == -1) || (before == -1 && after == 1)) return true;
    return (before == 0) != (after == 0);
}

bool within(const Ring& a, const Ring& b, CleanerPointLocator& in_b) {
    if (!boxes_overlap(a.bbox(), b.bbox())) return false;
    const std::size_t n = a.points.size();
    for (std::size_t i = 0; i < n; ++i)
        if (in_b.locate(midpoint(a.points[i], a.points[(i + 1) % n])) < 0) return false;
    return true;
}

}  // namespace

PolygonCleaner::PolygonCleaner(const AreaPolygon& polygon) {
    rings.reserve(polygon.rings.size());
    for (const Ring& r : polygon.rings) rings.emplace_back(r);
}

bool PolygonCleaner::clean(const double& tolerance) {
    const bool ok = normalise(tolerance);
    if (ok) orient_rings();
    for (CleanerRing& r : rings)
        if (!r.points.empty()) r.points.push_back(r.points.front());
    return ok;
}

void PolygonCleaner::store(AreaPolygon& polygon) const {
    polygon.rings.resize(rings.size());
    for (std::size_t k = 0; k < rings.size(); ++k) {
        Ring& ring = polygon.rings[k];
        ring.points.assign(rings[k].points.begin(), rings[k].points.end());
        ring.recompute_bbox();
    }
}

bool PolygonCleaner::normalise(double tolerance) {
    if (rings.empty()) return false;
    std::vector<CleanerRing> split_rings;
    for (CleanerRing& r : rings) r.split(split_rings, tolerance);
    rings = std::move(split_rings);
    for (CleanerRing& r : rings)
        if (!r.is_clockwise()) reverse_ring(r);
    node_all(tolerance);
    pass_count_ = 0;
    pass_limit_ = 20;
    return resolve_intersections(tolerance);
}

void PolygonCleaner::node_all(double tolerance) {
    const std::size_t n = rings.size();
    RingsAfter after(rings);  // the boxes stay as they are while points are inserted
    for (std::size_t ia = 0; ia < n; ++ia) {
        InsertionMap map_a;
        std::unique_ptr<CleanerSegmentIndex> index_a;  // a's points stay as they are until all b are done
        for (std::size_t ib : after.rings_after(ia)) {
            const CleanerRing& a = rings[ia];
            CleanerRing& b = rings[ib];
            if (!boxes_overlap(a.bbox(), b.bbox())) continue;
            if (!index_a) index_a = std::make_unique<CleanerSegmentIndex>(a.points);
            const std::vector<Point>& pa = a.points;
            const std::vector<Point>& pb = b.points;
            const int na = static_cast<int>(pa.size());
            const int nb = static_cast<int>(pb.size());
            InsertionMap map_b;
            for (const auto& [sa, sb] : overlapping_segment_pairs(pa, *index_a, pb))
                intersection_with_tolerance(sa, sb, pa[sa], pa[(sa + 1) % na], pb[sb], pb[(sb + 1) % nb], map_a,
                                            map_b, tolerance);
            b.insert_points(map_b);
        }
        rings[ia].insert_points(map_a);
    }
}

bool PolygonCleaner::resolve_intersections(double tolerance) {
    // Each merge starts the search again from the first pair, as a new pass.
    for (;;) {
        if (++pass_count_ > pass_limit_) return false;
        bool merged = false;
        RingsAfter after(rings);
        for (std::size_t ia = 0; ia < rings.size() && !merged; ++ia) {
            // A long ring is asked about every ring after it: its vertices are found through an index.
            std::unique_ptr<CleanerSegmentIndex> a_segments;
            for (std::size_t ib : after.rings_after(ia)) {
                std::vector<int> idx_a, idx_b;
                if (!a_segments && rings[ia].points.size() > kLongRing && boxes_overlap(rings[ia].bbox(), rings[ib].bbox()))
                    a_segments = std::make_unique<CleanerSegmentIndex>(rings[ia].points);
                if (!enum_intersections(rings[ia], a_segments.get(), rings[ib], idx_a, idx_b)) continue;
                const CleanerRing a(rings[ia]);
                const CleanerRing b(rings[ib]);
                rings.erase(rings.begin() + static_cast<long>(ib));
                rings.erase(rings.begin() + static_cast<long>(ia));
                transform_intersected_polygons(a, b, idx_a, idx_b, tolerance, true);
                merged = true;
                break;
            }
        }
        if (!merged) return !rings.empty();
    }
}

void PolygonCleaner::transform_intersected_polygons(const CleanerRing& a, const CleanerRing& b,
                                                    const std::vector<int>& idx_a, const std::vector<int>& idx_b,
                                                    double tolerance, bool first_try) {
    std::vector<std::vector<Point>> pieces_a = cut_at(a.points, idx_a);
    std::vector<std::vector<Point>> pieces_b = cut_at(b.points, idx_b);

    // Stitch the pieces into closed rings, changing from one ring to the other at every crossing vertex.
    std::vector<std::vector<Point>> completed;
    while (!pieces_a.empty()) {
        std::vector<Point> chain = std::move(pieces_a.back());
        pieces_a.pop_back();
        for (;;) {
            bool found = false;
            if (append_next_piece(chain, pieces_b)) {
                found = true;
                if (chain.back() == chain.front()) break;
            }
            if (append_next_piece(chain, pieces_a)) {
                found = true;
                if (chain.back() == chain.front()) break;
            }
            if (!found) throw std::string("Error : PolygonCleaner::transform_intersected_polygons()");
        }
        completed.push_back(std::move(chain));
    }

    std::vector<CleanerRing> clockwise, counter_clockwise;
    for (std::vector<Point>& pts : completed) {
        pts.pop_back();
        if (pts.size() < 3 || ring_area(pts) < tolerance) continue;
        CleanerRing r(std::move(pts));
        if (r.is_clockwise())
            clockwise.push_back(std::move(r));
        else
            counter_clockwise.push_back(std::move(r));
    }
    if (clockwise.empty()) return;

    if (!first_try) {
        for (CleanerRing& r : clockwise) insert_by_area(rings, std::move(r));
        return;
    }

    stable_sort_by_area(clockwise);
    const CleanerRing& outline = clockwise[0];
    CleanerPointLocator in_outline(outline);
    double inside = 0.0;
    for (std::size_t i = 1; i < clockwise.size(); ++i)
        if (within(clockwise[i], outline, in_outline)) inside += clockwise[i].area;
    if (b.area * kHalf >= inside) {
        // The union's outline with the holes it encloses replaces a and b; what lies inside is dropped.
        std::vector<CleanerRing> keep;
        keep.push_back(outline);
        for (std::size_t i = 1; i < clockwise.size(); ++i)
            if (!within(clockwise[i], outline, in_outline)) keep.push_back(clockwise[i]);
        for (const CleanerRing& r : counter_clockwise)
            if (within(r, outline, in_outline)) keep.push_back(r);
        for (CleanerRing& r : keep) insert_by_area(rings, std::move(r));
        return;
    }
    // Most of b lies inside a: b is cut out of a instead.
    CleanerRing reversed(b);
    reverse_ring(reversed);
    std::vector<int> idx_a2, idx_b2;
    enum_intersections(a, reversed, idx_a2, idx_b2);
    transform_intersected_polygons(a, reversed, idx_a2, idx_b2, tolerance, false);
}

void PolygonCleaner::orient_rings() {
    const std::size_t n = rings.size();
    if (n < 2) return;
    stable_sort_by_area(rings);
    if (!rings[0].is_clockwise()) reverse_ring(rings[0]);
    CleanerPointLocator in_outer(rings[0]);
    for (std::size_t i = 1; i < n; ++i) {
        const bool hole = within(rings[i], rings[0], in_outer);
        if (rings[i].is_clockwise() == hole) reverse_ring(rings[i]);
    }
    // Each further level of nesting flips the orientation once more.
    RingsAfter after(rings);
    for (std::size_t j = 1; j + 1 < n; ++j) {
        CleanerPointLocator in_j(rings[j]);
        for (std::size_t k : after.rings_after(j))
            if (within(rings[k], rings[j], in_j)) reverse_ring(rings[k]);
    }
}

bool enum_intersections(const Ring& a, const Ring& b, std::vector<int>& idx_a, std::vector<int>& idx_b) {
    return enum_intersections(a, nullptr, b, idx_a, idx_b);
}

bool enum_intersections(const Ring& a, const CleanerSegmentIndex* a_segments, const Ring& b, std::vector<int>& idx_a,
                        std::vector<int>& idx_b) {
    if (!boxes_overlap(a.bbox(), b.bbox())) return false;
    // Only a vertex within the box of b's points can equal one of them. Vertex k starts segment k, so
    // the segments overlapping that box lead to every such vertex.
    const BBox b_points = points_bbox(b.points);
    std::vector<int> in_box;
    if (a_segments) {
        a_segments->overlaps(b_points, 0, in_box);
        in_box.erase(std::remove_if(in_box.begin(), in_box.end(),
                                    [&](int m) { return !b_points.contains(a.points[static_cast<std::size_t>(m)]); }),
                     in_box.end());
    } else {
        for (std::size_t m = 0; m < a.points.size(); ++m)
            if (b_points.contains(a.points[m])) in_box.push_back(static_cast<int>(m));
    }
    std::vector<int> equal;
    first_equal_vertices(a.points, in_box, b.points, equal);
    CleanerPointLocator in_b(b);
    for (std::size_t i = 0; i < in_box.size(); ++i) {
        if (equal[i] < 0 || !crossing_vertex(a, in_box[i], in_b)) continue;
        idx_a.push_back(in_box[i]);
        idx_b.push_back(equal[i]);
    }
    if (idx_a.empty()) return false;
    if (idx_a.size() == 1) throw std::string("Error : enum_intersections()");
    std::sort(idx_b.begin(), idx_b.end());
    return true;
}

bool is_crossing_vertex(const Ring& a, int m, const Ring& b) {
    CleanerPointLocator in_b(b);
    return crossing_vertex(a, m, in_b);
}

bool ring_within(const Ring& a, const Ring& b) {
    CleanerPointLocator in_b(b);
    return within(a, b, in_b);
}

}  // namespace ostrand
