// The cleaner's vertex searches look points up by their coordinates' bits: equality must stay exactly
// Point::operator==, for which -0.0 equals 0.0 and a NaN equals nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "polygon/core/CleanerVertexSearch.h"

namespace {

using ostrand::Point;

TEST(FirstEqualVertices, SignedZerosMatchNaNsNeverAndTheFirstRepeatWins) {
    const double nan = std::nan("");
    const std::vector<Point> b = {{1, 2}, {0.0, 5}, {3, 3}, {1, 2}, {nan, 1}, {3, 3}};
    const std::vector<Point> a = {{3, 3}, {-0.0, 5}, {nan, 1}, {1, 2}, {7, 7}};
    std::vector<int> found;
    ostrand::first_equal_vertices(a, {0, 1, 2, 3, 4}, b, found);
    EXPECT_EQ(found, (std::vector<int>{2, 1, -1, 0, -1}));
}

TEST(FindFirstLoop, FirstStartThenFirstEndAtLeastTwoOn) {
    struct Case {
        std::vector<Point> pts;
        bool found;
        std::size_t p, q;
    };
    const double nan = std::nan("");
    const std::vector<Case> cases = {
        {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}, false, 0, 0},                   // simple
        {{{0, 0}, {0, 0}, {1, 1}}, false, 0, 0},                           // a repeat next to itself is no loop
        {{{5, 5}, {0, 0}, {1, 0}, {0, 0}, {5, 5}}, true, 0, 4},            // the earliest start wins
        {{{0, 0}, {1, 0}, {-0.0, 0}, {1, 1}}, true, 0, 2},                 // -0.0 equals 0.0
        {{{nan, 0}, {1, 0}, {nan, 0}, {1, 1}}, false, 0, 0},               // a NaN equals nothing
        {{{2, 2}, {0, 0}, {1, 0}, {0, 0}, {1, 0}, {0, 0}}, true, 1, 3},    // the first later match
    };
    for (const Case& c : cases) {
        std::size_t p = 99, q = 99;
        const bool found = ostrand::find_first_loop(c.pts, p, q);
        EXPECT_EQ(found, c.found);
        if (c.found) {
            EXPECT_EQ(p, c.p);
            EXPECT_EQ(q, c.q);
        }
    }
}

}  // namespace
