// Polygon rings end where they start: an open ring is closed by repeating its first vertex.
#include <gtest/gtest.h>

#include "brunhale/ShapefileOutput.h"

using namespace velmora::brunhale;

namespace {

struct Rings {
    std::vector<int> starts;
    std::vector<double> xs, ys;
    bool operator==(const Rings&) const = default;
};

void PrintTo(const Rings& r, std::ostream* os) {
    *os << "starts";
    for (int s : r.starts) *os << ' ' << s;
    *os << " vertices";
    for (std::size_t i = 0; i < r.xs.size(); ++i) *os << " (" << r.xs[i] << ',' << r.ys[i] << ')';
}

TEST(RingClosing, OpenRingsAreClosedAndLaterRingsShifted) {
    struct {
        const char* what;
        Rings in, out;
    } cases[] = {
        {"a closed ring stays", {{0}, {0, 0, 1, 0}, {0, 1, 1, 0}}, {{0}, {0, 0, 1, 0}, {0, 1, 1, 0}}},
        {"an open ring gets its first vertex again", {{0}, {0, 0, 1, 1}, {0, 1, 1, 0}},
         {{0}, {0, 0, 1, 1, 0}, {0, 1, 1, 0, 0}}},
        {"open in y only", {{0}, {0, 0, 1, 0}, {0, 1, 1, 0.5}}, {{0}, {0, 0, 1, 0, 0}, {0, 1, 1, 0.5, 0}}},
        {"the first of two rings open, the second closed",
         {{0, 3}, {0, 0, 1, 5, 5, 6, 5}, {0, 1, 1, 5, 6, 6, 5}},
         {{0, 4}, {0, 0, 1, 0, 5, 5, 6, 5}, {0, 1, 1, 0, 5, 6, 6, 5}}},
        {"both rings open", {{0, 3}, {0, 0, 1, 5, 5, 6}, {0, 1, 1, 5, 6, 6}},
         {{0, 4}, {0, 0, 1, 0, 5, 5, 6, 5}, {0, 1, 1, 0, 5, 6, 6, 5}}},
    };
    for (auto& c : cases) {
        Rings r = c.in;
        closeRings(r.starts, r.xs, r.ys);
        EXPECT_EQ(r, c.out) << c.what;
    }
}

}  // namespace
