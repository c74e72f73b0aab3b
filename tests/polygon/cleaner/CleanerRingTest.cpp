// The pieces of the cleaner: ring splitting and noding, the pairwise intersection rule, crossing and
// containment tests, and the segment index the noding searches with.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "polygon/core/CleanerPointLocator.h"
#include "polygon/core/CleanerRing.h"
#include "polygon/core/CleanerSegmentIndex.h"
#include "polygon/core/PolygonCleaner.h"
#include "tests/polygon/cleaner/CleanerTestSupport.h"

namespace {

using namespace cleaner_test;
using ostrand::CleanerRing;
using ostrand::InsertionMap;

constexpr double kTol = 1e-7;

Points points_of(const std::vector<CleanerRing>& rings, std::size_t i) { return rings.at(i).points; }

TEST(CleanerRingSplit, ClosedRingIsOpened) {
    CleanerRing ring(Points{{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}});
    std::vector<CleanerRing> out;
    ring.split_self_intersections(out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(describe(out[0].points), describe({{0, 0}, {0, 1}, {1, 1}, {1, 0}}));
    EXPECT_EQ(out[0].area, 1.0);
}

TEST(CleanerRingSplit, LoopsComeOutByAreaWithDuplicatesRemoved) {
    // Two loops hang off the main ring at (2,1) and (0,1); consecutive repeats are dropped first.
    CleanerRing ring(Points{{0, 0}, {0, 0}, {0, 1}, {-1, 1.5}, {-1, 0.5}, {0, 1}, {0, 2}, {2, 2}, {2, 1}, {4, 2},
                            {4, 0}, {2, 1}, {2, 0}, {0, 0}});
    std::vector<CleanerRing> out;
    ring.split(out, kTol);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(describe(points_of(out, 0)), describe({{0, 0}, {0, 1}, {0, 2}, {2, 2}, {2, 1}, {2, 0}}));
    EXPECT_EQ(describe(points_of(out, 1)), describe({{2, 1}, {4, 2}, {4, 0}}));
    EXPECT_EQ(describe(points_of(out, 2)), describe({{0, 1}, {-1, 1.5}, {-1, 0.5}}));
}

TEST(CleanerRingSplit, SelfCrossingRingIsNodedAndSplit) {
    // A bow tie: its two edges cross at (1,1), which becomes a vertex of both loops.
    CleanerRing ring(Points{{0, 0}, {2, 2}, {2, 0}, {0, 2}});
    std::vector<CleanerRing> out;
    ring.split(out, kTol);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].area, 1.0);
    EXPECT_EQ(out[1].area, 1.0);
    EXPECT_EQ(describe(points_of(out, 0)), describe({{1, 1}, {2, 2}, {2, 0}}));
    EXPECT_EQ(describe(points_of(out, 1)), describe({{0, 0}, {1, 1}, {0, 2}}));
}

