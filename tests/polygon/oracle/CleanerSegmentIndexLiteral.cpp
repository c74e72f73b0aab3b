// Literal form of CleanerSegmentIndex: every segment box tested, in segment order.
#include "polygon/core/CleanerSegmentIndex.h"

namespace ostrand {

CleanerSegmentIndex::CleanerSegmentIndex(const std::vector<Point>& points) {
    std::vector<BBox> boxes;
    const std::size_t n = points.size();
    for (std::size_t k = 0; k < n; ++k) boxes.push_back(segment_box(points[k], points[(k + 1) % n]));
    levels_.push_back(std::move(boxes));
}

void CleanerSegmentIndex::overlaps(const BBox& q, int first, std::vector<int>& out) const {
    if (levels_.empty()) return;
    const std::vector<BBox>& boxes = levels_.front();
    for (int k = first < 0 ? 0 : first; k < static_cast<int>(boxes.size()); ++k)
        if (boxes_overlap(boxes[static_cast<std::size_t>(k)], q)) out.push_back(k);
}

}  // namespace ostrand
