// Literal forms of the cleaner's pairs: every later ring, every pair of segments.
#include "polygon/core/CleanerPairs.h"

namespace ostrand {

RingsAfter::RingsAfter(const std::vector<CleanerRing>& rings) : n_(rings.size()) {}

std::vector<std::size_t> RingsAfter::rings_after(std::size_t i) const {
    std::vector<std::size_t> all;
    for (std::size_t k = i + 1; k < n_; ++k) all.push_back(k);
    return all;
}

std::vector<std::pair<int, int>> overlapping_segment_pairs(const std::vector<Point>& a, const CleanerSegmentIndex&,
                                                          const std::vector<Point>& b) {
    std::vector<std::pair<int, int>> pairs;
    const int na = static_cast<int>(a.size()), nb = static_cast<int>(b.size());
    for (int sa = 0; sa < na; ++sa)
        for (int sb = 0; sb < nb; ++sb)
            if (boxes_overlap(segment_box(a[sa], a[(sa + 1) % na]), segment_box(b[sb], b[(sb + 1) % nb])))
                pairs.emplace_back(sa, sb);
    return pairs;
}

}  // namespace ostrand
