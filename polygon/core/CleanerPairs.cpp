#include "polygon/core/CleanerPairs.h"

#include <algorithm>

namespace ostrand {

namespace {

// Up to this many rings, every later ring is a candidate.
constexpr std::size_t kFewRings = 32;

}  // namespace

RingsAfter::RingsAfter(const std::vector<CleanerRing>& rings) : n_(rings.size()) {
    if (n_ <= kFewRings) return;
    std::vector<BBox> boxes;
    boxes.reserve(n_);
    for (const CleanerRing& r : rings) boxes.push_back(r.bbox());
    grid_ = std::make_unique<BoxGrid>(std::move(boxes));
}

std::vector<std::size_t> RingsAfter::rings_after(std::size_t i) const {
    if (grid_) return grid_->overlapping_after(i);
    std::vector<std::size_t> all;
    for (std::size_t k = i + 1; k < n_; ++k) all.push_back(k);
    return all;
}

std::vector<std::pair<int, int>> overlapping_segment_pairs(const std::vector<Point>&,
                                                          const CleanerSegmentIndex& index_a,
                                                          const std::vector<Point>& b) {
    std::vector<std::pair<int, int>> pairs;
    std::vector<int> found;
    // b's segments lie within the box of its points: when no segment of a reaches that box, no pair
    // overlaps (a ring inside or beside a long one is passed over with one look).
    index_a.overlaps(points_bbox(b), 0, found);
    if (found.empty()) return pairs;
    // Found from b's side, then put in the order of a's segments.
    const int nb = static_cast<int>(b.size());
    for (int sb = 0; sb < nb; ++sb) {
        found.clear();
        index_a.overlaps(segment_box(b[sb], b[(sb + 1) % nb]), 0, found);
        for (int sa : found) pairs.emplace_back(sa, sb);
    }
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

}  // namespace ostrand
