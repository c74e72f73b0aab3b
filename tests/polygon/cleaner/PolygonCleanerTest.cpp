// The cleaner on hand-made polygons: what comes out of clean(), and the failures.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "polygon/core/PolygonCleaner.h"
#include "tests/polygon/cleaner/CleanerTestSupport.h"

namespace {

using namespace cleaner_test;
using ostrand::PolygonCleaner;
using ostrand::ring_area;

constexpr double kTol = 1e-7;

struct CleanCase {
    const char* name;
    std::vector<Points> input;
    std::vector<Points> expected;  // open rings, in the cleaner's order, each from its first point
};

std::vector<CleanCase> clean_cases() {
    return {
        {"simple ring given counter-clockwise comes out clockwise, reversed whole",
         {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
         {{{0, 1}, {1, 1}, {1, 0}, {0, 0}}}},
        {"figure eight splits into two clockwise rings, larger first",
         {{{0, 0}, {0, 2}, {2, 2}, {2, 1}, {3, 1.5}, {3, 0.5}, {2, 1}, {2, 0}}},
         {{{0, 0}, {0, 2}, {2, 2}, {2, 1}, {2, 0}}, {{2, 1}, {3, 1.5}, {3, 0.5}}}},
        {"hole counter-clockwise, island in the hole clockwise again",
         {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{2, 2}, {2, 8}, {8, 8}, {8, 2}}, {{4, 4}, {6, 4}, {6, 6}, {4, 6}}},
         // The outer and the island are reversed when made clockwise, the hole when it is oriented, and the
         // island twice more by nesting.
         {{{0, 10}, {10, 10}, {10, 0}, {0, 0}}, {{8, 2}, {8, 8}, {2, 8}, {2, 2}}, {{4, 6}, {6, 6}, {6, 4}, {4, 4}}}},
        {"two squares overlapping at a corner merge into their outline",
         {{{0, 0}, {0, 2}, {2, 2}, {2, 0}}, {{1, 1}, {1, 3}, {3, 3}, {3, 1}}},
         {{{2, 1}, {2, 0}, {0, 0}, {0, 2}, {1, 2}, {1, 3}, {3, 3}, {3, 1}}}},
        {"a square mostly inside a larger one is cut out of it",
         {{{0, 0}, {0, 4}, {4, 4}, {4, 0}}, {{2.5, 1}, {2.5, 3}, {4.5, 3}, {4.5, 1}}},
         {{{4, 1}, {4, 0}, {0, 0}, {0, 4}, {4, 4}, {4, 3}, {2.5, 3}, {2.5, 1}}}},
        {"separate rings of equal area keep their order",
         {{{10, 0}, {10, 1}, {11, 1}, {11, 0}}, {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{5, 0}, {5, 2}, {6, 2}, {6, 0}}},
         {{{5, 0}, {5, 2}, {6, 2}, {6, 0}}, {{10, 0}, {10, 1}, {11, 1}, {11, 0}}, {{0, 0}, {0, 1}, {1, 1}, {1, 0}}}},
        {"two squares sharing an edge become one outline",
         {{{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{1, 0}, {1, 1}, {2, 1}, {2, 0}}},
         {{{1, 0}, {0, 0}, {0, 1}, {1, 1}, {2, 1}, {2, 0}}}},
        // b crosses a's top edge at (5,10) and (8,10) and touches it, without crossing, at (3,10), where a
        // has a notch. The stitched outline takes a's piece through (3,10) and then b's piece from (5,10)
        // back to (3,10): the notch stays as a loop of the outline, which passes (3,10) twice (the shapefile
        // writer cuts it there into the outline and a hole).
        {"a ring touching the other where they do not cross: the outline passes that vertex twice",
         {{{0, 0}, {0, 10}, {3, 10}, {4, 9}, {5, 10}, {10, 10}, {10, 0}},
          {{3, 10}, {3, 12}, {8, 12}, {8, 10}, {8, 8}, {6, 9}, {5, 10}}},
         {{{8, 10}, {10, 10}, {10, 0}, {0, 0}, {0, 10}, {3, 10}, {4, 9}, {5, 10}, {3, 10}, {3, 12}, {8, 12}}}},
    };
}

TEST(PolygonCleanerClean, CleansHandMadePolygons) {
    for (const CleanCase& c : clean_cases()) {
        SCOPED_TRACE(c.name);
        AreaPolygon polygon = closed_polygon(c.input);
        PolygonCleaner cleaner(polygon);
        ASSERT_TRUE(cleaner.clean(kTol));
        cleaner.store(polygon);
        ASSERT_EQ(polygon.rings.size(), c.expected.size());
        for (std::size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(describe(polygon.rings[i].points), describe(closed(c.expected[i]))) << "ring " << i;
    }
}

// b dips out of a through a's right edge and comes back, so that their union encloses a thin gap
// between x = 2 and x = 2 + w, about 0.4 high. Below the tolerance (1e-7) in area the gap is a sliver
// and is dropped; above it, it stays as a hole.
TEST(PolygonCleanerClean, GapEnclosedByAMergeIsDroppedOnlyBelowTheTolerance) {
    struct Case {
        double w;
        bool hole;
    };
    for (const Case& c : {Case{2e-7, false}, Case{4e-7, true}}) {
        SCOPED_TRACE(c.w);
        AreaPolygon polygon = closed_polygon({{{0, 0}, {0, 2}, {2, 2}, {2, 0}},
                                              {{1.9, 0.2}, {1.9, 0.3}, {2 + c.w, 0.5}, {2 + c.w, 0.9}, {1.9, 1.1},
                                               {1.9, 1.8}, {3, 1.8}, {3, 0.2}}});
        PolygonCleaner cleaner(polygon);
        ASSERT_TRUE(cleaner.clean(kTol));
        ASSERT_EQ(cleaner.rings.size(), c.hole ? 2u : 1u);
        EXPECT_TRUE(cleaner.rings[0].is_clockwise());
        EXPECT_NEAR(ring_area(cleaner.rings[0].points), 5.6, 1e-12);
        EXPECT_EQ(cleaner.rings[0].points.size(), 9u);  // the outline's 8 corners, closed
        if (c.hole) {
            EXPECT_FALSE(cleaner.rings[1].is_clockwise());
            EXPECT_GT(ring_area(cleaner.rings[1].points), kTol);
        }
    }
}

// A vertex of one ring near a sloping edge of another: within the tolerance it becomes a vertex of that
// edge too; twice as far it does not. The rings only touch, so both stay.
TEST(PolygonCleanerNoding, InsertsAVertexWithinTheToleranceOfAnotherRingsEdge) {
    struct Case {
        double offset;  // along each axis, away from the edge y = x
        bool inserted;
    };
    const Point a{0, 0}, b{2, 2};
    for (const Case& c : {Case{7.07e-8, true}, Case{1.4142e-7, false}}) {
        const Point near{1 - c.offset, 1 + c.offset};
        SCOPED_TRACE(describe({near}));
        // Guard the fixture: about 1e-7 and about 2e-7 from the edge, on either side of the tolerance.
        ASSERT_EQ(ostrand::point_line_distance(near, a, b) <= kTol, c.inserted);
        AreaPolygon polygon = closed_polygon({{a, b, {4, 0}}, {near, {0, 2}, {-1, 0}}});
        PolygonCleaner cleaner(polygon);
        ASSERT_TRUE(cleaner.clean(kTol));
        ASSERT_EQ(cleaner.rings.size(), 2u);
        const Points expected = c.inserted ? Points{a, near, b, {4, 0}} : Points{a, b, {4, 0}};
        EXPECT_EQ(describe(cleaner.rings[0].points), describe(closed(expected)));
    }
}

TEST(PolygonCleanerFailure, SingleSharedCrossingVertexThrows) {
    // b's top edge crosses a's bottom edge at a slope difference below the tolerance, which the noding
    // takes for parallel lines; the only vertex they share is where b leaves a through its right edge.
    AreaPolygon polygon = closed_polygon(
        {{{-10, 0}, {-10, 10}, {10, 10}, {10, 0}}, {{-12, -6e-7}, {12, 6e-7}, {12, -5}, {-12, -5}}});
    PolygonCleaner cleaner(polygon);
    try {
        cleaner.clean(kTol);
        FAIL() << "no exception";
    } catch (const std::string& e) {
        EXPECT_EQ(e, "Error : enum_intersections()");
    }
}

// A row of squares each overlapping the next: n squares need n - 1 merges, one per pass; the
// twenty-first pass is refused.
std::vector<Points> stair_of_squares(int n) {
    std::vector<Points> rings;
    for (int k = 0; k < n; ++k) {
        const double x = k * 1.5, y = k * 0.5;
        rings.push_back({{x, y}, {x, y + 1}, {x + 2, y + 1}, {x + 2, y}});
    }
    return rings;
}

TEST(PolygonCleanerFailure, PassLimitAllowsNineteenMergesNotTwenty) {
    for (int n : {20, 21}) {
        SCOPED_TRACE(n);
        AreaPolygon polygon = closed_polygon(stair_of_squares(n));
        PolygonCleaner cleaner(polygon);
        const bool ok = cleaner.clean(kTol);
        EXPECT_EQ(ok, n == 20);
        if (ok) {
            EXPECT_EQ(cleaner.rings.size(), 1u);
        }
    }
}

TEST(PolygonCleanerFailure, PassLimitBelongsToEachCleaner) {
    // Cleaners on other threads must not use up each other's passes.
    std::vector<int> succeeded(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t, &succeeded] {
            for (int round = 0; round < 25; ++round) {
                AreaPolygon polygon = closed_polygon(stair_of_squares(20));
                PolygonCleaner cleaner(polygon);
                if (cleaner.clean(kTol)) ++succeeded[t];
            }
        });
    for (std::thread& th : threads) th.join();
    for (int t = 0; t < 4; ++t) EXPECT_EQ(succeeded[t], 25);
}

TEST(PolygonCleanerFailure, OverlapAlongCollinearEdgesCannotBeResolved) {
    // Stitching rings that overlap along their edges gives back the same two rings, pass after pass.
    AreaPolygon polygon = closed_polygon({{{0, 0}, {0, 1}, {2, 1}, {2, 0}}, {{1.5, 0}, {1.5, 1}, {3.5, 1}, {3.5, 0}}});
    PolygonCleaner cleaner(polygon);
    EXPECT_FALSE(cleaner.clean(kTol));
}

TEST(PolygonCleanerFailure, NothingLeftToCleanFails) {
    struct Case {
        const char* name;
        AreaPolygon polygon;
    };
    AreaPolygon two_points;
    two_points.rings.emplace_back(Points{{0, 0}, {1, 1}});
    AreaPolygon repeated_point;
    repeated_point.rings.emplace_back(Points{{1, 1}, {1, 1}, {1, 1}, {1, 1}});
    for (const Case& c : {Case{"no ring", AreaPolygon{}}, Case{"two points", two_points},
                          Case{"one point repeated", repeated_point}}) {
        SCOPED_TRACE(c.name);
        PolygonCleaner cleaner(c.polygon);
        EXPECT_FALSE(cleaner.clean(kTol));
    }
}

TEST(PolygonCleanerStore, EveryStoredRingIsClosedWithItsBox) {
    AreaPolygon polygon = closed_polygon({{{0, 0}, {0, 2}, {2, 2}, {2, 1}, {3, 1.5}, {3, 0.5}, {2, 1}, {2, 0}}});
    PolygonCleaner cleaner(polygon);
    ASSERT_TRUE(cleaner.clean(kTol));
    cleaner.store(polygon);
    ASSERT_EQ(polygon.rings.size(), 2u);
    for (const ostrand::Ring& r : polygon.rings) {
        EXPECT_TRUE(r.points.front() == r.points.back());
        const ostrand::BBox box = ostrand::points_bbox(r.points);
        EXPECT_EQ(r.bbox().xmin, box.xmin);
        EXPECT_EQ(r.bbox().ymax, box.ymax);
    }
}

}  // namespace
