#include <gtest/gtest.h>

#include <filesystem>

#include "platform/text/Cp932.h"
#include "polygon/core/KsPolygonMaker.h"
#include "tests/polygon/support/AreaFixture.h"

using namespace ostrand;
using namespace polygontest;
using velmora::text::fromCp932;

namespace {

struct Built {
    std::vector<std::string> log;  // decoded to UTF-8
    PolygonStats stats;
    std::vector<AreaPolygon> polygons;
    std::map<int, std::string> records;
};

Built build(int data_id, const AreaFileParts& parts) {
    TempFolder dir("build");
    std::vector<std::string> lines;
    KsPolygonMaker maker(*find_layer_record(data_id), nullptr, &lines);
    maker.open(write_area_file(dir, "a.txt", parts));
    Built b;
    maker.build(&b.stats);
    for (const std::string& l : lines) b.log.push_back(fromCp932(l));
    b.polygons = maker.polygons;
    b.records = maker.attr_records;
    return b;
}

AreaFileParts one_area(std::vector<GenLink> links, std::vector<GenRef> refs, int ledger_flag = 1) {
    AreaFileParts p;
    p.links = std::move(links);
    p.areas = {GenArea{45, 7, std::move(refs)}};
    p.ledgers = {rural_ledger(7, ledger_flag)};
    return p;
}

// Two links of a square from (100,100) to (200,200), the second starting `offset` units east of the
// first one's end (1 unit = 1/36000 degree; 0.0036 units = 1e-7 degree).
AreaFileParts split_square(double offset) {
    return one_area({GenLink{"533945", 1, {{100, 100}, {100, 200}, {200, 200}}},
                     GenLink{"533945", 2, {{200 + offset, 200}, {200, 100}, {100, 100}}}},
                    {fwd(1), fwd(2)});
}

const char* const kNotSaved = "[000007]有効なポリゴンが作成できないためこの属性番号のデータは保存しません。\n";

}  // namespace

TEST(RingBuilding, LinksMeetingWithinTheToleranceJoinOnce) {
    Built b = build(1, split_square(0.002));
    EXPECT_TRUE(b.log.empty());
    ASSERT_EQ(b.polygons.size(), 1u);
    const std::vector<Point>& pts = b.polygons[0].rings[0].points;
    EXPECT_EQ(pts.size(), 5u);
    EXPECT_EQ(pts.back(), pts.front());  // bit for bit
    EXPECT_EQ(b.stats.total, 1);
    EXPECT_EQ(b.stats.made, 1);
    EXPECT_EQ(b.stats.incomplete, 0);
}

TEST(RingBuilding, AGapBetweenLinksDropsTheAttributeNumber) {
    Built b = build(1, split_square(0.0072));
    ASSERT_EQ(b.log.size(), 3u);
    EXPECT_EQ(b.log[0],
              "[000007]リンク情報の起点座標が前リンク情報の終点座標と一致しません。エリア一連番号=45/リンクメッシュコード=533945/リンク番号=2");
    EXPECT_EQ(b.log[1], "[000007]エリアを構成するリンク間の不連続ヶ所が1ヶ所あるためポリゴンが作成できません。エリア一連番号=45");
    EXPECT_EQ(b.log[2], kNotSaved);
    EXPECT_TRUE(b.polygons.empty());
    EXPECT_TRUE(b.records.empty());
    EXPECT_EQ(b.stats.total, 1);
    EXPECT_EQ(b.stats.made, 0);
    EXPECT_EQ(b.stats.dropped, 1);
}

TEST(RingBuilding, ResortItemKeepsAnAreaWithOneGapAsIncomplete) {
    // Open ends only: one gap.
    AreaFileParts open_ends = one_area({GenLink{"533945", 1, {{100, 100}, {100, 200}, {200, 200}, {200, 100}, {110, 100}}}},
                                       {fwd(1)});
    Built b = build(7, open_ends);
    ASSERT_EQ(b.log.size(), 2u);
    EXPECT_EQ(b.log[0], "[000007]エリアを構成するリンクの起終点が一致しません。エリア一連番号=45");
    EXPECT_EQ(b.log[1],
              "[000007]エリアを構成するリンク間の不連続ヶ所が1ヶ所あるためポリゴンが不完全である可能性があります。エリア一連番号=45");
    ASSERT_EQ(b.polygons.size(), 1u);
    const std::vector<Point>& pts = b.polygons[0].rings[0].points;
    EXPECT_EQ(pts.size(), 6u);  // closed by appending the first point
    EXPECT_EQ(pts.back(), pts.front());
    EXPECT_EQ(b.stats.made, 1);

    // An inner gap and open ends: two gaps, no ring.
    AreaFileParts two = one_area({GenLink{"533945", 1, {{100, 100}, {100, 200}, {200, 200}}},
                                  GenLink{"533945", 2, {{201, 200}, {200, 100}, {110, 100}}}},
                                 {fwd(1), fwd(2)});
    Built c = build(7, two);
    ASSERT_EQ(c.log.size(), 4u);
    EXPECT_EQ(c.log[2], "[000007]エリアを構成するリンク間の不連続ヶ所が2ヶ所あるためポリゴンが作成できません。エリア一連番号=45");
    EXPECT_TRUE(c.polygons.empty());
}

