#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "polygon/core/Geometry.h"

using namespace ostrand;

namespace {

std::vector<Point> unitSquareCw() { return {{0, 0}, {0, 1}, {1, 1}, {1, 0}}; }

std::vector<Point> reversed(std::vector<Point> v) { return {v.rbegin(), v.rend()}; }

std::vector<Point> closed(std::vector<Point> v) {
    v.push_back(v.front());
    return v;
}

}  // namespace

TEST(RingArea, CasesOfTheMeasure) {
    struct Case {
        const char* what;
        std::vector<Point> pts;
        double area;
    } cases[] = {
        {"two points", {{0, 0}, {1, 1}}, 0.0},
        {"collinear", {{0, 0}, {1, 1}, {2, 2}, {3, 3}}, 0.0},
        {"unit square", unitSquareCw(), 1.0},
        {"unit square reversed", reversed(unitSquareCw()), 1.0},
        {"closed unit square", closed(unitSquareCw()), 1.0},
        {"triangle far from origin", {{135, 35}, {135.5, 35}, {135, 36}}, 0.25},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(ring_area(c.pts), c.area) << c.what;
}

TEST(RingArea, ClosedAndOpenCopiesAgreeBitForBit) {
    std::vector<Point> r = {{139.1234567, 35.7654321}, {139.2, 35.9}, {139.31, 35.71}, {139.15, 35.6}};
    EXPECT_EQ(ring_area(r), ring_area(closed(r)));
}

TEST(RingOrientation, Cases) {
    struct Case {
        const char* what;
        std::vector<Point> pts;
        bool clockwise;
    } cases[] = {
        {"unit square", unitSquareCw(), true},
        {"unit square reversed", reversed(unitSquareCw()), false},
        {"closed unit square", closed(unitSquareCw()), true},
        {"closed unit square reversed", closed(reversed(unitSquareCw())), false},
        // leftmost vertex inside a vertical edge running upwards through it
        {"vertical edge up", {{0, 1}, {0, 2}, {1, 2}, {1, 0}, {0, 0}}, true},
        {"vertical edge down", {{0, 1}, {0, 0}, {1, 0}, {1, 2}, {0, 2}}, false},
        {"leftmost is last vertex", {{1, 0}, {0.5, -1}, {0, 0}}, true},
    };
    for (const Case& c : cases) EXPECT_EQ(ring_is_clockwise(c.pts), c.clockwise) << c.what;
}

TEST(RingLocatePoint, Cases) {
    // A square with a notch: vertical edges on x = 0, 2 and the notch at x = 1.
    Ring square(unitSquareCw());
    Ring notch(std::vector<Point>{{0, 0}, {0, 2}, {1, 2}, {1, 1}, {2, 1}, {2, 0}});
    Ring diamond(std::vector<Point>{{0, 1}, {1, 2}, {2, 1}, {1, 0}});
    struct Case {
        const char* what;
        const Ring* ring;
        Point p;
        int result;
    } cases[] = {
        {"inside", &square, {0.5, 0.5}, 1},
        {"vertex", &square, {1, 1}, 0},
        {"first vertex", &square, {0, 0}, 0},
        {"on vertical edge", &square, {0, 0.5}, 0},
        {"on right vertical edge", &square, {1, 0.25}, 0},
        {"on horizontal edge", &square, {0.5, 1}, 0},
        {"outside box", &square, {2, 2}, -1},
        {"on sloping edge", &diamond, {0.5, 1.5}, 0},
        {"inside diamond", &diamond, {1, 1}, 1},
        {"box corner outside diamond", &diamond, {0, 0}, -1},
        {"box edge outside diamond", &diamond, {0.25, 2}, -1},
        {"below notch vertex line", &notch, {1, 0.5}, 1},
        {"in notch, outside", &notch, {1.5, 1.5}, -1},
        {"notch vertical edge", &notch, {1, 1.5}, 0},
        {"inside notch arm", &notch, {0.5, 1.5}, 1},
        {"on vertical line of vertices above", &notch, {2, 1.5}, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.ring->locate_point(c.p), c.result) << c.what;
}

TEST(RingLocatePoint, OutsideTheBoxIsDecidedByTheBoxAlone) {
    // A degenerate ring whose vertices would not bear a crossing count: the box answers first.
    Ring r(std::vector<Point>{{0, 0}, {1, 1}});
    EXPECT_EQ(r.locate_point({5, 5}), -1);
}

TEST(RingBox, CachedBoxFollowsAddedPoints) {
    Ring r;
    EXPECT_FALSE(r.box_valid);
    r.add_point({1, 2});
    r.add_point({-3, 4});
    const BBox b = r.bbox();
    EXPECT_EQ(b.xmin, -3);
    EXPECT_EQ(b.xmax, 1);
    EXPECT_EQ(b.ymin, 2);
    EXPECT_EQ(b.ymax, 4);
    r.add_point({10, 0});
    EXPECT_EQ(r.bbox().xmax, 10);
    Ring copy(r);
    EXPECT_TRUE(copy.box_valid);
    Ring moved(std::move(copy));
    EXPECT_EQ(moved.bbox().ymin, 0);
    EXPECT_EQ(moved.points.size(), 3u);
}

TEST(RingBoxes, EmptyInputsGiveTheZeroBoxWhichHoldsTheOrigin) {
    BBox b = points_bbox({});
    EXPECT_EQ(b.xmin, 0);
    EXPECT_EQ(b.ymax, 0);
    EXPECT_TRUE(b.contains({0, 0}));
    BBox u = rings_bbox({});
    EXPECT_EQ(u.xmax, 0);
}

TEST(RingBoxes, RingsBoxIsTheUnion) {
    std::vector<Ring> rings = {Ring(std::vector<Point>{{1, 1}, {2, 3}}), Ring(std::vector<Point>{{-1, 2}, {0, 5}})};
    BBox u = rings_bbox(rings);
    EXPECT_EQ(u.xmin, -1);
    EXPECT_EQ(u.ymin, 1);
    EXPECT_EQ(u.xmax, 2);
    EXPECT_EQ(u.ymax, 5);
}

TEST(AreaPolygonArea, HoleSubtracts) {
    AreaPolygon p;
    p.rings.emplace_back(std::vector<Point>{{0, 0}, {0, 4}, {4, 4}, {4, 0}});
    p.rings.emplace_back(std::vector<Point>{{1, 1}, {2, 1}, {2, 2}, {1, 2}});
    EXPECT_DOUBLE_EQ(p.area(), 15.0);
}

TEST(PolygonPointTolerance, WithinAndUnique) {
    EXPECT_TRUE(points_within({0, 0}, {1e-7, 0}, kPointTolerance));
    EXPECT_FALSE(points_within({0, 0}, {2e-7, 0}, kPointTolerance));
    std::vector<Point> v = {{0, 0}, {0.5e-7, 0}, {0.9e-7, 0}, {1.5e-7, 0}, {1, 1}, {1, 1}};
    unique_within(v);
    // Each point is compared with the last point kept, not with its neighbour.
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[1].x, 1.5e-7);
    EXPECT_EQ(v[2], (Point{1, 1}));
    std::vector<Point> w = {{0, 0}, {3, 3}, {1e-8, 0}};
    EXPECT_EQ(find_point_within(w.begin(), w.end(), {2e-8, 0}, kPointTolerance), w.begin());
    EXPECT_EQ(find_point_within(w.begin() + 1, w.end(), {2e-8, 0}, kPointTolerance), w.begin() + 2);
    EXPECT_EQ(find_point_within(w.begin(), w.end(), {9, 9}, kPointTolerance), w.end());
}

TEST(SameBox, MatchesWithinTolerance) {
    Ring kept(std::vector<Point>{{0, 0}, {0, 1}, {1, 1}, {1, 0}});
    SameBoxWithin near{BBox{5e-8, 0, 1, 1}, kPointTolerance};
    SameBoxWithin far{BBox{2e-7, 0, 1, 1}, kPointTolerance};
    EXPECT_TRUE(near(kept));
    EXPECT_FALSE(far(kept));
}

TEST(LinkRefOrder, MeshBytesThenNumberDirectionIgnored) {
    std::map<LinkRef, int> m;
    m[{"533900", 5, true}] = 1;
    EXPECT_EQ(m.count({"533900", 5, false}), 1u);
    EXPECT_TRUE((LinkRef{"53390", 9, true}) < (LinkRef{"533900", 1, true}));
    EXPECT_TRUE((LinkRef{"533900", 9, true}) < (LinkRef{"\x93\x8c", 1, true}));  // bytes compare unsigned
    EXPECT_TRUE(same_links({{"533900", 1, true}, {"533900", 2, false}}, {{"533900", 1, false}, {"533900", 2, true}}));
    EXPECT_FALSE(same_links({{"533900", 1, true}}, {{"533901", 1, true}}));
    EXPECT_FALSE(same_links({{"533900", 1, true}}, {{"533900", 1, true}, {"533900", 2, true}}));
}
