// Literal forms of the cleaner's searches for equal vertices: every pair of points compared.
#include "polygon/core/CleanerVertexSearch.h"

#include <algorithm>

namespace ostrand {

bool find_first_loop(const std::vector<Point>& pts, std::size_t& p, std::size_t& q) {
    for (std::size_t i = 0; i + 2 < pts.size(); ++i) {
        const auto later = std::find(pts.begin() + static_cast<long>(i) + 2, pts.end(), pts[i]);
        if (later == pts.end()) continue;
        p = i;
        q = static_cast<std::size_t>(later - pts.begin());
        return true;
    }
    return false;
}

void first_equal_vertices(const std::vector<Point>& a, const std::vector<int>& which, const std::vector<Point>& b,
                          std::vector<int>& out) {
    for (int m : which) {
        int found = -1;
        for (std::size_t i = 0; i < b.size() && found < 0; ++i)
            if (b[i] == a[static_cast<std::size_t>(m)]) found = static_cast<int>(i);
        out.push_back(found);
    }
}

}  // namespace ostrand
