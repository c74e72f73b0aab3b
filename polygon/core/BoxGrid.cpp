#include "polygon/core/BoxGrid.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "polygon/core/CleanerSegmentIndex.h"

namespace ostrand {

namespace {

// Inverted boxes (an empty ring's) and boxes with a NaN have no cells; they are tested for every query.
bool well_formed(const BBox& b) { return b.xmin <= b.xmax && b.ymin <= b.ymax; }

}  // namespace

BoxGrid::BoxGrid(std::vector<BBox> boxes) : boxes_(std::move(boxes)), seen_(boxes_.size(), 0) {
    bool first = true;
    for (const BBox& b : boxes_) {
        if (!well_formed(b)) continue;
        if (first) all_ = b;
        first = false;
        all_.xmin = std::min(all_.xmin, b.xmin);
        all_.ymin = std::min(all_.ymin, b.ymin);
        all_.xmax = std::max(all_.xmax, b.xmax);
        all_.ymax = std::max(all_.ymax, b.ymax);
    }
    side_ = std::clamp(static_cast<int>(std::sqrt(static_cast<double>(boxes_.size()))), 1, 1024);
    cells_.resize(static_cast<std::size_t>(side_) * static_cast<std::size_t>(side_));
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        if (!well_formed(boxes_[i])) {
            wide_.push_back(i);
            continue;
        }
        const int x0 = cell_x(boxes_[i].xmin), x1 = cell_x(boxes_[i].xmax);
        const int y0 = cell_y(boxes_[i].ymin), y1 = cell_y(boxes_[i].ymax);
        if (static_cast<long>(x1 - x0 + 1) * (y1 - y0 + 1) > 64) {
            wide_.push_back(i);
            continue;
        }
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) cells_[cell(x, y)].push_back(i);
    }
}

int BoxGrid::cell_of(double v, double lo, double hi) const {
    if (!(hi > lo)) return 0;
    const double f = (v - lo) / (hi - lo) * side_;
    if (!(f > 0)) return 0;
    return f >= side_ ? side_ - 1 : static_cast<int>(f);
}

std::vector<std::size_t> BoxGrid::overlapping(const BBox& q) {
    std::vector<std::size_t> out;
    if (!well_formed(q)) {  // its cells would not cover what it overlaps
        for (std::size_t i = 0; i < boxes_.size(); ++i)
            if (boxes_overlap(boxes_[i], q)) out.push_back(i);
        return out;
    }
    for (std::size_t i : wide_)
        if (boxes_overlap(boxes_[i], q)) out.push_back(i);
    if (!boxes_overlap(all_, q)) {
        std::sort(out.begin(), out.end());
        return out;
    }
    ++stamp_;
    const int x0 = cell_x(q.xmin), x1 = cell_x(q.xmax), y0 = cell_y(q.ymin), y1 = cell_y(q.ymax);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            for (std::size_t i : cells_[cell(x, y)])
                if (seen_[i] != stamp_ && boxes_overlap(boxes_[i], q)) {
                    seen_[i] = stamp_;
                    out.push_back(i);
                }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::size_t> BoxGrid::overlapping_after(std::size_t i) {
    std::vector<std::size_t> out = overlapping(boxes_[i]);
    out.erase(out.begin(), std::upper_bound(out.begin(), out.end(), i));
    return out;
}

bool BoxGrid::any_holds(const Point& p) const {
    for (std::size_t i : wide_)
        if (boxes_[i].contains(p)) return true;
    if (!all_.contains(p)) return false;
    for (std::size_t i : cells_[cell(cell_x(p.x), cell_y(p.y))])
        if (boxes_[i].contains(p)) return true;
    return false;
}

}  // namespace ostrand
