#pragma once
// Finds the segments of a ring whose boxes overlap a query box, in ascending segment order, without
// testing every segment: a box hierarchy over runs of consecutive segments, which lie close together
// along a ring. It reports exactly the segments a test of every segment box would report, in the same
// order, so the noding that uses it does the same work as a plain double loop.
#include <vector>

#include "polygon/core/Geometry.h"

namespace ostrand {

// Inclusive on all four sides, no tolerance.
inline bool boxes_overlap(const BBox& a, const BBox& b) {
    return a.xmin <= b.xmax && b.xmin <= a.xmax && a.ymin <= b.ymax && b.ymin <= a.ymax;
}

inline BBox segment_box(const Point& a, const Point& b) {
    BBox r;
    r.xmin = a.x < b.x ? a.x : b.x;
    r.xmax = a.x < b.x ? b.x : a.x;
    r.ymin = a.y < b.y ? a.y : b.y;
    r.ymax = a.y < b.y ? b.y : a.y;
    return r;
}

class CleanerSegmentIndex {
public:
    // Segment k runs from point k to point k+1, the last one wrapping to point 0.
    explicit CleanerSegmentIndex(const std::vector<Point>& points);

    // Calls f(k) for every segment k >= first whose box overlaps q, k ascending.
    template <class F>
    void for_each_overlap(const BBox& q, int first, F&& f) const {
        if (levels_.empty()) return;
        const int top = static_cast<int>(levels_.size()) - 1;
        for (int k = 0; k < static_cast<int>(levels_[top].size()); ++k) visit(top, k, q, first, f);
    }

private:
    static constexpr int kFanOut = 8;

    template <class F>
    void visit(int level, int node, const BBox& q, int first, F& f) const {
        if (static_cast<long>(node + 1) * spans_[level] <= first) return;  // wholly before `first`
        if (!boxes_overlap(levels_[level][node], q)) return;
        if (level == 0) {
            f(node);
            return;
        }
        const int lo = node * kFanOut;
        const int hi = lo + kFanOut < static_cast<int>(levels_[level - 1].size())
                           ? lo + kFanOut
                           : static_cast<int>(levels_[level - 1].size());
        for (int c = lo; c < hi; ++c) visit(level - 1, c, q, first, f);
    }

    std::vector<std::vector<BBox>> levels_;  // levels_[0]: one box per segment
    std::vector<long> spans_;                // segments covered by one node of each level
};

}  // namespace ostrand
