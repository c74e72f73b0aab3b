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

}  // namespace ostrand
