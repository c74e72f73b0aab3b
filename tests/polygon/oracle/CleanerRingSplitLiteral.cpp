// Literal form of the cut of a cleaner ring into loops: the first loop found is cut off and split again,
// then the rest of the ring, each by recursion.
#include "polygon/core/CleanerRing.h"

namespace ostrand {

void CleanerRing::split_self_intersections(std::vector<CleanerRing>& out) {
    const std::size_t n = points.size();
    if (n < 3) return;
    for (std::size_t p = 0; p + 2 < n; ++p)
        for (std::size_t q = p + 2; q < n; ++q) {
            if (!(points[q] == points[p])) continue;
            CleanerRing loop(std::vector<Point>(points.begin() + static_cast<long>(p), points.begin() + static_cast<long>(q)));
            loop.split_self_intersections(out);
            points.erase(points.begin() + static_cast<long>(p), points.begin() + static_cast<long>(q));
            split_self_intersections(out);
            return;
        }
    insert_by_area(out, CleanerRing(points));
}

}  // namespace ostrand
