// Generated area files of every data item through the makers; rural items checked with GDAL.
#include <gtest/gtest.h>
#include <shapefil.h>

#include <memory>
#include <regex>

#include "platform/text/Cp932.h"
#include "polygon/core/KsPolygonMaker.h"
#include "tests/polygon/support/TempFolder.h"
#include "tests/tools/gen/AreaFileGen.h"

using namespace ostrand;
using namespace polygontest;
namespace gen = velmora::datagen;

namespace {

std::unique_ptr<KsPolygonMaker> maker_for(int data_id, std::vector<std::string>* log) {
    const LayerRecord layer = *find_layer_record(data_id);
    const char* meshes = (data_id == 2 || data_id == 3 || data_id == 4 || data_id == 6 || data_id == 7 || data_id == 9) ? "" : nullptr;
    switch (data_id) {
    case 0: case 6: case 9: case 10: return std::make_unique<KsPolygonMakerRepair>(layer, meshes, log);
    case 3: case 4: return std::make_unique<KsPolygonMakerRural>(layer, meshes, log);
    default: return std::make_unique<KsPolygonMakerClean>(layer, meshes, log);
    }
}

struct MakerRun {
    std::vector<std::string> log;
    PolygonStats stats;
    std::unique_ptr<KsPolygonMaker> maker;
};

MakerRun run(const gen::AreaGenOptions& o, const TempFolder& dir) {
    MakerRun r;
    const gen::AreaGenResult files = gen::generate_area_files(dir.file("area"), o);
    r.maker = maker_for(o.data_id, &r.log);
    for (const std::string& f : files.files) r.maker->open(f);
    r.maker->build(&r.stats);
    return r;
}

// The 属性番号 column of a table, in row order.
std::vector<int> attr_column(const std::string& dbf) {
    std::vector<int> out;
    DBFHandle h = DBFOpen(dbf.c_str(), "rb");
    if (!h) return out;
    for (int i = 0; i < DBFGetRecordCount(h); ++i) out.push_back(DBFReadIntegerAttribute(h, i, 0));
    DBFClose(h);
    return out;
}

gen::AreaGenOptions grid(int data_id, int cols, int rows) {
    gen::AreaGenOptions o;
    o.data_id = data_id;
    o.cols = cols;
    o.rows = rows;
    return o;
}

}  // namespace

TEST(GeneratedAreas, EveryDataItemBuildsOnePolygonPerArea) {
    for (int id : {0, 1, 2, 5, 6, 7, 8, 9, 10, 20}) {
        TempFolder dir("gen");
        gen::AreaGenOptions o = grid(id, 5, 4);
        o.files = 2;
        MakerRun r = run(o, dir);
        EXPECT_EQ(r.stats.total, 20) << id;
        EXPECT_EQ(r.stats.made, 20) << id;
        EXPECT_EQ(r.stats.incomplete, 0) << id;
        EXPECT_TRUE(r.log.empty()) << id;
        r.maker->save_shape(dir.file("out.shp"));
        r.maker->save_dbf(dir.file("out.shp"));
        std::vector<int> attrs = attr_column(dir.file("out.dbf"));
        ASSERT_EQ(attrs.size(), 20u) << id;
        EXPECT_TRUE(std::is_sorted(attrs.begin(), attrs.end())) << id;
    }
}

TEST(GeneratedAreas, DefectsGiveTheirMessages) {
    TempFolder dir("gen");
    gen::AreaGenOptions o = grid(1, 4, 3);
    o.duplicate_areas = 2;
    o.zero_area_areas = 1;
    o.skipped_references = 3;
    o.missing_link_refs = 1;
    MakerRun r = run(o, dir);
    EXPECT_EQ(r.stats.total, 13);
    EXPECT_EQ(r.stats.made, 12);
    EXPECT_EQ(r.stats.dropped, 1);
    std::vector<std::string> decoded;
    for (const std::string& l : r.log) decoded.push_back(velmora::text::fromCp932(l));
    ASSERT_EQ(decoded.size(), 3u);
    EXPECT_NE(decoded[0].find("リンクにノードがない"), std::string::npos);
    EXPECT_NE(decoded[1].find("面積がゼロ"), std::string::npos);
    EXPECT_NE(decoded[2].find("保存しません"), std::string::npos);
}

