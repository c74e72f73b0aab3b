#include <gtest/gtest.h>

#include "platform/text/Cp932.h"
#include "polygon/core/KsPolygonMaker.h"
#include "tests/polygon/support/AreaFixture.h"

using namespace ostrand;
using namespace polygontest;
using velmora::text::fromCp932;

namespace {

// Units of 1/36000 degree for a gap in degrees.
double units(double degrees) { return degrees * 36000.0; }

// A square of two links whose second link starts `gap` units east of the first one's end.
std::vector<GenLink> gapped_square(int first_number, double x, double y, double size, double gap) {
    return {GenLink{"533945", first_number, {{x, y}, {x, y + size}, {x + size, y + size}}},
            GenLink{"533945", first_number + 1, {{x + size + gap, y + size}, {x + size, y}, {x, y}}}};
}

struct Repaired {
    std::vector<std::string> log;
    PolygonStats stats;
    std::vector<AreaPolygon> polygons;
};

Repaired run(int data_id, const AreaFileParts& parts) {
    TempFolder dir("repair");
    std::vector<std::string> lines;
    KsPolygonMakerRepair maker(*find_layer_record(data_id), data_id == 6 || data_id == 9 ? "" : nullptr, &lines);
    maker.open(write_area_file(dir, "a.txt", parts));
    Repaired r;
    maker.build(&r.stats);
    for (const std::string& l : lines) r.log.push_back(fromCp932(l));
    r.polygons = maker.polygons;
    return r;
}

AreaFileParts one_gapped_area(double gap_degrees) {
    AreaFileParts p;
    p.links = gapped_square(1, 100, 100, 30000, units(gap_degrees));
    p.areas = {GenArea{45, 7, {fwd(1), fwd(2)}}};
    p.ledgers = {rural_ledger(7, 1)};
    return p;
}

const char* const kTry = "[000007]この属性番号のデータの修正を試みます。";
const char* const kOk = "[000007]修正に成功しました。\n";
const char* const kPartial = "[000007]一部修正に成功しました。";
const char* const kFailed = "[000007]修正できませんでした。";
const char* const kIncomplete =
    "[000007]一部に変換できないデータがあるためこの属性番号のポリゴンは不完全である可能性があります。\n";

}  // namespace

TEST(SteppedRepair, GapsCloseAtTheirToleranceLevel) {
    struct Case {
        int data_id;
        double gap_degrees;
        bool closes;
    } cases[] = {
        {0, 2.5e-7, true},   // first level, k = 3 with step 1
        {9, 2.5e-7, true},   // first level, step 0.1
        {10, 1.5e-5, true},  // third level
        {0, 2e-3, true},     // last level
        {6, 5e-4, true},
        {0, 2e-2, false},    // beyond ten times the last level
        {9, 2e-2, false},
    };
    for (const Case& c : cases) {
        Repaired r = run(c.data_id, one_gapped_area(c.gap_degrees));
        ASSERT_GE(r.log.size(), 4u) << c.data_id << " " << c.gap_degrees;
        EXPECT_EQ(r.log[2], kTry);
        if (c.closes) {
            EXPECT_EQ(r.log[3], kOk) << c.data_id << " " << c.gap_degrees;
            ASSERT_EQ(r.polygons.size(), 1u);
            EXPECT_EQ(r.stats.made, 1);
            EXPECT_EQ(r.stats.incomplete, 0);
            const std::vector<Point>& pts = r.polygons[0].rings[0].points;
            EXPECT_EQ(pts.size(), 6u);
            EXPECT_EQ(pts.back(), pts.front());
        } else {
            EXPECT_EQ(r.log[3], kFailed);
            EXPECT_TRUE(r.polygons.empty());
            EXPECT_EQ(r.stats.dropped, 1);
        }
    }
}

TEST(SteppedRepair, ClosingSomeChainsReplacesTheRings) {
    // Two areas that the repair can close and one it cannot: more rings than built, some chains left.
    AreaFileParts p;
    for (GenLink& l : gapped_square(1, 100, 100, 3000, units(3e-7))) p.links.push_back(l);
    for (GenLink& l : gapped_square(3, 10000, 100, 3000, units(3e-7))) p.links.push_back(l);
    for (GenLink& l : gapped_square(5, 20000, 100, 3000, units(5e-2))) p.links.push_back(l);
    p.areas = {GenArea{45, 7, {fwd(1), fwd(2)}}, GenArea{46, 7, {fwd(3), fwd(4)}}, GenArea{47, 7, {fwd(5), fwd(6)}}};
    p.ledgers = {rural_ledger(7, 1)};
    Repaired r = run(0, p);
    ASSERT_EQ(r.log.size(), 3u * 2u + 3u);  // each area: the gap and its count; then the repair and the flag
    EXPECT_EQ(r.log[6], kTry);
    EXPECT_EQ(r.log[r.log.size() - 2], kPartial);
    EXPECT_EQ(r.log.back(), kIncomplete);
    ASSERT_EQ(r.polygons.size(), 1u);
    EXPECT_EQ(r.polygons[0].rings.size(), 2u);
    EXPECT_EQ(r.stats.made, 1);
    EXPECT_EQ(r.stats.incomplete, 1);

    // One good area kept by the build and one that stays open: as many rings as before, so "failed",
    // and the rings are still replaced by the closed ones.
    AreaFileParts q;
    q.links = {square_link("533945", 1, 100, 100, 30000)};
    for (GenLink& l : gapped_square(3, 200000, 100, 30000, units(5e-2))) q.links.push_back(l);
    q.areas = {GenArea{45, 7, {fwd(1)}}, GenArea{46, 7, {fwd(3), fwd(4)}}};
    q.ledgers = {rural_ledger(7, 1)};
    Repaired s = run(0, q);
    EXPECT_EQ(s.log[s.log.size() - 2], kFailed);
    EXPECT_EQ(s.log.back(), kIncomplete);
    ASSERT_EQ(s.polygons.size(), 1u);
    EXPECT_EQ(s.polygons[0].rings.size(), 1u);
    EXPECT_EQ(s.stats.incomplete, 1);
}
