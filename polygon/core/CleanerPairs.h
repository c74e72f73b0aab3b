#pragma once
// The pairs the polygon cleaner looks at, found without trying every pair: the rings after a ring whose
// boxes may overlap its box, and the segment pairs of two rings whose boxes overlap. Both give the pairs
// the plain double loops would test, in the same order, leaving out only pairs whose boxes do not
// overlap, which every caller's own test would reject first. (Their literal forms, every pair, are the
// oracles of tests/polygon/oracle/.)
#include <memory>
#include <utility>
#include <vector>

#include "polygon/core/BoxGrid.h"
#include "polygon/core/CleanerRing.h"
#include "polygon/core/CleanerSegmentIndex.h"

namespace ostrand {

// The rings after ring i that may overlap it, ascending: all of them when there are few, else those a
// grid of the boxes finds. The boxes are taken once, when it is made.
class RingsAfter {
public:
    explicit RingsAfter(const std::vector<CleanerRing>& rings);
    std::vector<std::size_t> rings_after(std::size_t i) const;

private:
    std::size_t n_;
    std::unique_ptr<BoxGrid> grid_;
};

// The pairs (segment of a, segment of b) whose segment boxes overlap, ordered by a's segment and then
// b's; index_a indexes a's points.
std::vector<std::pair<int, int>> overlapping_segment_pairs(const std::vector<Point>& a,
                                                          const CleanerSegmentIndex& index_a,
                                                          const std::vector<Point>& b);

}  // namespace ostrand
