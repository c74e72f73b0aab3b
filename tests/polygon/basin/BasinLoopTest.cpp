// Small loops of catchment outlines cut at the crossing, with the neighbours that held the cut corner.
#include <gtest/gtest.h>

#include "tests/polygon/basin/BasinFixture.h"

using namespace basintest;

namespace {

AreaPolygon closed_polygon(std::vector<Point> pts) {
    pts.push_back(pts.front());
    AreaPolygon p;
    p.rings.emplace_back(std::move(pts));
    return p;
}

// An outline whose segments (4,10)-(6,11) and (6,10)-(4,11) cross at (5,10.5) after the short
// segment (6,11)-(6,10).
const std::vector<Point> kLooped{{0, 0}, {0, 10}, {4, 10}, {6, 11}, {6, 10}, {4, 11}, {10, 12}, {10, 0}};
// Holds the loop's corner (6,11) and has a vertex at its other corner (6,10).
const std::vector<Point> kNeighbourWithCorner{{6, 10}, {5, 13}, {9, 13}, {9, 10}};
// Holds (6,11) but has no vertex at either corner.
const std::vector<Point> kNeighbourWithoutCorner{{5.5, 10.8}, {5.5, 12}, {7, 12}, {7, 10.8}};

}  // namespace

TEST(BasinLoops, LoopIsCutAtTheCrossingAndTwoNeighboursFollow) {
    BasinCase c;
    c.maker.polygons = {closed_polygon(kLooped), closed_polygon(kNeighbourWithCorner),
                        closed_polygon(kNeighbourWithoutCorner), closed_polygon(kNeighbourWithCorner),
                        closed_polygon({{20, 0}, {20, 5}, {25, 5}, {25, 0}})};
    for (std::size_t f = 1; f <= 3; ++f) ASSERT_GT(c.maker.polygons[f].rings[0].locate_point({6, 11}), 0);
    c.maker.modify_after();

    auto ring = [&](std::size_t k) { return c.maker.polygons[k].rings[0].points; };
    auto closed = [](std::vector<Point> pts) {
        pts.push_back(pts.front());
        return pts;
    };
    EXPECT_EQ(ring(0), closed({{0, 0}, {0, 10}, {4, 10}, {5, 10.5}, {4, 11}, {10, 12}, {10, 0}}));
    EXPECT_EQ(ring(1), closed({{5, 10.5}, {5, 13}, {9, 13}, {9, 10}}));
    // The second neighbour counts although it had nothing to move; the third is past the two.
    EXPECT_EQ(ring(2), closed(kNeighbourWithoutCorner));
    EXPECT_EQ(ring(3), closed(kNeighbourWithCorner));
    EXPECT_EQ(ring(4), closed({{20, 0}, {20, 5}, {25, 5}, {25, 0}}));
}

TEST(BasinLoops, OutlinesWithoutCrossingsStayAsBuilt) {
    BasinCase c;
    const std::vector<Point> square{{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    c.maker.polygons = {closed_polygon(square), AreaPolygon{}};
    c.maker.modify_after();
    EXPECT_EQ(c.maker.polygons[0].rings[0].points, closed_polygon(square).rings[0].points);
    EXPECT_TRUE(c.maker.polygons[1].rings.empty());
}

// A neighbour whose corner moved past the edge of its box must be seen with its new outline: a later
// loop's corner that lies in the part the neighbour gained (outside its former box) moves it again, so
// the two catchments still meet. With the box of the outline before the move, the neighbour would be
// taken to be elsewhere and keep a corner the other catchment no longer has.
TEST(BasinLoops, NeighbourMovedPastItsBoxIsFoundThere) {
    BasinCase c;
    // Holds (6,11); its vertex at the loop's corner (6,10) is not its first, and moves to (5,10.5), west
    // of its box (x from 5.5).
    const std::vector<Point> neighbour{{9, 10}, {6, 10}, {5.5, 13}, {9, 13}};
    // A loop whose corners (5.2,10.6) and (5,10.5) lie in the part the neighbour gained; its segments
    // (5,10.8)-(5.2,10.6) and (5,10.5)-(5.3,10.8) cross at (5.15,10.65).
    const std::vector<Point> later{{4.5, 10.2}, {5, 10.8}, {5.2, 10.6}, {5, 10.5}, {5.3, 10.8}, {4.6, 11.6}};
    // The neighbour comes last, so its own turn (which rebuilds its outline) is after both loops.
    c.maker.polygons = {closed_polygon(kLooped), closed_polygon(later), closed_polygon(neighbour)};
    c.maker.modify_after();
    const Point crossing = c.maker.polygons[1].rings[0].points[2];
    EXPECT_NEAR(crossing.x, 5.15, 1e-12);
    EXPECT_NEAR(crossing.y, 10.65, 1e-12);
    EXPECT_EQ(c.maker.polygons[0].rings[0].points[3], crossing);  // the first outline had the corner too
    const std::vector<Point> moved = c.maker.polygons[2].rings[0].points;
    EXPECT_EQ(moved, (std::vector<Point>{{9, 10}, crossing, {5.5, 13}, {9, 13}, {9, 10}}));
}

// A vertex of a catchment's link moved far west (a garbled coordinate): the outline crosses itself far from
// any loop of three segments, so the loop step leaves it, and the catchment is not written.
TEST(BasinLoops, AnOutlineTheLoopStepCannotMendIsLeftOutWithItsReason) {
    BasinCase c;
    c.link(1, {{0, 0}, {0, 0.05}, {0.03, 0.05}, {0.03, 0.03}, {-1, 0.02}, {0.03, 0.01}, {0.03, 0}, {0, 0}});
    c.link(2, {{0.1, 0}, {0.1, 0.05}, {0.13, 0.05}, {0.13, 0}, {0.1, 0}});
    c.area(1, {1});
    c.area(2, {2});
    c.build();
    ASSERT_EQ(c.maker.polygons.size(), 1u);
    EXPECT_EQ(c.outline(0), (std::vector<Point>{{0.1, 0}, {0.1, 0.05}, {0.13, 0.05}, {0.13, 0}}));
    EXPECT_EQ(c.maker.attr_records.count(1), 0u);
    EXPECT_EQ(c.maker.attr_records.count(2), 1u);
    EXPECT_EQ(c.counts(), (std::array<int, 4>{2, 1, 0, 1}));
    const std::vector<std::string> log = c.log();
    EXPECT_EQ(log, (std::vector<std::string>{"[000001]ポリゴンの境界線が交差しています。",
                                             "[000001]有効なポリゴンが作成できないためこの属性番号のデータは保存しません。\n"}));
}
