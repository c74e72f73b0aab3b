#include "tests/polygon/cleaner/CleanerTestSupport.h"

#include <cstdio>

namespace cleaner_test {

AreaPolygon closed_polygon(const std::vector<Points>& rings) {
    AreaPolygon p;
    for (Points r : rings) {
        r.push_back(r.front());
        p.rings.emplace_back(r);
    }
    return p;
}

std::string describe(const Points& pts) {
    std::string s;
    char buf[64];
    for (const Point& q : pts) {
        std::snprintf(buf, sizeof buf, "(%.17g,%.17g) ", q.x, q.y);
        s += buf;
    }
    return s;
}

bool same_cycle(const Points& closed, const Points& expected) {
    if (closed.empty() || !(closed.front() == closed.back())) return false;
    const std::size_t n = closed.size() - 1;
    if (n != expected.size()) return false;
    for (std::size_t start = 0; start < n; ++start) {
        bool all = true;
        for (std::size_t k = 0; k < n && all; ++k) all = closed[(start + k) % n] == expected[k];
        if (all) return true;
    }
    return false;
}

}  // namespace cleaner_test
