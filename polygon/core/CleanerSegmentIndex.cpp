#include "polygon/core/CleanerSegmentIndex.h"

namespace ostrand {

CleanerSegmentIndex::CleanerSegmentIndex(const std::vector<Point>& points) {
    const std::size_t n = points.size();
    if (n == 0) return;
    std::vector<BBox> base;
    base.reserve(n);
    for (std::size_t k = 0; k < n; ++k) base.push_back(segment_box(points[k], points[(k + 1) % n]));
    levels_.push_back(std::move(base));
    spans_.push_back(1);
    while (levels_.back().size() > static_cast<std::size_t>(kFanOut)) {
        const std::vector<BBox>& below = levels_.back();
        std::vector<BBox> up;
        up.reserve(below.size() / kFanOut + 1);
        for (std::size_t i = 0; i < below.size(); i += kFanOut) {
            BBox u = below[i];
            for (std::size_t c = i + 1; c < below.size() && c < i + kFanOut; ++c) {
                const BBox& b = below[c];
                if (b.xmin < u.xmin) u.xmin = b.xmin;
                if (b.ymin < u.ymin) u.ymin = b.ymin;
                if (b.xmax > u.xmax) u.xmax = b.xmax;
                if (b.ymax > u.ymax) u.ymax = b.ymax;
            }
            up.push_back(u);
        }
        spans_.push_back(spans_.back() * kFanOut);
        levels_.push_back(std::move(up));
    }
}

void CleanerSegmentIndex::overlaps(const BBox& q, int first, std::vector<int>& out) const {
    if (levels_.empty()) return;
    const int top = static_cast<int>(levels_.size()) - 1;
    for (int k = 0; k < static_cast<int>(levels_[top].size()); ++k) visit(top, k, q, first, out);
}

void CleanerSegmentIndex::visit(int level, int node, const BBox& q, int first, std::vector<int>& out) const {
    if (static_cast<long>(node + 1) * spans_[level] <= first) return;  // wholly before `first`
    if (!boxes_overlap(levels_[level][node], q)) return;
    if (level == 0) {
        out.push_back(node);
        return;
    }
    const int lo = node * kFanOut;
    const int hi = lo + kFanOut < static_cast<int>(levels_[level - 1].size()) ? lo + kFanOut
                                                                               : static_cast<int>(levels_[level - 1].size());
    for (int c = lo; c < hi; ++c) visit(level - 1, c, q, first, out);
}

}  // namespace ostrand
