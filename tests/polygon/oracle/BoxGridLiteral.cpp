// Literal form of BoxGrid: every box tested, in order.
#include "polygon/core/BoxGrid.h"

#include "polygon/core/CleanerSegmentIndex.h"

namespace ostrand {

BoxGrid::BoxGrid(std::vector<BBox> boxes) : boxes_(std::move(boxes)) {}

std::vector<std::size_t> BoxGrid::overlapping(const BBox& q) {
    std::vector<std::size_t> out;
    for (std::size_t k = 0; k < boxes_.size(); ++k)
        if (boxes_overlap(boxes_[k], q)) out.push_back(k);
    return out;
}

std::vector<std::size_t> BoxGrid::overlapping_after(std::size_t i) {
    std::vector<std::size_t> out;
    for (std::size_t k = i + 1; k < boxes_.size(); ++k)
        if (boxes_overlap(boxes_[k], boxes_[i])) out.push_back(k);
    return out;
}

bool BoxGrid::any_holds(const Point& p) const {
    for (const BBox& b : boxes_)
        if (b.contains(p)) return true;
    return false;
}

}  // namespace ostrand
