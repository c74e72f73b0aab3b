#include "platform/map/MapLayer.h"

#include "MapFixtures.h"
#include "platform/errors/RunTimeError.h"
#include "platform/map/ShapeData.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace velmora;
using namespace velmora::map;
using namespace maptest;

namespace {

TEST(MapLayer, ReadsEveryKindOntoTheFourTypes) {
    TempFolder dir("map-kinds");
    const std::vector<std::pair<double, double>> three = {{1, 2}, {3, 5}, {4, 3}};
    struct Case {
        int shpType;
        int expectedType;
    } cases[] = {
        {SHPT_POINT, 21}, {SHPT_POINTZ, 21}, {SHPT_POINTM, 21},
        {SHPT_ARC, 22}, {SHPT_ARCZ, 22}, {SHPT_ARCM, 22},
        {SHPT_POLYGON, 23}, {SHPT_POLYGONZ, 23}, {SHPT_POLYGONM, 23},
        {SHPT_MULTIPOINT, 24}, {SHPT_MULTIPOINTZ, 24}, {SHPT_MULTIPOINTM, 24},
    };
    for (const auto& c : cases) {
        GenShapeFile f;
        f.shpType = c.shpType;
        const bool single = c.expectedType == 21;
        // A null shape between two shapes: record numbers must stay those of the table.
        if (single) f.shapes = {{{{three[0]}}}, {}, {{{three[2]}}}};
        else f.shapes = {{{three}}, {}, {{{{10, 10}, {12, 14}, {11, 10}}}}};
        const std::string path = writeShapeFile(dir.file("kind" + std::to_string(c.shpType)), f);
        MapLayer layer(path);
        EXPECT_EQ(layer.shapeType(), c.expectedType) << c.shpType;
        EXPECT_EQ(layer.shapeCount(), 3) << c.shpType;
        EXPECT_TRUE(layer.shapes().shape(1).isNull()) << c.shpType;
        const MapRect e = layer.extent();
        if (single) EXPECT_EQ(e, MapRect(1, 4, 2, 3)) << c.shpType;
        else EXPECT_EQ(e, MapRect(1, 12, 2, 14)) << c.shpType;
    }
}

TEST(MapLayer, KeepsThePathAsGivenAndNamesTheLayerAfterTheFile) {
    TempFolder dir("map-names");
    const std::string path = twoSquares(dir, "a.b");
    MapLayer layer(path);
    EXPECT_EQ(layer.filePath(), path);
    EXPECT_EQ(layer.name(), "a.b");
    layer.setName("other");
    EXPECT_EQ(layer.name(), "other");
    EXPECT_EQ(layer.filePath(), path);

    // Upper-case files: the .SHX and .DBF are found, the path stays as given.
    GenShapeFile f;
    f.shpType = SHPT_POLYGON;
    f.shapes = {{{rectangleRing(0, 0, 1, 1)}}};
    f.fields = {{"NAME", 'C', 10, 0}};
    f.rows = {{"X"}};
    f.upperCase = true;
    const std::string upper = writeShapeFile(dir.file("roads"), f);
    ASSERT_EQ(std::filesystem::path(upper).filename(), "ROADS.SHP");
    MapLayer roads(upper);
    EXPECT_EQ(roads.name(), "ROADS");
    EXPECT_EQ(roads.filePath(), upper);
    RecordSet rs = roads.searchShape({0.5, 0.5}, 12, "");
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value("NAME"), "X");
}

TEST(MapLayer, HeaderOnlyFileIsALayerWithoutExtent) {
    TempFolder dir("map-empty");
    GenShapeFile f;
    f.shpType = SHPT_ARC;
    MapLayer layer(writeShapeFile(dir.file("empty"), f));
    EXPECT_EQ(layer.shapeType(), 22);
    EXPECT_EQ(layer.shapeCount(), 0);
    EXPECT_TRUE(layer.extent().isEmpty());
}

TEST(MapLayer, LayerWithoutTableGivesRecordsWithoutFields) {
    TempFolder dir("map-nodbf");
    GenShapeFile f;
    f.shpType = SHPT_POLYGON;
    f.shapes = {{{rectangleRing(0, 0, 1, 1)}}};
    f.dbf = false;
    MapLayer layer(writeShapeFile(dir.file("nodbf"), f));
    RecordSet rs = layer.searchShape({0.5, 0.5}, 12, "");
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.fieldCount(), 0);
    EXPECT_FALSE(rs.shape().isNull());
}

TEST(MapLayer, RefusesWhatIsNoReadableShapefileWith321) {
    TempFolder dir("map-bad");
    const std::string good = twoSquares(dir, "good");
    const std::string bytes = polygontest::read_file(good);
    polygontest::write_file(dir.file("text.shp"), "this is a text file, not a shapefile\r\n");
    polygontest::write_file(dir.file("text.shx"), polygontest::read_file(dir.file("good.shx")));
    polygontest::write_file(dir.file("cut.shp"), bytes.substr(0, bytes.size() - 20));
    polygontest::write_file(dir.file("cut.shx"), polygontest::read_file(dir.file("good.shx")));
    polygontest::write_file(dir.file("noshx.shp"), bytes);
    polygontest::write_file(dir.file("short.shp"), bytes.substr(0, 60));
    for (const std::string name : {"text.shp", "cut.shp", "noshx.shp", "short.shp", "missing.shp"}) {
        try {
            MapLayer layer(dir.file(name));
            ADD_FAILURE() << name << " was read";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 321) << name;
            EXPECT_NE(e.description().find("ファイル形式が不正です。"), std::string::npos) << name;
            EXPECT_NE(e.description().find(dir.file(name)), std::string::npos) << name;
        }
    }
}

TEST(MapLayer, ReadsTheGivenFileEvenWhenItsExtensionIsNotShp) {
    TempFolder dir("map-exact");
    const std::string path = twoSquares(dir, "data");
    std::filesystem::copy_file(path, dir.file("data.shp.bak"));
    std::filesystem::copy_file(dir.file("data.shx"), dir.file("data.shp.shx"));
    // A different file under the name shapelib would derive ("data.shp.shp") must not be read.
    MapLayer layer(dir.file("data.shp.bak"));
    EXPECT_EQ(layer.shapeCount(), 2);
    EXPECT_EQ(layer.name(), "data.shp");
}

}  // namespace
