// dBASE tables: kind 6 alone, cell rules, names cut at 10 bytes, projection files kept in step.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <filesystem>

#include "tests/brunhale/BrunhaleFolder.h"
#include "tests/brunhale/Readback.h"

using namespace velmora::testsupport;
using ::testing::HasSubstr;

namespace {

using Tables = BrunhaleTest;

TEST_F(Tables, TableWithoutShapesIsADbaseFileAlone) {
    std::string base = b.file("out/表_S53");
    writeLines(base + ".prj", {"stale"});
    // The coordinate file of a table holds only row numbers; here it is missing altogether.
    b.writeHeader({"MAKEFILE_NAME," + base, "SHAPE_TYPE,6,2000", "DBFITEM_COUNT,3", "DBFITEM_NAME,名称,C,10,0",
                   "DBFITEM_NAME,面積,N,8,0", "DBFITEM_NAME,LinkKey,N,6,0", "DBFITEM,港区役所,20,1",
                   "DBFITEM,ｱｲｳ,,2"});
    runOk();
    EXPECT_EQ(b.folder().list("out"), (std::vector<std::string>{"表_S53.dbf"}))
        << "a table gets neither shapes nor a projection file, and the stale .prj goes";
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

}  // namespace
