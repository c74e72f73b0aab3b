// Stepped repair: the links of an attribute number with failures are chained again with growing
// tolerances, and every chain that closes becomes a ring.
#include <algorithm>

#include "polygon/core/KsPolygonMaker.h"
#include "polygon/core/MakerSearches.h"

namespace ostrand {

namespace {

using Chain = std::vector<Point>;

}  // namespace

int KsPolygonMakerRepair::repair_polygon(int attr_no, AreaPolygon& polygon) {
    log.add_numbered(attr_no, message_text(msg_repair_try));
    repaired_attrs.insert(attr_no);

    std::vector<Chain> chains;
    for (const std::vector<LinkRef>& list : area_links[attr_no])
        for (const LinkRef& ref : list) {
            Chain c = links[ref].points;
            if (c.empty()) continue;
            if (!ref.forward) std::reverse(c.begin(), c.end());
            chains.push_back(std::move(c));
        }

    const double step = data_id() == 0 ? 1.0 : 0.1;
    std::vector<Ring> closed;
    // Both ladders by repeated arithmetic: the third level is 9.999999999999999e-06, not 1e-05.
    for (double base = 1e-7; base <= 0.001 && !chains.empty(); base *= 10)
        for (double k = step + 1; k <= 10 && !chains.empty(); k += step) {
            const double tol = k * base;
            std::vector<Chain> unresolved;
            ChainPass pass(std::move(chains), tol);
            Chain cur;
            while (pass.take_last(cur)) {
                if (cur.empty()) continue;
                pass.grow(cur);
                if (ring_area(cur) > kZeroAreaBound && points_within(cur.front(), cur.back(), tol)) {
                    unique_within(cur);
                    drop_repeated_points(cur);
                    if (cur.size() >= 3 && ring_area(cur) > kZeroAreaBound) {
                        Ring ring(std::move(cur));
                        const SameBoxWithin same{ring.bbox(), kPointTolerance};
                        if (std::none_of(closed.begin(), closed.end(), same)) closed.push_back(std::move(ring));
                        continue;
                    }
                }
                unresolved.push_back(std::move(cur));
            }
            chains = std::move(unresolved);
        }

    int status = 2;
    if (!closed.empty()) {
        if (chains.empty()) status = 0;
        else status = polygon.rings.size() < closed.size() ? 1 : 2;
        polygon.rings = std::move(closed);
    }
    if (log.bound()) {
        const Message m = status == 0 ? msg_repair_ok : status == 1 ? msg_repair_partial : msg_repair_failed;
        log.add_numbered(attr_no, message_text(m));
    }
    return static_cast<int>(chains.size());
}

}  // namespace ostrand
