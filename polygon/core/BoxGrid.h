#pragma once
// Finds the boxes that overlap a query box (inclusive on all sides, as BBox::contains) without testing
// every box: a grid over the boxes, with boxes that span many cells kept aside and tested for every query.
// A value's cell is a monotone function of the value, so a box and any query that overlaps it always
// share a cell; the exact test then decides. Used by the mesh selection, rural nesting and the cleaner's
// ring pairs. (Its literal form, every box tested, is an oracle of tests/polygon/oracle/.)
#include <cstddef>
#include <vector>

#include "polygon/core/Geometry.h"

namespace ostrand {

class BoxGrid {
public:
    explicit BoxGrid(std::vector<BBox> boxes);

    // The boxes overlapping q, ascending.
    std::vector<std::size_t> overlapping(const BBox& q);
    // The boxes after box i that overlap it, ascending.
    std::vector<std::size_t> overlapping_after(std::size_t i);
    // True when some box holds p.
    bool any_holds(const Point& p) const;

private:
    int cell_of(double v, double lo, double hi) const;
    int cell_x(double x) const { return cell_of(x, all_.xmin, all_.xmax); }
    int cell_y(double y) const { return cell_of(y, all_.ymin, all_.ymax); }
    std::size_t cell(int x, int y) const { return static_cast<std::size_t>(y) * static_cast<std::size_t>(side_) + x; }

    std::vector<BBox> boxes_;
    std::vector<unsigned> seen_;  // stamp of the query that last reported each box
    unsigned stamp_ = 0;
    BBox all_;
    int side_ = 1;
    std::vector<std::vector<std::size_t>> cells_;
    std::vector<std::size_t> wide_;
};

}  // namespace ostrand
