#pragma once
// A catchment maker fed with hand-made links and areas in degrees, as the readers would leave them.
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/text/Cp932.h"
#include "polygon/core/KsPolygonMakerBasin.h"
#include "tests/tools/gen/BasinFileGen.h"

namespace basintest {

using namespace ostrand;

struct BasinCase {
    std::vector<std::string> lines;
    KsPolygonMakerBasin maker{*find_layer_record(20), nullptr, &lines};
    PolygonStats stats;

    void link(int number, std::vector<Point> pts) { maker.links[LinkRef{"533945", number, true}] = Ring(std::move(pts)); }
    // One area of the catchment; negative numbers walk their link backwards.
    void area(int attr_no, const std::vector<int>& refs, int serial = 1) {
        std::vector<LinkRef> list;
        for (int r : refs) list.push_back(LinkRef{"533945", std::abs(r), r >= 0});
        maker.area_links[attr_no].push_back(list);
        maker.area_serials[attr_no].push_back(serial);
        maker.attr_records[attr_no] = velmora::datagen::basin_ledger(attr_no, "81001");
    }
    void build() { maker.build(&stats); }
    // total, made, incomplete, dropped
    std::array<int, 4> counts() const { return {stats.total, stats.made, stats.incomplete, stats.dropped}; }
    std::vector<std::string> log() const {
        std::vector<std::string> out;
        for (const std::string& l : lines) out.push_back(velmora::text::fromCp932(l));
        return out;
    }
    // The open outline of the k-th polygon (build closes every ring; the closing point is left out).
    std::vector<Point> outline(std::size_t k) const {
        std::vector<Point> pts = maker.polygons.at(k).rings.at(0).points;
        if (!pts.empty()) pts.pop_back();
        return pts;
    }
};

}  // namespace basintest
