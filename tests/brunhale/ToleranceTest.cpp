// What the converters write that a strict reader would refuse: Brunhale takes it as they mean it.
#include <gtest/gtest.h>
#include <gmock/gmock.h>
#include <shapefil.h>

#include <filesystem>

#include "tests/brunhale/BrunhaleFolder.h"
#include "tests/brunhale/Readback.h"

using namespace velmora::testsupport;
using ::testing::HasSubstr;

namespace {

using Tolerance = BrunhaleTest;

TEST_F(Tolerance, RecordBlocksWithoutTheirRingGetNullShapes) {
    // Mesh output from several files: a block per record, a ring per distinct code under the id of its
    // first record (here records 1 and 3 are one cell, 2 and 4 another).
    std::string base = b.file("out/mesh");
    std::vector<std::string> h = {"MAKEFILE_NAME," + base, "SHAPE_TYPE,7,-1", "DBFITEM_COUNT,1", "DBFITEM_NAME,CODE,C,8,0"};
    for (int id = 1; id <= 4; ++id)
        h.insert(h.end(), {"LINKNO," + std::to_string(id), "BOX,0,0,1,1", "PARTS_POINTS,1,5", "PARTIDX,0",
                           "DBFITEM,c" + std::to_string(id)});
    b.writeHeader(h);
    b.writeCoordinates({"LINKIDX,1", "LINKDATA,0,0", "LINKDATA,0,1", "LINKDATA,1,1", "LINKDATA,1,0", "LINKDATA,0,0",
                        "LINKIDX,2", "LINKDATA,1,0", "LINKDATA,1,1", "LINKDATA,2,1", "LINKDATA,2,0", "LINKDATA,1,0"});
    runOk();
    ShapefileRead s = readShapefile(base);
    ASSERT_EQ(s.shapes.size(), 4u);
    EXPECT_EQ(s.shapes[0].type, SHPT_POLYGON);
    EXPECT_EQ(s.shapes[1].type, SHPT_POLYGON);
    EXPECT_EQ(s.shapes[1].vertices[2], (std::pair<double, double>{2, 1}));
    EXPECT_EQ(s.shapes[2].type, SHPT_NULL);
    EXPECT_EQ(s.shapes[3].type, SHPT_NULL);
    EXPECT_EQ(readTable(base + ".dbf").rows.size(), 4u);
    EXPECT_THAT(ogrinfo(base + ".shp"), HasSubstr("Feature Count: 4"));
}

TEST_F(Tolerance, StationsThatAllCarryIdOnePairInOrder) {
    std::string base = b.file("out/rail_駅名");
    b.writeHeader({"MAKEFILE_NAME," + base, "SHAPE_TYPE,1,0", "DBFITEM_COUNT,2", "DBFITEM_NAME,属性番号,N,12,0",
                   "DBFITEM_NAME,駅名,C,56,0", "LINKNO,1", "DBFITEM,11,上野", "LINKNO,1", "DBFITEM,12,", "LINKNO,1",
                   "DBFITEM,13,品川"});
    b.writeCoordinates({"LINKIDX,1", "LINKDATA,139.77,35.71", "LINKIDX,1", "LINKDATA,139.78,35.72", "LINKIDX,1",
                        "LINKDATA,139.74,35.62"});
    runOk();
    ShapefileRead s = readShapefile(base);
    ASSERT_EQ(s.shapes.size(), 3u);
    EXPECT_EQ(s.shapes[2].vertices[0], (std::pair<double, double>{139.74, 35.62}));
    TableRead t = readTable(base + ".dbf");
    EXPECT_EQ(t.rows[2][1], "品川");
    EXPECT_EQ(t.rows[1][1].value_or(""), "") << "an empty station name is an empty value";
}

TEST_F(Tolerance, ValueLinesLongerOrShorterThanTheFields) {
    // The streaming attribute writer appends the row number after the declared values.
    std::string base = b.file("out/attr");
    b.writeHeader({"MAKEFILE_NAME," + base, "SHAPE_TYPE,6,0", "DBFITEM_COUNT,2", "DBFITEM_NAME,A,C,4,0",
                   "DBFITEM_NAME,B,N,4,0", "DBFITEM,x,1,1", "DBFITEM,y", "DBFITEM,", "DBFITEM"});
    b.writeCoordinates({"LINKIDX,1", "LINKIDX,2", "LINKIDX,3", "LINKIDX,4"});
    runOk();
    TableRead t = readTable(base + ".dbf");
    ASSERT_EQ(t.rows.size(), 4u);
    EXPECT_EQ(t.rows[0], (std::vector<std::optional<std::string>>{"x", "1"}));
    EXPECT_EQ(t.rows[1], (std::vector<std::optional<std::string>>{"y", std::nullopt}));
    // An empty text cell is all blanks, which dBASE readers take as NULL.
    EXPECT_EQ(t.rows[2], (std::vector<std::optional<std::string>>{std::nullopt, std::nullopt}));
    EXPECT_EQ(t.rows[3], (std::vector<std::optional<std::string>>{std::nullopt, std::nullopt}));
}

TEST_F(Tolerance, HeaderWithoutRecordsGivesValidEmptyFiles) {
    for (const char* kind : {"1", "3", "4", "7", "6"}) {
        std::string base = b.file(std::string("out/empty") + kind);
        b.writeHeader({"MAKEFILE_NAME," + base, std::string("SHAPE_TYPE,") + kind + ",2000", "DBFITEM_COUNT,1",
                       "DBFITEM_NAME,属性番号,N,10,0"});
        b.writeCoordinates({});
        runOk();
        std::string file = base + (std::string(kind) == "6" ? ".dbf" : ".shp");
        std::string info = ogrinfo(file);
        EXPECT_THAT(info, HasSubstr("Feature Count: 0")) << kind << "\n" << info;
        EXPECT_THAT(info, ::testing::Not(HasSubstr("ERROR"))) << kind;
        EXPECT_EQ(readTable(base + ".dbf").rows.size(), 0u);
        if (std::string(kind) != "6") {
            EXPECT_EQ(readShapefile(base).shapes.size(), 0u);
        }
    }
}

TEST_F(Tolerance, CoordinatesWithBlanksAndQuotes) {
    // The delimited point reader passes the X and Y columns through as they stand.
    std::string base = b.file("out/csv");
    b.writeHeader({"MAKEFILE_NAME," + base, "SHAPE_TYPE,1,-1", "DBFITEM_COUNT,1", "DBFITEM_NAME,N,N,3,0",
                   "LINKNO,1", "DBFITEM,1", "LINKNO,2", "DBFITEM,2"});
    b.writeCoordinates({"LINKIDX,1", "LINKDATA, 139.5 ,\"35.25\"", "LINKIDX,2", "LINKDATA,\" 140 \", 36"});
    runOk();
    ShapefileRead s = readShapefile(base);
    ASSERT_EQ(s.shapes.size(), 2u);
    EXPECT_EQ(s.shapes[0].vertices[0], (std::pair<double, double>{139.5, 35.25}));
    EXPECT_EQ(s.shapes[1].vertices[0], (std::pair<double, double>{140, 36}));
}

TEST_F(Tolerance, PathWithCommasAndDotsIsTakenWhole) {
    std::filesystem::create_directory(b.file("out/a,b.shp.d"));
    std::string base = b.file("out/a,b.shp.d/x.v2");
    b.writeHeader({"MAKEFILE_NAME," + base, "SHAPE_TYPE,1,-1", "DBFITEM_COUNT,1", "DBFITEM_NAME,N,N,3,0", "LINKNO,5",
                   "DBFITEM,5"});
    b.writeCoordinates({"LINKIDX,5", "LINKDATA,1,2"});
    runOk();
    EXPECT_EQ(b.folder().list("out/a,b.shp.d"), (std::vector<std::string>{"x.v2.dbf", "x.v2.shp", "x.v2.shx"}));
}

}  // namespace
