// The data-source text and the field list of the property dialog, read from real files.
#include "viewer/DataSourceText.h"

#include <gtest/gtest.h>
#include <shapefil.h>

#include <filesystem>
#include <fstream>

#include "brunhale/ProjectionFile.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Cp932.h"
#include "tests/polygon/support/TempFolder.h"
#include "tests/viewer/PropFixtures.h"

using namespace velmora;
using namespace velmora::viewer;
using polygontest::TempFolder;

namespace {

std::string layerText(const std::string& path, int type, const std::string& system, const std::string& datum) {
    return "\r\nデータタイプ：シェープファイルフィーチャクラス\r\nデータソース：" + path + "\r\nジオメトリタイプ：" +
           (type == 22 ? "ライン" : type == 23 ? "ポリゴン" : "ポイント") + "\r\n\r\n\r\n座標系：" + system +
           "\r\n測地基準系：" + datum;
}

TEST(DataSourceText, CoordinateSystemAndDatumFromTheFirstLineOfThePrj) {
    struct Case {
        const char* what;
        std::string prj;  // nothing written when empty and `none`
        bool none;
        std::string system, datum;
    };
    const std::vector<Case> cases = {
        {"no .prj", "", true, "未定義", "未定義"},
        {"projected with datum",
         "PROJCS[\"JGD_2000_Japan_Zone_9\",GEOGCS[\"GCS_JGD_2000\",DATUM[\"D_JGD_2000\",SPHEROID[\"GRS_1980\"]]]]\r\n"
         "second line PROJCS[\"other\"",
         false, "JGD_2000_Japan_Zone_9", "D_JGD_2000"},
        {"writer datum 0", brunhale::projectionWkt(0), false, "GCS_Tokyo", "D_Tokyo"},
        {"writer datum 2000", brunhale::projectionWkt(2000), false, "GCS_JGD_2000", "D_JGD_2000"},
        {"geographic without datum", "GEOGCS[\"GCS_Mine\",SPHEROID[\"x\"]]", false, "GCS_Mine", "未定義"},
        {"neither", "LOCAL_CS[\"somewhere\"]", false, "未定義", "未定義"},
        {"keyword case counts", "geogcs[\"GCS_Lower\",datum[\"D_x\"]]", false, "未定義", "未定義"},
        {"empty file", "", false, "未定義", "未定義"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir("props-prj");
        const std::string shp = writePolygonLayer(dir, "roads");
        if (!c.none) std::ofstream(dir.file("roads.prj"), std::ios::binary) << c.prj;
        EXPECT_EQ(layerDataSource(shp, 23), layerText(shp, 23, c.system, c.datum));
    }
}

TEST(DataSourceText, UpperCasePrjIsFoundAndGeometryFollowsTheShapeType) {
    TempFolder dir("props-prj");
    const std::string shp = writePolygonLayer(dir, "ROADS", true);
    std::ofstream(dir.file("ROADS.PRJ"), std::ios::binary) << brunhale::projectionWkt(2000);
    EXPECT_EQ(layerDataSource(shp, 23), layerText(shp, 23, "GCS_JGD_2000", "D_JGD_2000"));
    for (int type : {21, 22, 24})
        EXPECT_EQ(layerDataSource(shp, type), layerText(shp, type, "GCS_JGD_2000", "D_JGD_2000"));
}

// `head`, blanks and `tail`, `size` bytes in all.
std::string padTo(const std::string& head, std::size_t size, const std::string& tail) {
    return head + std::string(size - head.size() - tail.size(), ' ') + tail;
}

TEST(DataSourceText, OnlyABoundedStartOfTheFirstLineIsRead) {
    const std::string named = "PROJCS[\"JGD_2000_Japan_Zone_9\",GEOGCS[\"GCS_JGD_2000\",DATUM[\"D_JGD_2000\",";
    const std::string kanji = "\x93\xfa";  // one double-byte character in CP932
    struct Case {
        const char* what;
        std::string start;        // the line's first bytes
        std::uintmax_t fileSize;  // the file is extended to this size with zero bytes, without a line end
        std::string system, datum;
    };
    const std::vector<Case> cases = {
        // Names at the start of a gigabyte without a line end: read at once, and only the limit's worth.
        {"names before a gigabyte without line end", named, std::uintmax_t(1) << 30, "JGD_2000_Japan_Zone_9",
         "D_JGD_2000"},
        {"names beyond the limit are not seen", std::string(kPrjLineLimit, 'x') + named, 0, "未定義", "未定義"},
        {"a datum ending with the limit's last byte", padTo("PROJCS[\"P\",", kPrjLineLimit, "DATUM[\"D\""), 0, "P",
         "D"},
        {"a datum starting just beyond it", padTo("PROJCS[\"P\",", kPrjLineLimit + 9, "DATUM[\"D\""), 0, "P",
         "未定義"},
        {"a double-byte character cut by the limit", named + std::string(kPrjLineLimit - named.size() - 1, ' ') + kanji,
         0, "JGD_2000_Japan_Zone_9", "D_JGD_2000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir("props-prj");
        const std::string shp = writePolygonLayer(dir, "roads");
        const std::string prj = dir.file("roads.prj");
        std::ofstream(prj, std::ios::binary) << c.start;
        if (c.fileSize > c.start.size()) std::filesystem::resize_file(prj, c.fileSize);  // sparse
        EXPECT_EQ(layerDataSource(shp, 23), layerText(shp, 23, c.system, c.datum));
    }
}

TEST(DataSourceText, NameOrDatumWithoutClosingQuoteFails) {
    for (const char* prj : {"PROJCS[\"no closing quote", "GEOGCS[", "GEOGCS[\"G\",DATUM[\"D_open"}) {
        SCOPED_TRACE(prj);
        TempFolder dir("props-prj");
        const std::string shp = writePolygonLayer(dir, "a");
        std::ofstream(dir.file("a.prj"), std::ios::binary) << prj;
        try {
            layerDataSource(shp, 23);
            ADD_FAILURE() << "no failure";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 5);
        }
    }
}

TEST(DataSourceText, Table) {
    EXPECT_EQ(tableDataSource("/d/台帳.dbf"), "\r\nデータタイプ：属性テーブル\r\nデータソース：/d/台帳.dbf");
}

TEST(TableFields, TypesAsTheListShowsThem) {
    TempFolder dir("props-dbf");
    const std::string path = dir.file("t.dbf");
    writeDbfHeader(path, {{"NAME", 'C', 10, 0},
                          {"SHORT", 'N', 4, 0},
                          {"LONG", 'N', 5, 0},
                          {"REAL", 'N', 8, 3},
                          {"DAY", 'D', 8, 0},
                          {"FLAG", 'L', 1, 0},
                          {"ELEVENCHARS", 'C', 3, 0},
                          {"都道府県名", 'C', 20, 0}});
    std::vector<FieldRow> rows;
    tableFields(path, rows);
    const std::vector<FieldRow> expected = {{"NAME", "String", "10", "10", "0"},
                                            {"SHORT", "Short", "4", "4", "0"},
                                            {"LONG", "Long", "5", "5", "0"},
                                            {"REAL", "Double", "8", "8", "3"},
                                            {"DAY", "", "", "", ""},
                                            {"FLAG", "", "", "", ""},
                                            {"ELEVENCHARS", "String", "3", "3", "0"},
                                            {"都道府県名", "String", "20", "20", "0"}};
    EXPECT_EQ(rows, expected);
}

TEST(TableFields, ShapelibTableWithoutRecordsAndMissingFiles) {
    TempFolder dir("props-dbf");
    const std::string path = dir.file("empty.dbf");
    DBFHandle h = DBFCreate(path.c_str());
    DBFAddField(h, "CODE", FTInteger, 6, 0);
    DBFClose(h);
    std::vector<FieldRow> rows;
    tableFields(path, rows);
    EXPECT_EQ(rows, (std::vector<FieldRow>{{"CODE", "Long", "6", "6", "0"}}));
    rows.clear();
    tableFields("", rows);
    tableFields(dir.file("missing.dbf"), rows);
    EXPECT_TRUE(rows.empty());
}

TEST(TableFields, CutOffDescriptorKeepsTheRowsBeforeIt) {
    TempFolder dir("props-dbf");
    const std::string path = dir.file("cut.dbf");
    // A header length 10 bytes past two descriptors: a third is begun and cut off.
    writeDbfHeader(path, {{"A", 'C', 4, 0}, {"B", 'N', 3, 0}}, 10);
    std::vector<FieldRow> rows;
    try {
        tableFields(path, rows);
        ADD_FAILURE() << "no failure";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 62);
    }
    EXPECT_EQ(rows, (std::vector<FieldRow>{{"A", "String", "4", "4", "0"}, {"B", "Short", "3", "3", "0"}}));

    const std::string empty = dir.file("zero.dbf");
    std::ofstream(empty, std::ios::binary).flush();
    EXPECT_THROW(tableFields(empty, rows), RunTimeError);
}

}  // namespace
