// Rural nesting: designated areas (flag 1) are outer rings, clockwise; the other areas are holes of the
// largest designated area that contains them, or polygons of their own.
#include <algorithm>

#include "polygon/core/KsPolygonMaker.h"
#include "polygon/core/MakerSearches.h"
#include "polygon/core/TextUtil.h"

namespace ostrand {

namespace {

struct RuralEntry {
    int attr_no;
    double area;
    int flag;
    bool alive;
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
    std::vector<const Ring*> outers;
    for (auto outer = entries.begin(); outer != outer_end; ++outer) {
        const std::vector<Ring>& rings = rings_of[outer->attr_no];
        outers.push_back(rings.empty() ? nullptr : &rings.front());
    }
    std::vector<RuralEntry*> holes;
    std::vector<const Point*> hole_points;
    for (auto hole = outer_end; hole != entries.end(); ++hole) {
        if (hole->flag == 1) continue;
        const std::vector<Ring>& hole_rings = rings_of[hole->attr_no];
        holes.push_back(&*hole);
        hole_points.push_back(hole_rings.empty() || hole_rings.front().points.empty()
                                  ? nullptr
                                  : &hole_rings.front().points.front());
    }
    const std::vector<std::vector<std::size_t>> holes_of = nest_holes(outers, hole_points);
    std::vector<int> nested;
    for (std::size_t o = 0; o < holes_of.size(); ++o)
        for (std::size_t h : holes_of[o]) {
            RuralEntry* hole = holes[h];
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
