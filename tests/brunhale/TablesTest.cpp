// dBASE tables: kind 6 alone, cell rules, names cut at 10 bytes, projection files kept in step.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <ctime>
#include <filesystem>

#include "tests/brunhale/BrunhaleFolder.h"
#include "tests/brunhale/Readback.h"

using namespace velmora::testsupport;
using ::testing::HasSubstr;

namespace {

using Tables = BrunhaleTest;

TEST_F(Tables, TableWithoutShapesIsADbaseFileAlone) {
    std::string base = b.file("out/表_S53");
    writeLines(base + ".prj", {"a shapefile's"});
    // The coordinate file of a table holds only row numbers; here it is missing altogether.
    b.writeHeader({"MAKEFILE_NAME," + base, "SHAPE_TYPE,6,2000", "DBFITEM_COUNT,3", "DBFITEM_NAME,名称,C,10,0",
                   "DBFITEM_NAME,面積,N,8,0", "DBFITEM_NAME,LinkKey,N,6,0", "DBFITEM,港区役所,20,1",
                   "DBFITEM,ｱｲｳ,,2"});
    runOk();
    EXPECT_EQ(b.folder().list("out"), (std::vector<std::string>{"表_S53.dbf", "表_S53.prj"}))
        << "a table gets neither shapes nor a projection file";
    EXPECT_EQ(readFile(base + ".prj"), "a shapefile's\r\n") << "a table job touches its .dbf alone";
    TableRead t = readTable(base + ".dbf");
    EXPECT_EQ(t.languageDriver, 0x13);
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[0], (std::vector<std::optional<std::string>>{"港区役所", "20", "1"}));
    EXPECT_EQ(t.rows[1], (std::vector<std::optional<std::string>>{"ｱｲｳ", std::nullopt, "2"}));

    std::string info = ogrinfo(base + ".dbf");
    EXPECT_THAT(info, HasSubstr("Feature Count: 2"));
    EXPECT_THAT(info, HasSubstr("名称 (String) = 港区役所"));
    EXPECT_THAT(info, HasSubstr("名称 (String) = ｱｲｳ"));
}

TEST_F(Tables, CellsAndFieldNames) {
    std::string base = b.file("out/cells");
    b.writeHeader({"MAKEFILE_NAME," + base, "SHAPE_TYPE,6,-1", "DBFITEM_COUNT,4",
                   "DBFITEM_NAME,都道府県名称コード,C,5,0",  // 18 bytes: cut to 10
                   "DBFITEM_NAME,abc行政区域コード,N,5,0",    // the fifth character would end at byte 11
                   "DBFITEM_NAME,数値,N,6,0", "DBFITEM_NAME,Text,C,3,0",
                   "DBFITEM,東京都港区,  012,x1,abcdef"});
    runOk();
    TableRead t = readTable(base + ".dbf");
    ASSERT_EQ(t.fields.size(), 4u);
    EXPECT_EQ(t.fields[0], (FieldRead{"都道府県名", 'C', 5, 0}));
    EXPECT_EQ(t.fields[1], (FieldRead{"abc行政区", 'N', 5, 0}));
    ASSERT_EQ(t.rawCells.size(), 4u);
    EXPECT_EQ(t.rawCells[0], std::string("\x93\x8c\x8b\x9e ", 5)) << "東京 and a blank: 都 would split";
    EXPECT_EQ(t.rawCells[1], "  012") << "numbers are written as given, right-aligned";
    EXPECT_EQ(t.rows[0][2], std::nullopt) << "a non-numeric number is NULL";
    EXPECT_EQ(t.rows[0][3], "abc");
}

TEST_F(Tables, ProjectionFileFollowsTheDatum) {
    std::string base = b.file("out/p");
    auto pair = [&](const std::string& datum) {
        b.writeHeader({"MAKEFILE_NAME," + base, "SHAPE_TYPE,1," + datum, "DBFITEM_COUNT,1", "DBFITEM_NAME,ID,N,4,0",
                       "LINKNO,1", "DBFITEM,1"});
        b.writeCoordinates({"LINKIDX,1", "LINKDATA,135,35"});
    };
    pair("2000");
    runOk();
    EXPECT_THAT(readFile(base + ".prj"), HasSubstr("JGD_2000"));
    pair("0");
    runOk();
    EXPECT_THAT(readFile(base + ".prj"), HasSubstr("Tokyo"));
    EXPECT_THAT(ogrinfo(base + ".shp"), HasSubstr("ID[\"EPSG\",4301]"));
    pair("-1");
    runOk();
    EXPECT_FALSE(fileExists(base + ".prj")) << "the .prj of an earlier run would give the new output a wrong datum";
    EXPECT_EQ(b.folder().list("out"), (std::vector<std::string>{"p.dbf", "p.shp", "p.shx"}));
}

