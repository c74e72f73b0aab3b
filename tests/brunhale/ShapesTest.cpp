// Brunhale writes points, lines and polygons that shapelib and GDAL read back as described.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <shapefil.h>

#include <filesystem>

#include "tests/brunhale/BrunhaleFolder.h"
#include "tests/brunhale/Readback.h"

using namespace velmora::testsupport;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using Shapes = BrunhaleTest;

TEST_F(Shapes, PointsWithTheTokyoDatum) {
    std::string base = out() + "/rail_駅名";
    b.writeHeader({"MAKEFILE_NAME," + base, "SHAPE_TYPE,1,0", "DBFITEM_COUNT,2", "DBFITEM_NAME,属性番号,N,12,0",
                   "DBFITEM_NAME,駅名,C,56,0", "LINKNO,1", "DBFITEM,1234,東京", "LINKNO,2", "DBFITEM,5678,新宿"});
    b.writeCoordinates({"LINKIDX,1", "LINKDATA,139.766084,35.681382", "LINKIDX,2", "LINKDATA,139.700258,35.690921"});
    runOk();

    EXPECT_EQ(b.folder().list("out"),
              (std::vector<std::string>{"rail_駅名.dbf", "rail_駅名.prj", "rail_駅名.shp", "rail_駅名.shx"}));
    ShapefileRead s = readShapefile(base);
    EXPECT_EQ(s.type, SHPT_POINT);
    ASSERT_EQ(s.shapes.size(), 2u);
    EXPECT_EQ(s.shapes[0].vertices, (std::vector<std::pair<double, double>>{{139.766084, 35.681382}}));
    EXPECT_EQ(s.shapes[1].vertices, (std::vector<std::pair<double, double>>{{139.700258, 35.690921}}));

    TableRead t = readTable(base + ".dbf");
    EXPECT_EQ(t.fields, (std::vector<FieldRead>{{"属性番号", 'N', 12, 0}, {"駅名", 'C', 56, 0}}));
    EXPECT_EQ(t.languageDriver, 0x13);
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[1][0], "5678");
    EXPECT_EQ(t.rows[1][1], "新宿");

    std::string info = ogrinfo(base + ".shp");
    EXPECT_THAT(info, HasSubstr("Geometry: Point"));
    EXPECT_THAT(info, HasSubstr("Feature Count: 2"));
    EXPECT_THAT(info, HasSubstr("ID[\"EPSG\",4301]"));
    EXPECT_THAT(info, HasSubstr("駅名 (String) = 東京"));
    EXPECT_THAT(info, HasSubstr("POINT (139.766084 35.681382)"));
}

TEST_F(Shapes, MultiPartLinesWithJgd2000) {
    std::string base = out() + "/lines";
    // Three parts of 4, 2 and 5 vertices, then a line of one part.
    b.writeHeader({"MAKEFILE_NAME," + base, "SHAPE_TYPE,4,2000", "DBFITEM_COUNT,2", "DBFITEM_NAME,属性番号,N,10,0",
                   "DBFITEM_NAME,路線名,C,20,0", "LINKNO,7", "BOX,139,35,139.1,35.1", "PARTS_POINTS,3,11",
                   "PARTIDX,0,4,6", "DBFITEM,70,中央線", "LINKNO,9", "BOX,140,36,140.5,36.5", "PARTS_POINTS,1,2",
                   "PARTIDX,0", "DBFITEM,90,"});
    std::vector<std::string> d = {"LINKIDX,7"};
    std::vector<std::pair<double, double>> expected;
    for (int i = 0; i < 11; ++i) {
        double x = 139 + i * 0.01, y = 35 + i * 0.005;
        expected.emplace_back(x, y);
        char line[64];
        std::snprintf(line, sizeof line, "LINKDATA,%.3f,%.3f", x, y);
        d.push_back(line);
    }
    d.insert(d.end(), {"LINKIDX,9", "LINKDATA,140,36", "LINKDATA,140.5,36.5"});
    b.writeCoordinates(d);
    runOk();

    ShapefileRead s = readShapefile(base);
    EXPECT_EQ(s.type, SHPT_ARC);
    ASSERT_EQ(s.shapes.size(), 2u);
    EXPECT_EQ(s.shapes[0].partStarts, (std::vector<int>{0, 4, 6}));
    ASSERT_EQ(s.shapes[0].vertices.size(), 11u);
    for (std::size_t i = 0; i < 11; ++i) {
        EXPECT_DOUBLE_EQ(s.shapes[0].vertices[i].first, expected[i].first);
        EXPECT_DOUBLE_EQ(s.shapes[0].vertices[i].second, expected[i].second);
    }
    EXPECT_EQ(s.shapes[1].partStarts, (std::vector<int>{0}));

    std::string info = ogrinfo(base + ".shp");
    EXPECT_THAT(info, HasSubstr("Feature Count: 2"));
    EXPECT_THAT(info, HasSubstr("ID[\"EPSG\",4612]"));
    EXPECT_THAT(info, HasSubstr("MULTILINESTRING ((139 35,139.01 35.005,139.02 35.01,139.03 35.015),"
                                "(139.04 35.02,139.05 35.025),"));
    EXPECT_THAT(info, HasSubstr("LINESTRING (140 36,140.5 36.5)"));
    EXPECT_THAT(info, HasSubstr("路線名 (String) = 中央線"));
}

