#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text/Cp932.h"

#include "polygon/core/KsPolygonMaker.h"
#include "tests/polygon/support/AreaFixture.h"

using namespace ostrand;
using namespace polygontest;

namespace {

struct Nested {
    PolygonStats stats;
    std::vector<AreaPolygon> polygons;
    std::map<int, std::string> records;
};

Nested nest(const AreaFileParts& parts, std::vector<std::string>* log = nullptr) {
    TempFolder dir("rural");
    KsPolygonMakerRural maker(*find_layer_record(4), "", log);
    maker.open(write_area_file(dir, "a.txt", parts));
    Nested n;
    maker.build(&n.stats);
    n.polygons = maker.polygons;
    n.records = maker.attr_records;
    return n;
}

GenLink reversed(GenLink link) {
    std::reverse(link.xy.begin(), link.xy.end());
    return link;
}

// Attribute 10 from link a, attribute 20 from link b, with their designation flags.
AreaFileParts two_areas(GenLink a, GenLink b, int flag10, int flag20) {
    AreaFileParts p;
    p.links = {std::move(a), std::move(b)};
    p.areas = {GenArea{1, 10, {fwd(1)}}, GenArea{2, 20, {fwd(2)}}};
    p.ledgers = {rural_ledger(10, flag10), rural_ledger(20, flag20)};
    return p;
}

void expect_closed_once(const Ring& r) {
    ASSERT_GE(r.points.size(), 4u);
    EXPECT_EQ(r.points.back(), r.points.front());
    EXPECT_FALSE(r.points[r.points.size() - 2] == r.points.front());
}

}  // namespace

TEST(RuralNesting, OtherAreaInsideADesignatedAreaBecomesItsHole) {
    // The outer square is listed counter-clockwise and the inner one clockwise: both get turned.
    Nested n = nest(two_areas(reversed(square_link("533945", 1, 100, 100, 1000)), square_link("533945", 2, 400, 400, 200), 1, 2));
    ASSERT_EQ(n.polygons.size(), 1u);
    ASSERT_EQ(n.polygons[0].rings.size(), 2u);
    EXPECT_TRUE(n.polygons[0].rings[0].is_clockwise());
    EXPECT_FALSE(n.polygons[0].rings[1].is_clockwise());
    for (const Ring& r : n.polygons[0].rings) expect_closed_once(r);
    EXPECT_EQ(n.records.size(), 1u);
    EXPECT_EQ(n.records.count(10), 1u);
    EXPECT_EQ(n.stats.rural_records, 1);
    EXPECT_EQ(n.stats.made, 2);
}

TEST(RuralNesting, OtherAreaOutsideEveryDesignatedAreaStaysClockwise) {
    Nested n = nest(two_areas(square_link("533945", 1, 100, 100, 1000), square_link("533945", 2, 5000, 5000, 200), 1, 2));
    ASSERT_EQ(n.polygons.size(), 2u);
    EXPECT_EQ(n.records.size(), 2u);
    for (const AreaPolygon& poly : n.polygons) {
        ASSERT_EQ(poly.rings.size(), 1u);
        EXPECT_TRUE(poly.rings[0].is_clockwise());
        expect_closed_once(poly.rings[0]);
    }
}

TEST(RuralNesting, LargestAreaWithAnotherFlagLeavesNoOuterCandidates) {
    Nested n = nest(two_areas(square_link("533945", 1, 100, 100, 1000), square_link("533945", 2, 400, 400, 200), 2, 1));
    ASSERT_EQ(n.polygons.size(), 2u);
    EXPECT_TRUE(n.polygons[0].rings[0].is_clockwise());
    EXPECT_TRUE(n.polygons[1].rings[0].is_clockwise());
    EXPECT_EQ(n.stats.rural_records, 2);
}

TEST(RuralNesting, FurtherRingsOfAnAttributeAreClosedOnce) {
    // One designated attribute number with two areas; the second ring was closed by the build already.
    AreaFileParts p;
    p.links = {square_link("533945", 1, 100, 100, 1000), square_link("533945", 2, 3000, 100, 1000),
               square_link("533945", 3, 3300, 400, 200)};
    p.areas = {GenArea{1, 10, {fwd(1)}}, GenArea{2, 10, {fwd(2)}}, GenArea{3, 20, {fwd(3)}}};
    p.ledgers = {rural_ledger(10, 1), rural_ledger(20, 2)};
    Nested n = nest(p);
    ASSERT_EQ(n.polygons.size(), 2u);  // the island is not inside the first ring of attribute 10
    ASSERT_EQ(n.polygons[0].rings.size(), 2u);
    for (const Ring& r : n.polygons[0].rings) expect_closed_once(r);
    // The signed area of attribute 10 counts both clockwise rings: it is the larger entry.
    EXPECT_TRUE(n.polygons[1].rings[0].is_clockwise());
}

