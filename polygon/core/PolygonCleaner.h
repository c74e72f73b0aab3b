#pragma once
// Repairs the topology of one polygon before it is written: splits rings that touch or cross
// themselves, nodes the rings against each other within a tolerance, merges overlapping rings (or cuts
// a ring lying mostly inside another out of it) and orients the rings by nesting: outer rings
// clockwise, holes counter-clockwise. After noding, everything works on exact vertex equality.
#include <vector>

#include "polygon/core/CleanerRing.h"
#include "polygon/core/CleanerSegmentIndex.h"
#include "polygon/core/Geometry.h"

namespace ostrand {

class PolygonCleaner {
public:
    // One cleaner ring per ring of the polygon, in the polygon's order.
    explicit PolygonCleaner(const AreaPolygon& polygon);

    // True when the rings could be cleaned; every ring is closed afterwards either way. Throws a
    // std::string when two rings cross at a single vertex or a merge cannot close its rings.
    bool clean(const double& tolerance);
    // Replaces the polygon's rings by the cleaner's, in the cleaner's order. The points go into the
    // polygon's own vectors where they fit, so that cleaning on several threads (each allocating from an
    // arena of its own) does not leave every polygon held twice.
    void store(AreaPolygon& polygon) const;

    bool normalise(double tolerance);
    // Inserts the points where rings touch or cross each other into both rings.
    void node_all(double tolerance);
    // Merges crossing ring pairs until none is left; fails past the pass limit or with no ring left.
    bool resolve_intersections(double tolerance);
    // Replaces a and b (a the larger) by the rings stitched from their pieces between crossing vertices.
    void transform_intersected_polygons(const CleanerRing& a, const CleanerRing& b, const std::vector<int>& idx_a,
                                        const std::vector<int>& idx_b, double tolerance, bool first_try);
    void orient_rings();

    std::vector<CleanerRing> rings;

private:
    // Merges of one normalisation; each merge starts a new pass over all ring pairs.
    int pass_count_ = 0;
    int pass_limit_ = 20;
};

// The vertices of a that equal a vertex of b and where a crosses b's boundary: their indices in a and
// (sorted) in b. False when there is none; throws a std::string when there is exactly one.
bool enum_intersections(const Ring& a, const Ring& b, std::vector<int>& idx_a, std::vector<int>& idx_b);
// The same, with a's vertices found through an index of a's segments (null: every vertex looked at).
bool enum_intersections(const Ring& a, const CleanerSegmentIndex* a_segments, const Ring& b, std::vector<int>& idx_a,
                        std::vector<int>& idx_b);

// Vertex m of a is a crossing of b when its two edges' midpoints lie on either side of b, or exactly one
// of them on b's boundary.
bool is_crossing_vertex(const Ring& a, int m, const Ring& b);

// a lies in b: the midpoint of every edge of a is inside b or on its boundary.
bool ring_within(const Ring& a, const Ring& b);

}  // namespace ostrand
