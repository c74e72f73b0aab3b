#pragma once
// The pieces of the validity check shared by its two files (PolygonValidity.cpp, PolygonValidityNesting.cpp).
#include <memory>
#include <vector>

#include "polygon/core/CleanerSegmentIndex.h"
#include "polygon/core/Geometry.h"
#include "polygon/core/PolygonValidity.h"

namespace ostrand {

// One ring as the check sees it: its points without repeats of the point before and without the closing
// point, their box, the boxes of its segments (segment k from point k to point k + 1, the last one back to
// point 0) and, for a long ring, an index of them.
struct ValidityRing {
    explicit ValidityRing(const std::vector<Point>& closed);

    std::vector<Point> points;
    BBox box;
    std::vector<BBox> boxes;
    std::unique_ptr<CleanerSegmentIndex> index;  // null for a ring of few segments
};

// Rings a < b meet at `at` (a vertex of one of them) without crossing there.
struct Touch {
    std::size_t a;
    std::size_t b;
    Point at;
};

// The nesting and interior faults of rings that neither cross themselves nor one another.
PolygonFault nesting_fault(const std::vector<ValidityRing>& rings, const std::vector<Touch>& touches);

}  // namespace ostrand