TEST_F(Shapes, SinglePartLinesAndMeshPolygons) {
    std::string lines = out() + "/area_L";
    b.writeHeader({"MAKEFILE_NAME," + lines, "SHAPE_TYPE,3,-1", "DBFITEM_COUNT,1", "DBFITEM_NAME,起点番号,C,6,0",
                   "LINKNO,3", "BOX,1,2,3,4", "PARTS_POINTS,1,3", "PARTIDX,0", "DBFITEM,000012"});
    b.writeCoordinates({"LINKIDX,3", "LINKDATA,1,2", "LINKDATA,2,3", "LINKDATA,3,4"});
    runOk();
    ShapefileRead l = readShapefile(lines);
    EXPECT_EQ(l.type, SHPT_ARC);
    ASSERT_EQ(l.shapes.size(), 1u);
    EXPECT_EQ(l.shapes[0].vertices.size(), 3u);
    EXPECT_FALSE(fileExists(lines + ".prj")) << "datum -1 asks for no projection file";
    EXPECT_THAT(ogrinfo(lines + ".shp"), HasSubstr("Geometry: Line String"));

    std::string mesh = out() + "/mesh";
    b.writeHeader({"MAKEFILE_NAME," + mesh, "SHAPE_TYPE,7,2000", "DBFITEM_COUNT,1", "DBFITEM_NAME,メッシュ,C,8,0",
                   "LINKNO,1", "BOX,139,35.6666666666667,139.0125,35.675", "PARTS_POINTS,1,5", "PARTIDX,0",
                   "DBFITEM,53390000"});
    b.writeCoordinates({"LINKIDX,1", "LINKDATA,139,35.6666666666667", "LINKDATA,139,35.675", "LINKDATA,139.0125,35.675",
                        "LINKDATA,139.0125,35.6666666666667", "LINKDATA,139,35.6666666666667"});
    runOk();
    ShapefileRead m = readShapefile(mesh);
    EXPECT_EQ(m.type, SHPT_POLYGON);
    ASSERT_EQ(m.shapes.size(), 1u);
    EXPECT_EQ(m.shapes[0].vertices.size(), 5u);
    EXPECT_EQ(m.shapes[0].vertices[2], (std::pair<double, double>{139.0125, 35.675}));
    std::string info = ogrinfo(mesh + ".shp");
    EXPECT_THAT(info, HasSubstr("Geometry: Polygon"));
    EXPECT_THAT(info, HasSubstr("POLYGON ((139.0 35.6666666666667,139.0 35.675,139.0125 35.675,"));
}

TEST_F(Shapes, AnOpenRingIsClosedWithItsFirstVertex) {
    std::string base = out() + "/open";
    b.writeHeader({"MAKEFILE_NAME," + base, "SHAPE_TYPE,7,-1", "DBFITEM_COUNT,1", "DBFITEM_NAME,ID,N,4,0", "LINKNO,1",
                   "BOX,0,0,1,1", "PARTS_POINTS,1,4", "PARTIDX,0", "DBFITEM,1"});
    b.writeCoordinates({"LINKIDX,1", "LINKDATA,0,0", "LINKDATA,0,1", "LINKDATA,1,1", "LINKDATA,1,0"});
    runOk();
    ShapefileRead s = readShapefile(base);
    ASSERT_EQ(s.shapes.size(), 1u);
    EXPECT_EQ(s.shapes[0].vertices,
              (std::vector<std::pair<double, double>>{{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}}));
    std::string info = ogrinfo(base + ".shp");
    EXPECT_THAT(info, HasSubstr("POLYGON ((0 0,0 1,1 1,1 0,0 0))"));
    EXPECT_THAT(info, Not(HasSubstr("Warning"))) << info;
}

}  // namespace
