// Rings cut at repeated vertices into loops before they are written.
#include <gtest/gtest.h>

#include <vector>

#include "polygon/core/SimpleRings.h"

using namespace ostrand;

namespace {

std::vector<std::vector<Point>> points_of(const std::vector<Ring>& rings) {
    std::vector<std::vector<Point>> out;
    for (const Ring& r : rings) out.push_back(r.points);
    return out;
}

// A closed ring of many points: a clockwise square whose top edge has n vertices.
std::vector<Point> long_square(int n) {
    std::vector<Point> pts{{0, 0}};
    for (int i = 0; i < n; ++i) pts.push_back({static_cast<double>(i) / n, 10});
    pts.push_back({10, 10});
    pts.push_back({10, 0});
    pts.push_back({0, 0});
    return pts;
}

}  // namespace

TEST(SimpleRings, LoopsReplaceRingsThatPassAVertexTwice) {
    using Pts = std::vector<Point>;
    struct Case {
        const char* what;
        Pts ring;
        std::vector<Pts> expected;
    } cases[] = {
        {"a simple ring stays as it is, open or closed",
         {{0, 0}, {0, 2}, {2, 2}, {2, 0}, {0, 0}},
         {{{0, 0}, {0, 2}, {2, 2}, {2, 0}, {0, 0}}}},
        {"an open simple ring stays open", {{0, 0}, {0, 2}, {2, 2}}, {{{0, 0}, {0, 2}, {2, 2}}}},
        // The outline of a 4 x 4 square that runs into a pocket from its top corner (2, 4) and back.
        {"a pocket pinched off an outer ring becomes a counter-clockwise hole",
         {{0, 0}, {0, 4}, {2, 4}, {1, 2}, {3, 2}, {2, 4}, {4, 4}, {4, 0}, {0, 0}},
         {{{0, 0}, {0, 4}, {2, 4}, {4, 4}, {4, 0}, {0, 0}}, {{2, 4}, {1, 2}, {3, 2}, {2, 4}}}},
        {"a figure eight becomes two clockwise outer rings, the first point's loop first",
         {{0, 0}, {0, 1}, {1, 1}, {2, 2}, {2, 1}, {1, 1}, {1, 0}, {0, 0}},
         {{{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}}, {{1, 1}, {2, 2}, {2, 1}, {1, 1}}}},
        {"a spike walked out and back is left out",
         {{0, 0}, {0, 2}, {1, 2}, {1, 5}, {1, 2}, {2, 2}, {2, 0}, {0, 0}},
         {{{0, 0}, {0, 2}, {1, 2}, {2, 2}, {2, 0}, {0, 0}}}},
        {"a loop within a loop is cut first",
         {{0, 0}, {0, 6}, {3, 6}, {1, 2}, {2, 4}, {3, 4}, {2, 4}, {5, 2}, {3, 6}, {6, 6}, {6, 0}, {0, 0}},
         {{{0, 0}, {0, 6}, {3, 6}, {6, 6}, {6, 0}, {0, 0}}, {{3, 6}, {1, 2}, {2, 4}, {5, 2}, {3, 6}}}},
        {"signed zeros are the same vertex",
         {{0, 0}, {0, 1}, {1, 1}, {2, 2}, {2, 1}, {1, 1}, {1, -0.0}, {-0.0, 0}},
         {{{0, 0}, {0, 1}, {1, 1}, {1, -0.0}, {0, 0}}, {{1, 1}, {2, 2}, {2, 1}, {1, 1}}}},
        {"nothing but a spike keeps the ring as it was",
         {{0, 0}, {1, 1}, {0, 0}, {1, 1}},
         {{{0, 0}, {1, 1}, {0, 0}, {1, 1}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(points_of(simple_rings({Ring(c.ring)})), c.expected);
    }
}

TEST(SimpleRings, LongRingsAreSearchedLikeShortOnes) {
    // A pocket pinched off the top edge of a ring above the pairwise limit, next to a simple ring.
    std::vector<Point> pinched = long_square(100);
    const Point top = pinched[50];
    pinched.insert(pinched.begin() + 51, {{top.x + 0.001, 5}, {top.x + 0.002, 5}, top});
    const std::vector<Ring> out = simple_rings({Ring(pinched), Ring(long_square(100))});
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].points, long_square(100));
    EXPECT_EQ(out[1].points, (std::vector<Point>{top, {top.x + 0.001, 5}, {top.x + 0.002, 5}, top}));
    EXPECT_FALSE(out[1].is_clockwise());
    EXPECT_EQ(out[2].points, long_square(100));
}