TEST(RingBuilding, RingSizesZeroAreaAndRepeatedBoxes) {
    struct Case {
        const char* what;
        AreaFileParts parts;
        std::vector<std::string> log;
        std::size_t rings;
    };
    AreaFileParts three_boxes;
    three_boxes.links = {square_link("533945", 1, 100, 100, 100), square_link("533945", 2, 100, 100, 100),
                         GenLink{"533945", 3, {{100, 100}, {100, 200}, {200, 200}, {150, 100}, {100, 100}}}};
    three_boxes.areas = {GenArea{45, 7, {fwd(1)}}, GenArea{46, 7, {fwd(2)}}, GenArea{47, 7, {back(3)}}};
    three_boxes.ledgers = {rural_ledger(7, 1)};
    const std::string repeated = "[000007]同じエリアが存在しているのでこのエリアデータは使いません。エリア一連番号=";
    Case cases[] = {
        {"triangle closed by a fourth point",
         one_area({GenLink{"533945", 1, {{100, 100}, {100, 200}, {200, 100}, {100, 100}}}}, {fwd(1)}), {}, 1},
        {"three points in all",
         one_area({GenLink{"533945", 1, {{100, 100}, {100, 200}, {200, 100}}}}, {fwd(1)}),
         {"[000007]エリアを構成するノードが3点未満であるためポリゴンが作成できません。エリア一連番号=45", kNotSaved}, 0},
        {"out and back along one link",
         one_area({GenLink{"533945", 1, {{100, 100}, {100, 200}, {150, 250}}}}, {fwd(1), back(1)}),
         {"[000007]エリアの面積がゼロであるためポリゴンが作成できません。エリア一連番号=45", kNotSaved}, 0},
        {"three areas with one box", three_boxes, {repeated + "46", repeated + "47"}, 1},
        {"a link without points is skipped without a gap",
         one_area({square_link("533945", 1, 100, 100, 100)}, {fwd(1), fwd(9)}),
         {"[000007]リンクにノードがないためこのリンク情報は使いません。エリア一連番号=45/リンクメッシュコード=533945/リンク番号=9"}, 1},
    };
    for (const Case& c : cases) {
        Built b = build(1, c.parts);
        EXPECT_EQ(b.log, c.log) << c.what;
        EXPECT_EQ(b.polygons.size(), c.rings == 0 ? 0u : 1u) << c.what;
        if (c.rings) {
            EXPECT_EQ(b.polygons[0].rings.size(), c.rings) << c.what;
        }
        EXPECT_EQ(b.records.size(), c.rings == 0 ? 0u : 1u) << c.what;
    }
}

TEST(RingBuilding, NoAreasGiveZeroCountsAndNoFiles) {
    TempFolder dir("build");
    KsPolygonMaker maker(*find_layer_record(3), nullptr, nullptr);
    maker.open(write_area_file(dir, "empty.txt", AreaFileParts{}));
    PolygonStats stats{9, 9, 9, 9, 9};
    maker.build(&stats);
    EXPECT_EQ(stats.total, 0);
    EXPECT_EQ(stats.made, 0);
    EXPECT_EQ(stats.incomplete, 0);
    EXPECT_EQ(stats.dropped, 0);
    EXPECT_EQ(stats.rural_records, 0);
    maker.save_shape(dir.file("out.shp"));
    maker.save_dbf(dir.file("out.shp"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.shp")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.dbf")));
}

TEST(RingBuilding, ThreeMetropolitanItemDropsRepeatedPointsAndKeepsTheClosingOne) {
    // A ring that passes its start point half-way (a figure eight): item 6 keeps each point once.
    AreaFileParts eight = one_area({GenLink{"533945", 1, {{100, 100}, {100, 200}, {200, 200}, {100, 100}, {0, 0},
                                                          {0, 100}, {100, 100}}}},
                                   {fwd(1)});
    Built b = build(6, eight);
    ASSERT_EQ(b.polygons.size(), 1u);
    const std::vector<Point>& pts = b.polygons[0].rings[0].points;
    ASSERT_EQ(pts.size(), 6u);  // five distinct points, then the closing one
    EXPECT_EQ(pts.back(), pts.front());
}
