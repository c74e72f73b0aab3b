#include <gtest/gtest.h>

#include <cmath>

#include "polygon/core/Geometry.h"

using namespace ostrand;

TEST(PolygonIsBetween, StrictInEitherOrder) {
    EXPECT_TRUE(is_between(1, 0, 2));
    EXPECT_TRUE(is_between(1, 2, 0));
    EXPECT_FALSE(is_between(0, 0, 2));
    EXPECT_FALSE(is_between(1, 1, 1));
}

TEST(SegmentsIntersect, Cases) {
    struct Case {
        const char* what;
        Point a, b, c, d;
        bool crosses;
    } cases[] = {
        {"proper cross", {0, 0}, {2, 2}, {0, 2}, {2, 0}, true},
        {"touching ends", {0, 0}, {1, 1}, {1, 1}, {2, 0}, false},
        {"T at an end of cd", {0, 0}, {2, 0}, {1, 0}, {1, 1}, false},
        {"overlapping collinear", {0, 0}, {2, 0}, {1, 0}, {3, 0}, false},
        {"parallel", {0, 0}, {2, 0}, {0, 1}, {2, 1}, false},
        {"slopes differ by 1e-7", {0, 0}, {1, 0}, {0, 1}, {1, 1 + 1e-7}, false},
        {"slopes differ by 1e-6", {0, 0}, {1, 0}, {-1, -1.5e-6}, {2, 1.5e-6}, true},
        {"vertical against sloping", {1, -1}, {1, 1}, {0, 0}, {2, 0.5}, true},
        {"both vertical", {1, -1}, {1, 1}, {1, 0}, {1, 2}, false},
        {"lines cross outside cd", {0, 0}, {2, 2}, {3, 0}, {2.5, 0.5}, false},
    };
    for (const Case& c : cases) {
        Point out;
        EXPECT_EQ(segments_intersect(c.a, c.b, c.c, c.d, out), c.crosses) << c.what;
    }
}

TEST(LineIntersection, VerticalAndGeneral) {
    Point r = line_intersection({1, -1}, {1, 1}, {0, 0}, {2, 1});
    EXPECT_EQ(r.x, 1);
    EXPECT_DOUBLE_EQ(r.y, 0.5);
    r = line_intersection({0, 0}, {2, 1}, {1, -1}, {1, 1});
    EXPECT_EQ(r.x, 1);
    EXPECT_DOUBLE_EQ(r.y, 0.5);
    r = line_intersection({0, 0}, {2, 2}, {0, 2}, {2, 0});
    EXPECT_DOUBLE_EQ(r.x, 1);
    EXPECT_DOUBLE_EQ(r.y, 1);
    // A larger tolerance makes a nearly vertical segment vertical.
    r = line_intersection_tol({1, -1}, {1.001, 1}, {0, 0}, {2, 0}, 0.01);
    EXPECT_EQ(r.x, 1);
    EXPECT_TRUE(is_parallel_tol({0, 0}, {1e-3, 1}, {5, 0}, {5, 1}, 0.01));
    EXPECT_FALSE(is_parallel({0, 0}, {1e-3, 1}, {5, 0}, {5, 1}));
    EXPECT_FALSE(is_parallel({0, 0}, {1, 1}, {5, 0}, {5, 1}));
}

TEST(PointLineDistance, Cases) {
    struct Case {
        const char* what;
        Point p, a, b;
        double dist;
    } cases[] = {
        {"vertical line", {3, 7}, {1, 0}, {1, 5}, 2},
        {"horizontal line", {3, 7}, {0, 1}, {5, 1}, 6},
        {"on the sloping line", {2, 2}, {0, 0}, {1, 1}, 0},
        {"beyond the segment still measures the line", {10, 0}, {0, 0}, {1, 1}, std::sqrt(50.0)},
        {"off the sloping line", {0, 2}, {0, 0}, {1, 1}, std::sqrt(2.0)},
    };
    for (const Case& c : cases) EXPECT_NEAR(point_line_distance(c.p, c.a, c.b), c.dist, 1e-12) << c.what;
}