TEST(CleanerRingNoding, InsertedPointsFollowTheirSegmentNearestFirst) {
    CleanerRing ring(Points{{0, 0}, {0, 4}, {4, 4}, {4, 0}});
    InsertionMap map;
    map[1] = {{3, 4}, {1, 4}, {2, 4}};
    map[3] = {{0, 0.5}};
    ring.insert_points(map);
    EXPECT_EQ(describe(ring.points), describe({{0, 0}, {0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {4, 0}, {0, 0.5}}));
    // The box stays as the ring was made.
    EXPECT_EQ(ring.bbox().ymin, 0.0);
    EXPECT_EQ(ring.bbox().xmax, 4.0);
}

TEST(CleanerRingNoding, BoxIsNotRefreshedByInsertedPoints) {
    CleanerRing ring(Points{{0, 0}, {0, 1}, {1, 1}, {1, 0}});
    InsertionMap map;
    map[1] = {{0.5, 1 + 5e-8}};
    ring.insert_points(map);
    EXPECT_EQ(ring.bbox().ymax, 1.0);
    EXPECT_EQ(CleanerRing(ring).bbox().ymax, 1 + 5e-8);  // a copy is a new ring with its own box
}

struct MeetCase {
    const char* name;
    Point a, b, c, d;
    std::vector<Point> into_ab, into_cd;
};

TEST(IntersectionWithTolerance, RecordsWhereSegmentsMeet) {
    const std::vector<MeetCase> cases = {
        {"proper crossing goes into both", {0, 0}, {2, 2}, {0, 2}, {2, 0}, {{1, 1}}, {{1, 1}}},
        {"shared end point records nothing", {0, 0}, {2, 2}, {2, 2}, {3, 0}, {}, {}},
        {"c on ab goes into ab only", {0, 0}, {4, 0}, {2, 5e-8}, {2, 3}, {{2, 5e-8}}, {}},
        {"a on cd goes into cd only", {2, -5e-8}, {2, -3}, {0, 0}, {4, 0}, {}, {{2, -5e-8}}},
        {"d near ab is left to the next segment", {0, 0}, {4, 0}, {2, 3}, {2, 5e-8}, {}, {}},
        {"d at 2e-7 from ab is not near: no crossing either", {0, 0}, {4, 0}, {2, 3}, {2, 2e-7}, {}, {}},
        {"overlapping collinear segments swap their inner ends", {0, 0}, {4, 0}, {1, 0}, {6, 0}, {{1, 0}}, {}},
        {"collinear the other way round", {1, 0}, {6, 0}, {0, 0}, {4, 0}, {}, {{1, 0}}},
        {"slopes within the tolerance count as parallel", {-10, 0}, {10, 0}, {-12, -6e-7}, {12, 6e-7}, {}, {}},
    };
    for (const MeetCase& c : cases) {
        SCOPED_TRACE(c.name);
        InsertionMap p, q;
        ostrand::intersection_with_tolerance(3, 7, c.a, c.b, c.c, c.d, p, q, kTol);
        EXPECT_EQ(describe(p.count(3) ? p[3] : Points{}), describe(c.into_ab));
        EXPECT_EQ(describe(q.count(7) ? q[7] : Points{}), describe(c.into_cd));
        EXPECT_LE(p.size(), 1u);
        EXPECT_LE(q.size(), 1u);
    }
}

TEST(CrossingVertex, MidpointsOnEitherSideOrOneOnTheBoundary) {
    const CleanerRing b(Points{{1, 0}, {1, 2}, {3, 2}, {3, 0}});
    struct Case {
        const char* name;
        Points a;
        int m;
        bool crossing;
    };
    const std::vector<Case> cases = {
        {"enters b", {{0, 1}, {1, 2}, {2, 1}, {0, 0}}, 1, true},
        {"runs along b's edge after the vertex", {{0, 2}, {1, 2}, {1, 1}, {0, 1}}, 1, true},
        {"touches b from outside", {{0, 2}, {1, 2}, {0, 3}}, 1, false},
        {"runs along b's edge on both sides", {{1, 0}, {1, 1}, {1, 2}, {0, 1}}, 1, false},
        {"stays inside b", {{2, 1}, {1, 2}, {2, 1.5}}, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ostrand::is_crossing_vertex(CleanerRing(c.a), c.m, b), c.crossing);
    }
}

TEST(RingWithin, EdgeMidpointsInsideOrOnTheBoundary) {
    const CleanerRing outer(Points{{0, 0}, {0, 4}, {4, 4}, {4, 0}});
    EXPECT_TRUE(ostrand::ring_within(CleanerRing(Points{{1, 1}, {1, 2}, {2, 2}, {2, 1}}), outer));
    EXPECT_TRUE(ostrand::ring_within(CleanerRing(Points{{0, 0}, {0, 4}, {4, 4}, {4, 0}}), outer));
    EXPECT_TRUE(ostrand::ring_within(CleanerRing(Points{{0, 1}, {0, 2}, {1, 2}, {1, 1}}), outer));
    EXPECT_FALSE(ostrand::ring_within(CleanerRing(Points{{3, 1}, {3, 2}, {5, 2}, {5, 1}}), outer));
    EXPECT_FALSE(ostrand::ring_within(CleanerRing(Points{{5, 5}, {5, 6}, {6, 6}}), outer));
}

// The segment index must report exactly what testing every segment box reports, in the same order.
TEST(CleanerSegmentIndex, ReportsWhatTestingEverySegmentReports) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    for (int n : {1, 2, 7, 8, 9, 64, 65, 300, 2000}) {
        SCOPED_TRACE(n);
        Points pts;
        Point p{0, 0};
        for (int i = 0; i < n; ++i) {
            pts.push_back(p);
            p.x += step(rng);
            p.y += step(rng);
        }
        const ostrand::CleanerSegmentIndex index(pts);
        for (int q = 0; q < 50; ++q) {
            const Point a{step(rng) * 10, step(rng) * 10}, b{a.x + step(rng) * 3, a.y + step(rng) * 3};
            const ostrand::BBox box = ostrand::segment_box(a, b);
            const int first = q % 3 == 0 ? 0 : static_cast<int>(rng() % (n + 1));
            std::vector<int> expected, found;
            for (int k = first; k < n; ++k)
                if (ostrand::boxes_overlap(ostrand::segment_box(pts[k], pts[(k + 1) % n]), box)) expected.push_back(k);
            index.for_each_overlap(box, first, [&found](int k) { found.push_back(k); });
            ASSERT_EQ(found, expected);
        }
    }
}

}  // namespace

namespace {

// Rings on a coarse grid put many vertices, vertical edges and runs of vertices on the vertical line of
// a query point, where the crossing rule has its special cases.
TEST(CleanerPointLocator, AnswersAsRingLocatePointDoes) {
    std::mt19937 rng(777);
    std::uniform_int_distribution<int> cell(0, 12);
    for (int round = 0; round < 40; ++round) {
        Points pts;
        const int n = 70 + round * 5;  // past the size below which the locator asks the ring directly
        for (int i = 0; i < n; ++i) pts.push_back({cell(rng) * 0.5, cell(rng) * 0.5});
        const ostrand::Ring ring(pts);
        ostrand::CleanerPointLocator locator(ring);
        for (int q = 0; q < 400; ++q) {
            Point p;
            switch (q % 3) {
                case 0: p = pts[rng() % pts.size()]; break;                       // a vertex
                case 1: p = {cell(rng) * 0.5, cell(rng) * 0.25}; break;           // on grid lines
                default: {                                                        // on an edge
                    const std::size_t k = rng() % pts.size();
                    const Point& a = pts[k];
                    const Point& b = pts[(k + 1) % pts.size()];
                    p = {(a.x + b.x) * 0.5, (a.y + b.y) * 0.5};
                }
            }
            ASSERT_EQ(locator.locate(p), ring.locate_point(p)) << "round " << round << " " << describe({p});
        }
    }
}

}  // namespace
