// Rural nesting: designated areas (flag 1) are outer rings, clockwise; the other areas are holes of the
// largest designated area that contains them, or polygons of their own.
#include <algorithm>
#include <cmath>

#include "polygon/core/KsPolygonMaker.h"
#include "polygon/core/TextUtil.h"

namespace ostrand {

namespace {

struct RuralEntry {
    int attr_no;
    double area;
    int flag;
    bool alive;
};

// Finds, for a point, the designated rings whose boxes hold it: a grid over the boxes, with boxes that
// span many cells kept aside and tested for every point. Candidates come back in ascending order, so the
// caller can take the first one that contains the point, exactly as a walk over all of them would.
class BoxIndex {
public:
    explicit BoxIndex(const std::vector<BBox>& boxes) : boxes_(boxes) {
        if (boxes.empty()) return;
        all_ = boxes.front();
        for (const BBox& b : boxes) {
            all_.xmin = std::min(all_.xmin, b.xmin);
            all_.ymin = std::min(all_.ymin, b.ymin);
            all_.xmax = std::max(all_.xmax, b.xmax);
            all_.ymax = std::max(all_.ymax, b.ymax);
        }
        side_ = std::clamp(static_cast<int>(std::sqrt(static_cast<double>(boxes.size()))), 1, 1024);
        cells_.resize(static_cast<std::size_t>(side_) * side_);
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const int x0 = cell_x(boxes[i].xmin), x1 = cell_x(boxes[i].xmax);
            const int y0 = cell_y(boxes[i].ymin), y1 = cell_y(boxes[i].ymax);
            if ((x1 - x0 + 1) * (y1 - y0 + 1) > 64) {
                wide_.push_back(i);
                continue;
            }
            for (int x = x0; x <= x1; ++x)
                for (int y = y0; y <= y1; ++y) cells_[static_cast<std::size_t>(y) * side_ + x].push_back(i);
        }
    }

    std::vector<std::size_t> candidates(const Point& p) const {
        std::vector<std::size_t> out;
        if (boxes_.empty() || !all_.contains(p)) return out;
        for (std::size_t i : wide_)
            if (boxes_[i].contains(p)) out.push_back(i);
        // A point on a cell border may belong to a box registered only in the neighbouring cell.
        const int cx = cell_x(p.x), cy = cell_y(p.y);
        for (int x = std::max(cx - 1, 0); x <= std::min(cx + 1, side_ - 1); ++x)
            for (int y = std::max(cy - 1, 0); y <= std::min(cy + 1, side_ - 1); ++y)
                for (std::size_t i : cells_[static_cast<std::size_t>(y) * side_ + x])
                    if (boxes_[i].contains(p)) out.push_back(i);
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    }

private:
    int cell(double v, double lo, double hi) const {
        if (!(hi > lo)) return 0;
        return std::clamp(static_cast<int>((v - lo) / (hi - lo) * side_), 0, side_ - 1);
    }
    int cell_x(double x) const { return cell(x, all_.xmin, all_.xmax); }
    int cell_y(double y) const { return cell(y, all_.ymin, all_.ymax); }

    const std::vector<BBox>& boxes_;
    BBox all_;
    int side_ = 1;
    std::vector<std::vector<std::size_t>> cells_;
    std::vector<std::size_t> wide_;
};

void close_if_open(Ring& ring) {
    if (!ring.points.empty() && !(ring.points.back() == ring.points.front())) ring.add_point(ring.points.front());
}

}  // namespace

void KsPolygonMakerRural::modify_after() {
    // The k-th polygon belongs to the k-th ledger record; any other pairing would mislabel every row after.
    if (polygons.size() != attr_records.size())
        throw std::string("Unexpected index. KsPolygonMakerRural::modigy_after()");
    std::map<int, std::vector<Ring>> rings_of;
    std::vector<RuralEntry> entries;
    std::size_t k = 0;
    for (const auto& [attr_no, text] : attr_records) {
        AreaPolygon& polygon = polygons[k++];
        const int flag = static_cast<int>(read_integer_at(text, 16, 1));
        if (!polygon.rings.empty()) {
            Ring& first = polygon.rings.front();
            if (!first.points.empty()) {
                first.points.pop_back();
                first.box_valid = false;
            }
            if (first.is_clockwise() != (flag == 1)) std::reverse(first.points.begin(), first.points.end());
        }
        const double area = polygon.area();
        rings_of[attr_no] = std::move(polygon.rings);
        polygon.rings.clear();
        entries.push_back({attr_no, area, flag, true});
    }

    std::stable_sort(entries.begin(), entries.end(),
                     [](const RuralEntry& a, const RuralEntry& b) { return a.area > b.area; });
    const auto outer_end =
        std::find_if(entries.begin(), entries.end(), [](const RuralEntry& e) { return e.flag != 1; });
    // Each hole goes to the first outer candidate (largest first) whose first ring holds the hole's first
    // point; each outer takes its holes in the holes' order.
    std::vector<BBox> outer_boxes;
    for (auto outer = entries.begin(); outer != outer_end; ++outer) {
        const std::vector<Ring>& rings = rings_of[outer->attr_no];
        outer_boxes.push_back(rings.empty() ? BBox{1, 1, 0, 0} : rings.front().bbox());
    }
    const BoxIndex index(outer_boxes);
    std::vector<std::vector<RuralEntry*>> holes_of(outer_boxes.size());
    for (auto hole = outer_end; hole != entries.end(); ++hole) {
        if (hole->flag == 1) continue;
        const std::vector<Ring>& hole_rings = rings_of[hole->attr_no];
        if (hole_rings.empty() || hole_rings.front().points.empty()) continue;
        const Point& p = hole_rings.front().points.front();
        for (std::size_t o : index.candidates(p))
            if (rings_of[entries[o].attr_no].front().locate_point(p) >= 0) {
                holes_of[o].push_back(&*hole);
                break;
            }
    }
    std::vector<int> nested;
    for (std::size_t o = 0; o < holes_of.size(); ++o)
        for (RuralEntry* hole : holes_of[o]) {
            rings_of[entries[o].attr_no].push_back(rings_of[hole->attr_no].front());
            hole->alive = false;
            nested.push_back(hole->attr_no);
        }
    for (auto hole = outer_end; hole != entries.end(); ++hole) {
        if (!hole->alive || hole->flag == 1) continue;
        std::vector<Ring>& rings = rings_of[hole->attr_no];
        if (!rings.empty()) std::reverse(rings.front().points.begin(), rings.front().points.end());
    }
    for (int attr_no : nested) {
        rings_of.erase(attr_no);
        attr_records.erase(attr_no);
    }

    polygons.clear();
    polygons.resize(rings_of.size());
    std::size_t i = 0;
    for (auto& [attr_no, rings] : rings_of) {
        polygons[i].rings = std::move(rings);
        for (Ring& ring : polygons[i].rings) close_if_open(ring);
        ++i;
    }
}

}  // namespace ostrand
