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

Points closed(Points open) {
    if (!open.empty()) open.push_back(open.front());
    return open;
}

}  // namespace cleaner_test
