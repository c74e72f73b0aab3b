// Bridging long outline edges with stored links whose ends meet the edge's ends.
#include <gtest/gtest.h>

#include "tests/polygon/basin/BasinFixture.h"

using namespace basintest;

namespace {

// A closed outline whose only long edge runs from (width, 0) back to (0, 0); the others are 0.005 long.
Ring outline_with_long_edge(double width) {
    std::vector<Point> pts{{0, 0}, {0, 0.005}};
    for (double x = 0.005; x <= width + 1e-12; x += 0.005) pts.push_back({x, 0.005});
    pts.push_back({width, 0});
    pts.push_back({0, 0});
    return Ring(pts);
}

std::vector<Point> inserted_after(std::vector<Point> pts, std::size_t at, const std::vector<Point>& add) {
    pts.insert(pts.begin() + static_cast<std::ptrdiff_t>(at) + 1, add.begin(), add.end());
    return pts;
}

}  // namespace

TEST(RepairMissingLink, LongEdgesAreBridgedOnlyAboveTheBridgeLength) {
    // The bridge's ends lie within 1e-4 of the edge's ends, not on them.
    const std::vector<Point> bridge{{0.02, 0.00005}, {0.015, -0.003}, {0.005, -0.003}, {0.00003, 0}};
    const std::vector<Point> reversed(bridge.rbegin(), bridge.rend());
    struct Case {
        const char* name;
        double width;
        std::vector<Point> stored;
        bool bridged;
        std::vector<Point> inserted;
    };
    const std::vector<Case> cases = {
        {"0.02 edge, link stored in walking order", 0.02, bridge, true, bridge},
        {"0.02 edge, link stored the other way", 0.02, reversed, true, bridge},
        {"0.01 edge is short enough", 0.01, {{0.01, 0.00005}, {0.005, -0.003}, {0.00003, 0}}, false, {}},
        {"a link of two points is no bridge", 0.02, {{0.02, 0.00005}, {0.00003, 0}}, false, {}},
        {"ends farther than 1e-4", 0.02, {{0.02, 0.0002}, {0.01, -0.003}, {0, 0}}, false, {}},
    };
    for (const Case& t : cases) {
        BasinCase c;
        c.link(1, t.stored);
        Ring ring = outline_with_long_edge(t.width);
        const std::vector<Point> before = ring.points;
        c.maker.repair_missing_link(ring);
        const std::size_t long_edge_start = before.size() - 2;
        EXPECT_EQ(ring.points, t.bridged ? inserted_after(before, long_edge_start, t.inserted) : before) << t.name;
    }
}

TEST(RepairMissingLink, StopsAfterAsManyStepsAsThereAreLinks) {
    // Each of these links carries the long edge along with it, so every step finds the same edge again.
    BasinCase c;
    const std::vector<Point> self_bridging{{0.02, 0}, {0.02, 0}, {0, 0}};
    c.link(1, self_bridging);
    c.link(2, self_bridging);
    Ring ring = outline_with_long_edge(0.02);
    const std::size_t before = ring.points.size();
    c.maker.repair_missing_link(ring);
    EXPECT_EQ(ring.points.size(), before + 2 * self_bridging.size());
}

TEST(RepairMissingLink, OmittedOutlineLinkIsTakenFromTheLinksOfTheFile) {
    // The catchment lists three sides; the fourth, the longest edge, is a link of three points that only
    // the file holds.
    BasinCase c;
    c.link(1, {{0, 0}, {0, 0.05}});
    c.link(2, {{0, 0.05}, {0.03, 0.05}, {0.06, 0.05}});
    c.link(3, {{0.06, 0.05}, {0.06, 0}});
    c.link(4, {{0.06, 0}, {0.03, -0.002}, {0, 0}});
    c.area(5, {1, 2, 3});
    c.build();
    EXPECT_TRUE(c.log().empty());
    ASSERT_EQ(c.maker.polygons.size(), 1u);
    EXPECT_EQ(c.outline(0), (std::vector<Point>{{0, 0}, {0, 0.05}, {0.03, 0.05}, {0.06, 0.05}, {0.06, 0}, {0.03, -0.002}}));
}
