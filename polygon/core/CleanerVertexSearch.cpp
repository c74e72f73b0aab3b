#include "polygon/core/CleanerVertexSearch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

namespace ostrand {

namespace {

// A point's coordinates as bits, equal exactly when Point::operator== holds: -0.0 is written as 0.0, and
// a point with a NaN coordinate, equal to nothing, gets no key.
struct Key {
    std::uint64_t x, y;
    std::size_t index;
    bool operator<(const Key& o) const {
        return x != o.x ? x < o.x : y != o.y ? y < o.y : index < o.index;
    }
    bool same_point(const Key& o) const { return x == o.x && y == o.y; }
};

std::uint64_t bits(double v) {
    if (v == 0.0) v = 0.0;
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

bool make_key(const Point& p, std::size_t index, Key& key) {
    if (std::isnan(p.x) || std::isnan(p.y)) return false;
    key = {bits(p.x), bits(p.y), index};
    return true;
}

// The points' keys sorted, equal points together in ascending index order.
std::vector<Key> sorted_keys(const std::vector<Point>& pts) {
    std::vector<Key> keys;
    keys.reserve(pts.size());
    Key k;
    for (std::size_t i = 0; i < pts.size(); ++i)
        if (make_key(pts[i], i, k)) keys.push_back(k);
    std::sort(keys.begin(), keys.end());
    return keys;
}

}  // namespace

bool find_first_loop(const std::vector<Point>& pts, std::size_t& p, std::size_t& q) {
    const std::size_t n = pts.size();
    if (n < 3) return false;
    constexpr std::size_t none = static_cast<std::size_t>(-1);
    std::vector<std::size_t> next_same(n, none);
    const std::vector<Key> keys = sorted_keys(pts);
    for (std::size_t k = 0; k + 1 < keys.size(); ++k)
        if (keys[k].same_point(keys[k + 1])) next_same[keys[k].index] = keys[k + 1].index;
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
    const std::vector<Key> keys = sorted_keys(b);
    Key k;
    for (int m : which) {
        int found = -1;
        if (make_key(a[static_cast<std::size_t>(m)], 0, k)) {
            const auto at = std::lower_bound(keys.begin(), keys.end(), k);
            if (at != keys.end() && at->same_point(k)) found = static_cast<int>(at->index);
        }
        out.push_back(found);
    }
}

}  // namespace ostrand
