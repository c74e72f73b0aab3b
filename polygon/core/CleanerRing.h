#pragma once
// The polygon cleaner's ring: a Ring that remembers its area and keeps the box it was made with.
#include <map>
#include <vector>

#include "polygon/core/Geometry.h"

namespace ostrand {

// Points to insert into segments while noding: segment k (from vertex k to vertex k+1, the last one
// wrapping to vertex 0) -> the points recorded for it, in the order they were found.
using InsertionMap = std::map<int, std::vector<Point>>;

class CleanerRing : public Ring {
public:
    CleanerRing() = default;
    // Each of these computes the box and (except the copy, which keeps the other's area) the area.
    explicit CleanerRing(const Ring& ring);
    explicit CleanerRing(const std::vector<Point>& pts);
    explicit CleanerRing(std::vector<Point>&& pts);
    CleanerRing(const CleanerRing& other);
    // Moves and assignments keep the box as it stands, so that the vector of rings shifting its
    // elements never changes a ring's box.
    CleanerRing(CleanerRing&& other) noexcept = default;
    CleanerRing& operator=(const CleanerRing& other) = default;
    CleanerRing& operator=(CleanerRing&& other) noexcept = default;

    // The box computed when the ring was made. Points inserted by noding lie within the tolerance of
    // the ring's segments, and the algorithm relies on the box not moving with them.
    BBox bbox() const override;

    // Adds the ring's simple parts to out (ordered by area, largest first).
    void split(std::vector<CleanerRing>& out, double tolerance);
    // Inserts the points where the ring touches or crosses itself within the tolerance.
    void node_intersections(double tolerance);
    // Cuts the ring at every repeated vertex into loops and adds them to out by area.
    void split_self_intersections(std::vector<CleanerRing>& out);
    // Merges the map's points into the ring, each vertex followed by its segment's points, nearest first.
    void insert_points(InsertionMap& map);

    double area = 0.0;  // ring_area of the points when the ring was made
};

// Inserts the ring before the first ring of smaller area (after the rings of equal area).
void insert_by_area(std::vector<CleanerRing>& rings, CleanerRing ring);

// Records the points at which segment ab (segment i of ring P) and segment cd (segment j of ring Q)
// meet within the tolerance: into map_p[i] the points to insert into ab, into map_q[j] those for cd.
// P and Q, and their maps, may be the same.
void intersection_with_tolerance(int i, int j, const Point& a, const Point& b, const Point& c, const Point& d,
                                 InsertionMap& map_p, InsertionMap& map_q, double tolerance);

// Hash of exact coordinates for looking up vertices by exact equality; -0.0 and 0.0 compare equal, so
// both hash as 0.0.
struct ExactPointHash {
    std::size_t operator()(const Point& p) const;
};

// True when a is nearer to the pivot than b.
bool nearer_to_pivot(const Point& pivot, const Point& a, const Point& b);

}  // namespace ostrand
