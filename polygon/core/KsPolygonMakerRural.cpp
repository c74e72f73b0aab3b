// Rural nesting: designated areas (flag 1) are outer rings, clockwise; the other areas are holes of the
// largest designated area that contains them, or polygons of their own.
#include <algorithm>
#include <functional>
#include <set>

#include "polygon/core/KsPolygonMaker.h"
#include "polygon/core/MakerSearches.h"
#include "polygon/core/PolygonValidity.h"
#include "polygon/core/TextUtil.h"
#include "polygon/core/WrittenRings.h"

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

// The candidate holes that lie in the designated area's rings: all of them when the area with them all is
// a valid polygon (always, for valid input; `whole_valid` then says so), else those that alone make a valid
// polygon with it. A hole whose first point lies in the area but whose ring crosses its outline is not
// inside it.
std::vector<std::size_t> holes_inside(const std::vector<Ring>& outer, const std::vector<std::size_t>& candidates,
                                      const std::function<const Ring&(std::size_t)>& hole_ring, bool& whole_valid) {
    whole_valid = false;
    if (candidates.empty()) return candidates;
    std::vector<Ring> all = outer;
    for (std::size_t h : candidates) all.push_back(hole_ring(h));
    std::vector<Ring> loops;
    whole_valid = polygon_fault(written_rings(all, loops)) == PolygonFault::none;
    if (whole_valid) return candidates;
    std::vector<std::size_t> inside;
    for (std::size_t h : candidates) {
        std::vector<Ring> pair = outer;
        pair.push_back(hole_ring(h));
        if (polygon_fault(written_rings(pair, loops)) == PolygonFault::none) inside.push_back(h);
    }
    return inside;
}

}  // namespace

void KsPolygonMakerRural::modify_after() {
    // The k-th polygon belongs to the k-th ledger record; any other pairing would mislabel every row after.
    if (polygons.size() != attr_records.size())
        throw std::string("Unexpected index. KsPolygonMakerRural::modigy_after()");
    // An area whose own ring is broken goes before nesting, so that it neither spoils the designated area
    // it would be a hole of nor takes holes itself.
    refuse_invalid_polygons();
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
    const auto hole_ring = [&](std::size_t h) -> const Ring& { return rings_of[holes[h]->attr_no].front(); };
    // Records to check again once nested: those of several rings (turning the first may put it wrong with
    // the others), unless they were found valid with their holes already.
    std::set<int> recheck;
    for (const auto& [attr_no, rings] : rings_of)
        if (rings.size() > 1) recheck.insert(attr_no);
    for (std::size_t o = 0; o < holes_of.size(); ++o) {
        const int attr_no = entries[o].attr_no;
        bool whole_valid = false;
        const std::vector<std::size_t> inside = holes_inside(rings_of[attr_no], holes_of[o], hole_ring, whole_valid);
        for (std::size_t h : inside) {
            RuralEntry* hole = holes[h];
            rings_of[attr_no].push_back(rings_of[hole->attr_no].front());
            hole->alive = false;
            nested.push_back(hole->attr_no);
        }
        if (whole_valid) recheck.erase(attr_no);
        else if (!inside.empty()) recheck.insert(attr_no);
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
    // Holes that cross one another spoil the area.
    refuse_invalid_polygons(&recheck);
}

}  // namespace ostrand
