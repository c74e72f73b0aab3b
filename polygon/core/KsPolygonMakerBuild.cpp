// Ring building: the link lists of every attribute number become the rings of one polygon.
#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "polygon/core/KsPolygonMaker.h"
#include "polygon/core/KsPolygonMakerBasin.h"
#include "polygon/core/ParallelIndices.h"

namespace ostrand {

namespace {

// Passes the points of an area's links end to end to `take`, leaving out each point within the tolerance
// of the last one passed (what unique_within leaves of the joined points).
template <class Take>
void for_each_joined_point(const std::vector<LinkRef>& refs, const std::map<LinkRef, Ring>& links, Take take) {
    const Point* kept = nullptr;
    auto offer = [&](const Point& p) {
        if (kept && points_within(*kept, p, kPointTolerance)) return;
        kept = &p;
        take(p);
    };
    for (const LinkRef& ref : refs) {
        const auto it = links.find(ref);
        if (it == links.end()) continue;
        const std::vector<Point>& link = it->second.points;
        if (ref.forward)
            std::for_each(link.begin(), link.end(), offer);
        else
            std::for_each(link.rbegin(), link.rend(), offer);
    }
}

}  // namespace

// The points of every area's links end to end, in the order build takes the areas, without points
// within the tolerance of the point before. Each ring is its own exact allocation with room for the
// closing point build adds, counted first and then filled: nearly all the memory a nationwide job takes
// after reading is these rings, and taking it on several threads at once is several times faster than on
// one.
std::vector<std::vector<Point>> KsPolygonMaker::join_area_links() const {
    std::vector<const std::vector<LinkRef>*> areas;
    for (const auto& entry : area_links)
        for (const std::vector<LinkRef>& list : entry.second) areas.push_back(&list);
    std::vector<std::vector<Point>> joined(areas.size());
    for_each_index_in_parallel(areas.size(), [&](std::size_t k) {
        std::size_t count = 0;
        for_each_joined_point(*areas[k], links, [&](const Point&) { ++count; });
        joined[k].reserve(count + 1);
        for_each_joined_point(*areas[k], links, [&](const Point& p) { joined[k].push_back(p); });
    });
    return joined;
}

void KsPolygonMaker::build(PolygonStats* stats) {
    modify_before();
    refused_attrs.clear();
    repaired_attrs.clear();
    const int id = data_id();
    int total = static_cast<int>(area_links.size());
    int clean = 0, incomplete = 0, dropped = 0;
    std::set<int> incomplete_attrs;
    std::vector<std::vector<Point>> joined = join_area_links();
    std::size_t next_joined = 0;

    for (const auto& [attr_no, lists] : area_links) {
        const bool basin_part = id == 20 && attr_no > kBasinPartOffset;
        const std::vector<int>& serials = area_serials[attr_no];
        AreaPolygon polygon;
        int failures = 0, silent = 0;
        for (std::size_t h = 0; h < lists.size(); ++h) {
            const int serial = h < serials.size() ? serials[h] : 0;
            int gaps = 0;
            const Point* end = nullptr;  // where the links so far end
            for (std::size_t j = 0; j < lists[h].size(); ++j) {
                const LinkRef& ref = lists[h][j];
                const std::vector<Point>& link = links[ref].points;
                if (link.empty()) {
                    log.add_area_link(attr_no, message_text(msg_link_has_no_node), serial, ref.mesh_code, ref.link_no);
                    continue;
                }
                const Point& start = ref.forward ? link.front() : link.back();
                if (j > 0 && end && !points_within(*end, start, kPointTolerance)) {
                    log.add_area_link(attr_no, message_text(msg_link_start_mismatch), serial, ref.mesh_code, ref.link_no);
                    ++gaps;
                }
                end = ref.forward ? &link.back() : &link.front();
            }
            std::vector<Point> r = std::move(joined[next_joined++]);
            if (id == 6) {
                if (r.empty()) continue;
                const Point former_last = r.back();
                drop_repeated_points(r);
                if (r.size() < 3) continue;
                if (!points_within(r.back(), former_last, kPointTolerance)) r.push_back(former_last);
            }
            if (ring_area(r) < kZeroAreaBound) {
                if (basin_part) ++silent;
                else log.add_area(attr_no, message_text(msg_area_zero), serial);
                continue;
            }
            if (r.size() < 4) {
                if (basin_part) ++silent;
                else log.add_area(attr_no, message_text(msg_area_too_few_nodes), serial);
                ++failures;
                continue;
            }
            if (!points_within(r.front(), r.back(), kPointTolerance)) {
                log.add_area(attr_no, message_text(msg_area_ends_mismatch), serial);
                ++gaps;
            }
            if (gaps > 0) {
                if (id == 7 && gaps == 1) {
                    log.add_discontinuity(attr_no, 1, message_text(msg_gaps_may_be_incomplete), serial);
                    polygon.rings.emplace_back(std::move(r));
                } else {
                    log.add_discontinuity(attr_no, gaps, message_text(msg_gaps_cannot_build), serial);
                    ++failures;
                }
                continue;
            }
            Ring ring(std::move(r));
            const SameBoxWithin same{ring.bbox(), kPointTolerance};
            if (std::any_of(polygon.rings.begin(), polygon.rings.end(), same))
                log.add_area(attr_no, message_text(msg_area_duplicate), serial);
            else
                polygon.rings.push_back(std::move(ring));
        }
        if (failures > 0) failures = repair_polygon(attr_no, polygon);
        if (!polygon.rings.empty()) {
            if (failures > 0) {
                log.add_numbered(attr_no, message_text(msg_attr_may_be_incomplete));
                ++incomplete;
                incomplete_attrs.insert(attr_no);
            } else {
                ++clean;
            }
            polygons.push_back(std::move(polygon));
        } else {
            if (id == 20 && silent > 0) {
                log.add_numbered(attr_no - kBasinPartOffset, message_text(msg_basin_links_removed));
                --total;
            } else {
                log.add_numbered(attr_no, message_text(msg_attr_not_saved));
            }
            attr_records.erase(attr_no);
            ++dropped;
        }
    }

    for (AreaPolygon& p : polygons)
        for (Ring& ring : p.rings) {
            if (ring.points.empty()) continue;
            if (points_within(ring.points.front(), ring.points.back(), kPointTolerance))
                ring.points.back() = ring.points.front();
            else
                ring.points.push_back(ring.points.front());
            ring.box_valid = false;
        }

    modify_after();
    for (int attr_no : refused_attrs) {
        if (incomplete_attrs.count(attr_no)) --incomplete;
        else --clean;
        ++dropped;
    }

    if (stats) {
        stats->total = total;
        stats->made = clean + incomplete;
        stats->incomplete = incomplete;
        stats->dropped = dropped;
        stats->rural_records = (id == 3 || id == 4) ? static_cast<int>(attr_records.size()) : 0;
    }
}

}  // namespace ostrand
