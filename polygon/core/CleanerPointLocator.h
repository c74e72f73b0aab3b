#pragma once
// Answers Ring::locate_point for many points of one ring without walking the whole ring each time. The
// answer only depends on the edges whose x range holds the point's x (the vertical ray's crossings, the
// vertices and vertical edges on its line), so those are found through vertical slabs of the ring and
// the crossing rule is applied to them alone. The first few points go to Ring::locate_point directly: the
// index only pays off when a ring is asked often.
#include <cstddef>
#include <vector>

#include "polygon/core/Geometry.h"

namespace ostrand {

class CleanerPointLocator {
public:
    explicit CleanerPointLocator(const Ring& ring) : ring_(ring) {}

    // Exactly ring.locate_point(p): 1 inside, 0 on the boundary, -1 outside.
    int locate(const Point& p);

private:
    void build_slabs();
    // The edges whose x range holds x, ascending.
    void edges_at(double x, std::vector<std::size_t>& out) const;
    int locate_indexed(const Point& p) const;
    int slab_of(double x) const;

    static constexpr int kDirectQueries = 8;
    static constexpr std::size_t kSmallRing = 64;
    // An edge across more slabs than this is looked at for every point instead.
    static constexpr int kWideEdge = 32;

    const Ring& ring_;
    int queries_ = 0;
    bool built_ = false;
    // Vertical slabs of equal width over the ring's x range; slab s holds the edges first_[s] .. first_[s+1]
    // of slab_edges_.
    double x_min_ = 0.0, x_max_ = 0.0;
    int slabs_ = 1;
    std::vector<std::size_t> first_;
    std::vector<std::size_t> slab_edges_;
    std::vector<std::size_t> wide_edges_;
};

}  // namespace ostrand