TEST(RuralNesting, AHoleGoesToTheLargestDesignatedAreaHoldingIt) {
    AreaFileParts p;
    p.links = {square_link("533945", 1, 100, 100, 300), square_link("533945", 2, 0, 0, 1000),
               square_link("533945", 3, 200, 200, 50), square_link("533945", 4, 600, 600, 50)};
    p.areas = {GenArea{1, 10, {fwd(1)}}, GenArea{2, 11, {fwd(2)}}, GenArea{3, 20, {fwd(3)}}, GenArea{4, 21, {fwd(4)}}};
    p.ledgers = {rural_ledger(10, 1), rural_ledger(11, 1), rural_ledger(20, 2), rural_ledger(21, 2)};
    Nested n = nest(p);
    ASSERT_EQ(n.polygons.size(), 2u);
    EXPECT_EQ(n.polygons[0].rings.size(), 1u);  // attribute 10 holds hole 20 too, but 11 is larger
    ASSERT_EQ(n.polygons[1].rings.size(), 3u);
    EXPECT_EQ(n.polygons[1].rings[1].points.front().x, 250 * 2.777777777777778e-05);  // holes in their order, turned
    EXPECT_EQ(n.polygons[1].rings[2].points.front().x, 650 * 2.777777777777778e-05);
    EXPECT_EQ(n.records.size(), 2u);
}

TEST(RuralNesting, PolygonsOutOfStepWithTheLedgerAreRefused) {
    KsPolygonMakerRural maker(*find_layer_record(3), "", nullptr);
    maker.attr_records[1] = rural_ledger(1, 1);
    try {
        maker.modify_after();
        FAIL();
    } catch (const std::string& t) {
        EXPECT_EQ(t, "Unexpected index. KsPolygonMakerRural::modigy_after()");
    }
}

namespace {

// Garbled geometry: a vertex of a square link moved far west, so that its ring crosses itself.
GenLink bow_tie_link(int number, double x, double y) {
    return GenLink{"533945", number, {{x, y}, {x, y + 1000}, {x - 50000, y + 1000}, {x + 1000, y}, {x, y}}};
}

std::vector<std::string> utf8(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& l : lines) out.push_back(velmora::text::fromCp932(l));
    return out;
}

const char* const kNotSaved = "有効なポリゴンが作成できないためこの属性番号のデータは保存しません。\n";

}  // namespace

TEST(RuralValidity, AnAreaWhoseRingCrossesItselfIsLeftOutWithItsReason) {
    struct Case {
        const char* what;
        int flag;                    // of attribute 20, the broken one, whose first point lies in attribute 10
    } cases[] = {{"designated", 1}, {"other, before it could become a hole", 2}};
    for (const Case& c : cases) {
        std::vector<std::string> log;
        Nested n = nest(two_areas(square_link("533945", 1, 0, 0, 3000), bow_tie_link(2, 500, 500), 1, c.flag), &log);
        ASSERT_EQ(n.polygons.size(), 1u) << c.what;
        EXPECT_EQ(n.polygons[0].rings.size(), 1u) << c.what;  // no hole
        EXPECT_EQ(n.records.size(), 1u) << c.what;
        EXPECT_EQ(n.records.count(10), 1u) << c.what;
        EXPECT_EQ(n.stats.made, 1) << c.what;
        EXPECT_EQ(n.stats.dropped, 1) << c.what;
        EXPECT_EQ(utf8(log), (std::vector<std::string>{"[000020]ポリゴンの境界線が交差しています。",
                                                       std::string("[000020]") + kNotSaved}))
            << c.what;
    }
}

TEST(RuralValidity, AnOtherAreaCrossingTheOutlineItStartsInIsNoHole) {
    // Attribute 20 starts inside attribute 10 but reaches out of it: both stay areas of their own.
    Nested n = nest(two_areas(square_link("533945", 1, 0, 0, 1000), square_link("533945", 2, 800, 800, 400), 1, 2));
    ASSERT_EQ(n.polygons.size(), 2u);
    for (const AreaPolygon& poly : n.polygons) {
        ASSERT_EQ(poly.rings.size(), 1u);
        EXPECT_TRUE(poly.rings[0].is_clockwise());
        expect_closed_once(poly.rings[0]);
    }
    EXPECT_EQ(n.records.size(), 2u);
    EXPECT_EQ(n.stats.made, 2);
    EXPECT_EQ(n.stats.dropped, 0);
}

TEST(RuralValidity, HolesCrossingEachOtherLeaveTheAreaOut) {
    // Each hole alone lies inside attribute 10, but together they overlap.
    AreaFileParts p;
    p.links = {square_link("533945", 1, 0, 0, 3000), square_link("533945", 2, 500, 500, 1000),
               square_link("533945", 3, 1000, 1000, 1000)};
    p.areas = {GenArea{1, 10, {fwd(1)}}, GenArea{2, 20, {fwd(2)}}, GenArea{3, 30, {fwd(3)}}};
    p.ledgers = {rural_ledger(10, 1), rural_ledger(20, 2), rural_ledger(30, 2)};
    std::vector<std::string> log;
    Nested n = nest(p, &log);
    EXPECT_TRUE(n.polygons.empty());
    EXPECT_TRUE(n.records.empty());
    EXPECT_EQ(utf8(log), (std::vector<std::string>{"[000010]ポリゴンの境界線が交差しています。",
                                                   std::string("[000010]") + kNotSaved}));
}