TEST(GeneratedAreas, GapsAreRepairedForTheRepairingItems) {
    // Gaps below one file unit (2.8e-5 degree) need coordinates small enough to carry decimals.
    struct Case {
        int data_id;
        double gap;
        double origin;
    } cases[] = {{9, 2e-3, 139.0 * 36000}, {0, 2e-7, 100}, {6, 5e-5, 139.0 * 36000}};
    for (const Case& c : cases) {
        TempFolder dir("gen");
        gen::AreaGenOptions o = grid(c.data_id, 4, 3);
        o.gap_links = 2;
        o.gap_degrees = c.gap;
        o.origin_x = o.origin_y = c.origin;
        MakerRun r = run(o, dir);
        EXPECT_EQ(r.stats.made, 12) << c.gap;
        EXPECT_EQ(r.stats.incomplete, 0) << c.gap;
        std::size_t ok = 0;
        for (const std::string& l : r.log) ok += velmora::text::fromCp932(l).find("修正に成功しました。") != std::string::npos;
        EXPECT_EQ(ok, 3u) << c.gap;  // the cells west and east of the two neighbouring moved links
    }
}

TEST(GeneratedAreas, RuralItemsAreValidForGdalAndMatchTheLedger) {
    for (int id : {3, 4}) {
        TempFolder dir("gen");
        gen::AreaGenOptions o = grid(id, 6, 5);
        o.files = 3;
        o.islands = true;
        o.vertices_per_link = 24;
        MakerRun r = run(o, dir);
        const std::string shp = dir.file("rural.shp");
        r.maker->save_shape(shp);
        r.maker->save_dbf(shp);
        EXPECT_EQ(r.stats.made, 30 + 15) << id;        // cells and islands were built
        EXPECT_EQ(r.stats.rural_records, 30) << id;    // the islands became holes
        std::vector<int> attrs = attr_column(dir.file("rural.dbf"));
        std::vector<int> cells(30);
        for (int i = 0; i < 30; ++i) cells[i] = i + 1;
        EXPECT_EQ(attrs, cells) << id;
        DBFHandle t = DBFOpen(dir.file("rural.dbf").c_str(), "rb");
        ASSERT_NE(t, nullptr);
        for (int row = 0; row < DBFGetRecordCount(t); ++row) EXPECT_EQ(DBFReadIntegerAttribute(t, row, 1), 1) << row;
        DBFClose(t);

        SHPHandle h = SHPOpen(shp.c_str(), "rb");
        ASSERT_NE(h, nullptr);
        int count = 0;
        SHPGetInfo(h, &count, nullptr, nullptr, nullptr);
        ASSERT_EQ(count, 30);
        for (int k = 0; k < count; ++k) {
            SHPObject* obj = SHPReadObject(h, k);
            const int i = k % 6, j = k / 6;
            EXPECT_EQ(obj->nParts, (i + j) % 2 == 0 ? 2 : 1) << k;
            SHPDestroyObject(obj);
        }
        SHPClose(h);

        const std::string out = run_command("ogrinfo -ro -q -dialect SQLite -sql "
                                            "\"SELECT COUNT(*) AS n, SUM(ST_IsValid(geometry)) AS valid FROM rural\" '" +
                                            shp + "'");
        EXPECT_NE(out.find("n (Integer) = 30"), std::string::npos) << out;
        EXPECT_NE(out.find("valid (Integer) = 30"), std::string::npos) << out;
    }
}

TEST(GeneratedAreas, HeaderAndCountsAsTheReaderTakesThem) {
    TempFolder dir("gen");
    gen::AreaGenOptions o = grid(3, 2, 2);
    o.vertices_per_link = 7;  // two continuation lines per link
    o.data_code = "A13-60A";  // a forest file offered as agricultural data
    const gen::AreaGenResult r = gen::generate_area_files(dir.file("other"), o);
    const std::string text = read_file(r.files.at(0));
    EXPECT_EQ(text.substr(13, 7), "A13-60A");
    const std::size_t second = text.find("\r\n") + 2;
    const std::string counts = text.substr(second, text.find("\r\n", second) - second);
    EXPECT_EQ(std::stoll(counts.substr(16, 8)), r.links * 3);  // each link: its record and two vertex lines
    EXPECT_EQ(std::stoll(counts.substr(24, 8)), r.areas * 2);  // four references fit on one line
    EXPECT_EQ(std::stoll(counts.substr(48, 8)), 4);
}
