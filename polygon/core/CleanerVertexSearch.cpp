#include "polygon/core/CleanerVertexSearch.h"

#include <unordered_map>

#include "polygon/core/CleanerRing.h"

namespace ostrand {

bool find_first_loop(const std::vector<Point>& pts, std::size_t& p, std::size_t& q) {
    const std::size_t n = pts.size();
    if (n < 3) return false;
    constexpr std::size_t none = static_cast<std::size_t>(-1);
    std::vector<std::size_t> next_same(n, none);
    std::unordered_map<Point, std::size_t, ExactPointHash> later;
    later.reserve(n);
    for (std::size_t i = n; i-- > 0;) {
        auto [it, inserted] = later.try_emplace(pts[i], i);
        if (!inserted) {
            next_same[i] = it->second;
            it->second = i;
        }
    }
    for (std::size_t i = 0; i + 2 < n; ++i) {
        std::size_t j = next_same[i];
        while (j != none && j < i + 2) j = next_same[j];
        if (j != none) {
            p = i;
            q = j;
            return true;
        }
    }
    return false;
}

void first_equal_vertices(const std::vector<Point>& a, const std::vector<int>& which, const std::vector<Point>& b,
                          std::vector<int>& out) {
    if (which.empty()) return;
    std::unordered_map<Point, int, ExactPointHash> first_in_b;
    first_in_b.reserve(b.size());
    for (std::size_t i = 0; i < b.size(); ++i) first_in_b.try_emplace(b[i], static_cast<int>(i));
    for (int m : which) {
        auto it = first_in_b.find(a[static_cast<std::size_t>(m)]);
        out.push_back(it == first_in_b.end() ? -1 : it->second);
    }
}

}  // namespace ostrand
