// The cut of a cleaner ring into loops at its repeated vertices, kept in a file of its own: it walks its
// loops with a stack where the method recurses, and the oracle of tests/polygon/oracle/ puts the recursive
// form in its place.
#include "polygon/core/CleanerRing.h"
#include "polygon/core/CleanerVertexSearch.h"

namespace ostrand {

void CleanerRing::split_self_intersections(std::vector<CleanerRing>& out) {
    // A loop is split off before the rest of its ring is looked at again; the stack keeps that order
    // without recursing once per loop.
    std::vector<std::vector<Point>> pending;
    pending.push_back(std::move(points));
    points.clear();
    while (!pending.empty()) {
        std::vector<Point> pts = std::move(pending.back());
        pending.pop_back();
        if (pts.size() < 3) continue;
        std::size_t p = 0, q = 0;
        if (find_first_loop(pts, p, q)) {
            std::vector<Point> loop(pts.begin() + static_cast<long>(p), pts.begin() + static_cast<long>(q));
            pts.erase(pts.begin() + static_cast<long>(p), pts.begin() + static_cast<long>(q));
            pending.push_back(std::move(pts));
            pending.push_back(std::move(loop));
        } else {
            insert_by_area(out, CleanerRing(std::move(pts)));
        }
    }
}

}  // namespace ostrand
