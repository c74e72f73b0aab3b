// The validity check of written records against a table of ring layouts, and against GDAL itself: each
// layout is written as a one-record shapefile and GDAL's ST_IsValid must agree with the check.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "polygon/core/ExactOrientation.h"
#include "polygon/core/PolygonValidity.h"
#include "polygon/core/ShpData.h"
#include "polygon/core/SimpleRings.h"
#include "tests/polygon/support/TempFolder.h"

using namespace ostrand;

namespace {

using Pts = std::vector<Point>;

// A closed square with its south-west corner at (x, y); clockwise (an outer ring) or counter-clockwise.
Pts square(double x, double y, double size, bool clockwise = true) {
    Pts p = clockwise ? Pts{{x, y}, {x, y + size}, {x + size, y + size}, {x + size, y}}
                      : Pts{{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}};
    p.push_back(p.front());
    return p;
}

Pts closed(Pts p) {
    p.push_back(p.front());
    return p;
}

std::vector<Ring> rings_of(const std::vector<Pts>& pts) {
    std::vector<Ring> rings;
    for (const Pts& p : pts) rings.emplace_back(p);
    return rings;
}

struct Case {
    const char* what;
    std::vector<Pts> rings;
    PolygonFault fault;
};

const double kNan = std::numeric_limits<double>::quiet_NaN();

const std::vector<Case>& cases() {
    static const std::vector<Case> table = {
        {"a clockwise square", {square(0, 0, 10)}, PolygonFault::none},
        {"a counter-clockwise square alone", {square(0, 0, 10, false)}, PolygonFault::none},
        {"repeated consecutive points", {closed({{0, 0}, {0, 0}, {0, 10}, {10, 10}, {10, 10}, {10, 0}})},
         PolygonFault::none},
        {"a bow tie", {closed({{0, 0}, {0, 10}, {10, 0}, {10, 10}})}, PolygonFault::crossing},
        {"a vertex moved far across the ring", {closed({{0, 0}, {0, 10}, {10, 10}, {-50, 5}, {10, 0}})},
         PolygonFault::crossing},
        {"an edge walked out and back", {closed({{0, 0}, {0, 10}, {10, 10}, {10, 0}, {15, 0}})},
         PolygonFault::crossing},
        {"a vertex on another edge of its ring", {closed({{0, 0}, {0, 10}, {10, 10}, {0, 5}, {10, 0}})},
         PolygonFault::crossing},
        {"a hole inside its outer ring", {square(0, 0, 10), square(2, 2, 2, false)}, PolygonFault::none},
        {"a hole touching its outer ring at one point", {square(0, 0, 10), closed({{0, 5}, {3, 4}, {3, 6}})},
         PolygonFault::none},
        {"a hole touching its outer ring at two points", {square(0, 0, 10), closed({{0, 5}, {5, 2}, {10, 5}, {5, 8}})},
         PolygonFault::disconnected},
        {"two holes touching each other and the outer ring",
         {square(0, 0, 10), closed({{0, 5}, {5, 3}, {5, 5}}), closed({{5, 5}, {9, 3}, {10, 5}})},
         PolygonFault::disconnected},
        {"three rings meeting at one point", {square(0, 0, 10), closed({{0, 5}, {3, 3}, {3, 4}}), closed({{0, 5}, {3, 6}, {3, 7}})},
         PolygonFault::none},
        {"a hole sharing a piece of the outline", {square(0, 0, 10), square(0, 2, 4, false)}, PolygonFault::crossing},
        {"two outer rings crossing", {square(0, 0, 10), square(5, 5, 10)}, PolygonFault::crossing},
        {"two outer rings touching at a corner", {square(0, 0, 10), square(10, 10, 10)}, PolygonFault::none},
        {"a hole outside every outer ring", {square(0, 0, 10), square(20, 0, 5, false)}, PolygonFault::nesting},
        {"a hole in a hole", {square(0, 0, 10), square(1, 1, 8, false), square(3, 3, 2, false)}, PolygonFault::nesting},
        {"an outer ring inside an outer ring", {square(0, 0, 10), square(2, 2, 2)}, PolygonFault::nesting},
        {"an island in a hole", {square(0, 0, 10), square(1, 1, 8, false), square(3, 3, 2)}, PolygonFault::none},
        {"a hole with a vertex 1e-11 beyond the outline",
         {square(0, 0, 1), closed({{0.5, 0.4}, {1 + 1e-11, 0.5}, {0.5, 0.6}})}, PolygonFault::crossing},
        {"a hole with a vertex on the outline", {square(0, 0, 1), closed({{0.5, 0.4}, {1, 0.5}, {0.5, 0.6}})},
         PolygonFault::none},
        {"a ring of two points", {closed({{0, 0}, {0, 10}})}, PolygonFault::too_few_points},
        {"a coordinate that is not a number", {closed({{0, 0}, {0, kNan}, {10, 10}})}, PolygonFault::bad_coordinate},
    };
    return table;
}

}  // namespace

TEST(PolygonValidity, FaultOfEachLayout) {
    for (const Case& c : cases()) EXPECT_EQ(polygon_fault(rings_of(c.rings)), c.fault) << c.what;
}

TEST(PolygonValidity, GdalAgreesOnEveryLayoutItCanRead) {
    polygontest::TempFolder dir("validity");
    int n = 0;
    for (const Case& c : cases()) {
        if (c.fault == PolygonFault::bad_coordinate || c.fault == PolygonFault::too_few_points) continue;
        const std::string name = "case" + std::to_string(n++);
        AreaPolygon polygon;
        polygon.rings = rings_of(c.rings);
        ShpData data;
        data.set_polygons({polygon});
        data.save(dir.file(name + ".shp"));
        const std::string out = polygontest::run_command("ogrinfo -ro -q -dialect SQLite -sql \"SELECT ST_IsValid(geometry) "
                                                         "AS v FROM " + name + "\" '" + dir.file(name + ".shp") + "'");
        const bool valid = out.find("v (Integer) = 1") != std::string::npos;
        ASSERT_TRUE(valid || out.find("v (Integer) = 0") != std::string::npos) << c.what << "\n" << out;
        EXPECT_EQ(polygon_fault(simple_rings(polygon.rings)) == PolygonFault::none, valid) << c.what;
    }
}

TEST(PolygonValidity, ExactOrientationWhereTheRoundedDeterminantFails) {
    // Points on the line y = x far from the origin, and a point one unit in the last place off it.
    const Point a{139.1, 139.1}, b{139.7, 139.7};
    EXPECT_EQ(exact_orientation(a, b, {139.3, 139.3}), 0);
    EXPECT_EQ(exact_orientation(a, b, {139.3, std::nextafter(139.3, 200.0)}), 1);
    EXPECT_EQ(exact_orientation(a, b, {139.3, std::nextafter(139.3, 0.0)}), -1);
    EXPECT_EQ(exact_orientation(a, b, {139.3, 139.3 + 1e-11}), 1);
    EXPECT_EQ(exact_orientation({0, 0}, {1, 0}, {0.5, 1e-300}), 1);
}