// Two names alike in their first 10 bytes would be one column twice for every reader.
TEST_F(Tables, LongNamesAlikeInTheirFirstTenBytesAreTwoColumns) {
    std::string base = b.file("out/行政区域");
    b.writeHeader({"MAKEFILE_NAME," + base, "SHAPE_TYPE,6,-1", "DBFITEM_COUNT,3", "DBFITEM_NAME,行政区域コード番号,C,5,0",
                   "DBFITEM_NAME,行政区域コード名称,C,8,0", "DBFITEM_NAME,ID,N,3,0", "DBFITEM,13101,千代田区,1"});
    runOk();
    TableRead t = readTable(base + ".dbf");
    EXPECT_EQ(t.fields, (std::vector<FieldRead>{{"行政区域コ", 'C', 5, 0}, {"行政区域_1", 'C', 8, 0}, {"ID", 'N', 3, 0}}));
    std::string info = ogrinfo(base + ".dbf");
    EXPECT_THAT(info, HasSubstr("行政区域コ (String) = 13101"));
    EXPECT_THAT(info, HasSubstr("行政区域_1 (String) = 千代田区"));
}

// With no fields every shape still has its record: the deletion flag alone.
TEST_F(Tables, APointLayerWithoutFieldsKeepsItsRecords) {
    std::string base = b.file("out/nofields");
    b.writeHeader({"MAKEFILE_NAME," + base, "SHAPE_TYPE,1,-1", "DBFITEM_COUNT,0", "LINKNO,1", "DBFITEM", "LINKNO,2",
                   "DBFITEM,", "LINKNO,3", "DBFITEM"});
    b.writeCoordinates({"LINKIDX,1", "LINKDATA,135,35", "LINKIDX,2", "LINKDATA,136,36", "LINKIDX,3", "LINKDATA,137,37"});
    runOk();
    const std::string dbf = readFile(base + ".dbf");
    ASSERT_EQ(dbf.size(), 33u + 3u + 1u) << "header, three records of one byte, end mark";
    EXPECT_EQ(dbf.substr(4, 4), std::string("\x03\0\0\0", 4)) << "record count";
    EXPECT_EQ(dbf.substr(10, 2), std::string("\x01\0", 2)) << "record length";
    EXPECT_EQ(dbf.substr(33, 4), "   \x1a");
    EXPECT_THAT(ogrinfo(base + ".dbf"), HasSubstr("Feature Count: 3"));
    EXPECT_THAT(ogrinfo(base + ".shp"), HasSubstr("POINT (137 37)"));
    // Exported, every shape arrives: a reader that walks the table found none before.
    const std::string csv = b.file("out/export.csv");
    capture("ogr2ogr -f CSV -lco GEOMETRY=AS_WKT '" + csv + "' '" + base + ".shp' 2>&1");
    const std::string exported = readFile(csv);
    for (const char* p : {"\"POINT (135 35)\"", "\"POINT (136 36)\"", "\"POINT (137 37)\""}) EXPECT_THAT(exported, HasSubstr(p));
}

TEST_F(Tables, LastUpdateIsTheDayOfTheRun) {
    std::string base = b.file("out/dated");
    b.writeHeader({"MAKEFILE_NAME," + base, "SHAPE_TYPE,6,-1", "DBFITEM_COUNT,1", "DBFITEM_NAME,ID,N,3,0", "DBFITEM,1"});
    auto today = [] {
        std::time_t now = std::time(nullptr);
        std::tm t{};
        ::localtime_r(&now, &t);
        return std::string{static_cast<char>(t.tm_year), static_cast<char>(t.tm_mon + 1), static_cast<char>(t.tm_mday)};
    };
    const std::string before = today();
    runOk();
    const std::string stamp = readFile(base + ".dbf").substr(1, 3);
    EXPECT_TRUE(stamp == before || stamp == today()) << "year " << int(stamp[0]) << " month " << int(stamp[1]) << " day " << int(stamp[2]);
}

}  // namespace
