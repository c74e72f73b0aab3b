// Ring building: the link lists of every attribute number become the rings of one polygon.
#include <algorithm>
#include <set>

#include "polygon/core/KsPolygonMaker.h"
#include "polygon/core/KsPolygonMakerBasin.h"

namespace ostrand {

void KsPolygonMaker::build(PolygonStats* stats) {
    modify_before();
    refused_attrs.clear();
    repaired_attrs.clear();
    const int id = data_id();
    int total = static_cast<int>(area_links.size());
    int clean = 0, incomplete = 0, dropped = 0;
    std::set<int> incomplete_attrs;

    for (const auto& [attr_no, lists] : area_links) {
        const bool basin_part = id == 20 && attr_no > kBasinPartOffset;
        const std::vector<int>& serials = area_serials[attr_no];
        AreaPolygon polygon;
        int failures = 0, silent = 0;
        for (std::size_t h = 0; h < lists.size(); ++h) {
            const int serial = h < serials.size() ? serials[h] : 0;
            std::vector<Point> r;
            int gaps = 0;
            for (std::size_t j = 0; j < lists[h].size(); ++j) {
                const LinkRef& ref = lists[h][j];
                std::vector<Point> copy = links[ref].points;
                if (copy.empty()) {
                    log.add_area_link(attr_no, message_text(msg_link_has_no_node), serial, ref.mesh_code, ref.link_no);
                    continue;
                }
                if (!ref.forward) std::reverse(copy.begin(), copy.end());
                if (j > 0 && !r.empty() && !points_within(r.back(), copy.front(), kPointTolerance)) {
                    log.add_area_link(attr_no, message_text(msg_link_start_mismatch), serial, ref.mesh_code, ref.link_no);
                    ++gaps;
                }
                r.insert(r.end(), copy.begin(), copy.end());
            }
            unique_within(r);
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
