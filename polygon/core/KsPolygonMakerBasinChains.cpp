// The catchment maker's preparation before ring building: the links of every catchment become one closed
// ring, stored as the catchment's only link and area; what lies beyond the outline's first wide gap
// becomes a pseudo-catchment of its own.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "polygon/core/KsPolygonMakerBasin.h"
#include "polygon/core/TextUtil.h"

namespace ostrand {

namespace {

using AreaMap = std::map<int, std::vector<std::vector<LinkRef>>>;

double distance(const Point& a, const Point& b) {
    const double dx = a.x - b.x, dy = a.y - b.y;
    return std::sqrt(dy * dy + dx * dx);
}

std::vector<Point> joined_points(ChainList::const_iterator first, ChainList::const_iterator last) {
    std::vector<Point> out;
    for (; first != last; ++first) out.insert(out.end(), first->points.begin(), first->points.end());
    return out;
}

// The catchment's one link and one area, both under the key {"xxxxxx", number}.
void store_single(int attr_no, Ring ring, std::map<LinkRef, Ring>& new_links, AreaMap& new_areas) {
    const LinkRef key{kBasinLinkMesh, attr_no, true};
    new_links[key] = std::move(ring);
    new_areas[attr_no] = {{key}};
}

// The links of one catchment in walking order; a chain that starts exactly where an earlier one starts is
// the same boundary listed again and is left out.
ChainList collect_chains(const std::map<LinkRef, Ring>& links, const std::vector<std::vector<LinkRef>>& lists) {
    ChainList chains;
    for (const std::vector<LinkRef>& list : lists)
        for (const LinkRef& ref : list) {
            const auto it = links.find(ref);
            if (it == links.end() || it->second.points.empty()) continue;
            std::vector<Point> pts = it->second.points;
            if (!ref.forward) std::reverse(pts.begin(), pts.end());
            const bool repeated = std::any_of(chains.begin(), chains.end(),
                                              [&](const Ring& c) { return c.points.front() == pts.front(); });
            if (!repeated) chains.emplace_back(std::move(pts));
        }
    return chains;
}

// Greedy order: always the chain that starts nearest to the end reached so far. A step for which going
// back to the start would have been shorter is a detour, which relocate_last_chain then mends once each.
ChainList order_chains(ChainList chains) {
    ChainList ordered;
    ordered.push_back(std::move(chains.front()));
    chains.erase(chains.begin());
    int detours = 0;
    while (!chains.empty()) {
        const Point& end = ordered.back().points.back();
        std::size_t best = 0;
        double best_distance = distance(end, chains[0].points.front());
        for (std::size_t i = 1; i < chains.size(); ++i) {
            const double d = distance(end, chains[i].points.front());
            if (d < best_distance) {
                best = i;
                best_distance = d;
            }
        }
        if (distance(end, ordered.front().points.front()) < best_distance) ++detours;
        ordered.push_back(std::move(chains[best]));
        chains.erase(chains.begin() + static_cast<std::ptrdiff_t>(best));
    }
    for (int i = 0; i < detours; ++i) relocate_last_chain(ordered);
    return ordered;
}

// The first stored link of more than two points whose ends meet a and b (within kBasinBridgeEnds), in
// walking order from a to b; empty when there is none.
std::vector<Point> find_bridge(const std::map<LinkRef, Ring>& links, const Point& a, const Point& b) {
    for (const auto& [key, link] : links) {
        const std::vector<Point>& pts = link.points;
        if (pts.size() <= 2) continue;
        if (distance(pts.front(), a) < kBasinBridgeEnds && distance(pts.back(), b) < kBasinBridgeEnds) return pts;
        if (distance(pts.back(), a) < kBasinBridgeEnds && distance(pts.front(), b) < kBasinBridgeEnds)
            return {pts.rbegin(), pts.rend()};
    }
    return {};
}

}  // namespace

double chain_gap_length(const ChainList& chains) {
    double sum = 0.0;
    for (std::size_t i = 1; i < chains.size(); ++i)
        sum += distance(chains[i - 1].points.back(), chains[i].points.front());
    return sum;
}

void relocate_last_chain(ChainList& chains) {
    if (chains.size() < 3) return;
    const std::size_t last = chains.size() - 1;
    double best = chain_gap_length(chains);
    std::size_t best_at = last;
    // The chain walks to the front one swap at a time; the place where the total was smallest is kept.
    for (std::size_t at = last; at > 1; --at) {
        std::swap(chains[at], chains[at - 1]);
        const double length = chain_gap_length(chains);
        if (length < best) {
            best = length;
            best_at = at - 1;
        }
    }
    std::rotate(chains.begin() + 1, chains.begin() + 2, chains.begin() + static_cast<std::ptrdiff_t>(best_at) + 1);
}

void KsPolygonMakerBasin::modify_before() {
    try {
        std::map<LinkRef, Ring> new_links;
        AreaMap new_areas;
        for (const auto& [attr_no, lists] : area_links) {
            ChainList chains = collect_chains(links, lists);
            if (chains.empty()) {
                // Nothing to chain: the catchment keeps no area, and ring building drops it with its message.
                new_areas[attr_no] = {};
                continue;
            }
            ChainList ordered = order_chains(std::move(chains));
            if (distance(ordered.front().points.front(), ordered.back().points.back()) > kBasinWideGap) {
                const auto record = attr_records.find(attr_no);
                if (record != attr_records.end()) separate(ordered, record->second, new_links, new_areas);
            }
            std::vector<Point> pts = joined_points(ordered.begin(), ordered.end());
            pts.push_back(pts.front());
            Ring ring(std::move(pts));
            repair_missing_link(ring);
            store_single(attr_no, std::move(ring), new_links, new_areas);
        }
        links = std::move(new_links);
        for (auto& [attr_no, lists] : new_areas) area_links[attr_no] = std::move(lists);
    } catch (...) {
        throw std::string("Error. KsPolygonMakerBasin::modify_before()");
    }
}

void KsPolygonMakerBasin::separate(ChainList& chains, const std::string& record, std::map<LinkRef, Ring>& new_links,
                                   AreaMap& new_areas) {
    try {
        // Position 0 stands both for "no wide gap" and for a gap right after the first chain; either way the
        // sequence stays whole.
        std::size_t k = 0;
        for (std::size_t i = 0; i + 1 < chains.size(); ++i)
            if (distance(chains[i].points.back(), chains[i + 1].points.front()) > kBasinWideGap) {
                k = i;
                break;
            }
        if (k == 0) return;
        Ring rest(joined_points(chains.begin() + static_cast<std::ptrdiff_t>(k + 1), chains.end()));
        chains.resize(k + 1);

        const long long part = read_integer_at(record, 3, 10) + kBasinPartOffset;
        if (part > INT32_MAX) throw std::string("attribute number");
        const int part_no = static_cast<int>(part);
        store_single(part_no, std::move(rest), new_links, new_areas);
        area_serials[part_no].push_back(kBasinPartSerial);
        char number[16];
        std::snprintf(number, sizeof number, "%10d", part_no);
        std::string renumbered = record;
        renumbered.replace(3, 10, number);
        attr_records[part_no] = std::move(renumbered);
    } catch (...) {
        throw std::string("Error. KsPolygonMakerBasin::separate()");
    }
}

void KsPolygonMakerBasin::repair_missing_link(Ring& ring) {
    try {
        std::vector<Point>& p = ring.points;
        // Each step inserts a whole link; links that bridge each other's long edges could otherwise go on
        // for ever, so there are at most as many steps as stored links.
        for (std::size_t step = 0; step < links.size(); ++step) {
            const std::size_t n = p.size();
            if (n < 2) break;
            std::size_t longest = 0;
            double length = -1.0;
            for (std::size_t i = 0; i < n; ++i) {
                const double d = distance(p[i], p[(i + 1) % n]);
                if (d > length) {
                    longest = i;
                    length = d;
                }
            }
            if (length <= kBasinBridgeEdge) break;
            std::vector<Point> bridge = find_bridge(links, p[longest], p[(longest + 1) % n]);
            if (bridge.empty()) break;
            p.insert(p.begin() + static_cast<std::ptrdiff_t>(longest + 1), bridge.begin(), bridge.end());
        }
        ring.box_valid = false;
    } catch (...) {
        throw std::string("Error. KsPolygonMakerBasin::repair_missing_link()");
    }
}

}  // namespace ostrand
