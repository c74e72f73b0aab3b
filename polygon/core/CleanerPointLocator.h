#pragma once
// Answers Ring::locate_point for many points of one ring without walking the whole ring each time. The
// answer only depends on the edges whose x range holds the point's x (the vertical ray's crossings, the
// vertices and vertical edges on its line), so those are found through a segment index and the
// crossing rule is applied to them alone. The first few points go to Ring::locate_point directly: the
// index only pays off when a ring is asked often.
#include <memory>

#include "polygon/core/CleanerSegmentIndex.h"
#include "polygon/core/Geometry.h"

namespace ostrand {

class CleanerPointLocator {
public:
    explicit CleanerPointLocator(const Ring& ring) : ring_(ring) {}

    // Exactly ring.locate_point(p): 1 inside, 0 on the boundary, -1 outside.
    int locate(const Point& p);

private:
    int locate_indexed(const Point& p) const;

    static constexpr int kDirectQueries = 8;
    static constexpr std::size_t kSmallRing = 64;

    const Ring& ring_;
    int queries_ = 0;
    std::unique_ptr<CleanerSegmentIndex> index_;
};

}  // namespace ostrand
