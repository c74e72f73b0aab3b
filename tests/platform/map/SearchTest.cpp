// Layer searches and the record sets they give.
#include "MapFixtures.h"
#include "platform/errors/RunTimeError.h"
#include "platform/map/MapLayer.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::map;
using namespace maptest;

namespace {

std::vector<std::uint32_t> records(RecordSet rs) {
    std::vector<std::uint32_t> n;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) n.push_back(rs.recordNumber());
    return n;
}

using Found = std::vector<std::uint32_t>;

class Search : public ::testing::Test {
protected:
    TempFolder dir{"map-search"};
};

TEST_F(Search, PolygonsContainingThePointLeaveHolesOut) {
    MapLayer layer(twoSquares(dir));
    struct Case {
        MapPoint p;
        Found expected;
    } cases[] = {
        {{2, 2}, {0}}, {{5, 5}, {}},   // inside the hole of the first square
        {{25, 5}, {1}}, {{15, 5}, {}}, {{-1, -1}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(records(layer.searchShape(c.p, 12, "")), c.expected) << c.p.x << "," << c.p.y;
    RecordSet none = layer.searchShape({15, 5}, 12, "");
    EXPECT_TRUE(none.eof());
    EXPECT_EQ(none.recordCount(), 0);
    // Overlapping polygons come in ascending record order.
    GenShapeFile f;
    f.shpType = SHPT_POLYGON;
    for (int i = 0; i < 40; ++i) f.shapes.push_back({{rectangleRing(-i, -i, 1 + i, 1 + i)}});
    MapLayer nested(writeShapeFile(dir.file("nested"), f));
    const Found all = records(nested.searchShape({0.5, 0.5}, 12, ""));
    ASSERT_EQ(all.size(), 40u);
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
}

TEST_F(Search, DistanceSearchMeasuresPointsAndSegments) {
    MapLayer lines(lineLayer(dir, {{{0, 0}, {10, 0}, {10, 10}}, {{20, 20}, {30, 20}}}));
    MapLayer points(pointLayer(dir, {{0, 0}, {3, 4}, {10, 10}}));
    GenShapeFile mp;
    mp.shpType = SHPT_MULTIPOINT;
    mp.shapes = {{{{{0, 0}, {50, 50}}}}, {{{{20, 0}, {21, 0}}}}};
    MapLayer multipoints(writeShapeFile(dir.file("multi"), mp));
    MapLayer polygons(twoSquares(dir));
    struct Case {
        const MapLayer* layer;
        MapPoint p;
        double d;
        Found expected;
    } cases[] = {
        {&lines, {5, 1}, 1.5, {0}},
        {&lines, {5, 3}, 1.5, {}},       // inside the line's box, but far from both segments
        {&lines, {11, 5}, 1.0, {0}},     // the second segment
        {&lines, {25, 19}, 1.0, {1}},
        {&points, {0, 0}, 5.0, {0, 1}},  // (3, 4) at exactly 5
        {&points, {0, 0}, 4.99, {0}},
        {&multipoints, {49, 50}, 1.0, {0}},  // any point of a multipoint
        {&multipoints, {10, 0}, 9.5, {}},
        {&polygons, {5, 5}, 0.5, {}},    // in the hole, 1 away from its edges
        {&polygons, {5, 5}, 1.0, {0}},
        {&polygons, {25, 5}, 0.0, {1}},  // inside counts as distance 0
        {&polygons, {15, 5}, 5.0, {0, 1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(records(c.layer->searchByDistance(c.p, c.d, "")), c.expected) << c.p.x << "," << c.p.y << " " << c.d;
}

TEST_F(Search, UnsupportedMethodsAndFiltersThrow5) {
    MapLayer layer(twoSquares(dir));
    for (auto call : std::vector<std::function<void()>>{
             [&] { layer.searchShape({1, 1}, 13, ""); },
             [&] { layer.searchShape({1, 1}, 12, "CODE = 13"); },
             [&] { layer.searchByDistance({1, 1}, 1, "CODE = 13"); },
             [&] { layer.searchByDistance({1, 1}, -1, ""); },
         }) {
        try {
            call();
            ADD_FAILURE() << "no error";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 5);
        }
    }
}

TEST_F(Search, RecordSetGivesDecodedTrimmedValuesAndFieldTypes) {
    GenShapeFile f;
    f.shpType = SHPT_POINT;
    f.shapes = {{{{{1, 1}}}}, {{{{2, 2}}}}};
    f.fields = {{"名称", 'C', 20, 0}, {"CODE", 'N', 6, 0}, {"AREA", 'N', 10, 3},
                {"DAY", 'D', 8, 0}, {"FLAG", 'L', 1, 0}, {"NOTE", 'C', 10, 0}};
    f.rows = {{"  東京都 千代田区 ", "13101", "12.5", "20240131", "T", ""},
              {"ﾃｽﾄ", "-7", "0", "19991231", "F", "x"}};
    MapLayer layer(writeShapeFile(dir.file("values"), f));
    RecordSet rs = layer.searchByDistance({0, 0}, 10, "");
    ASSERT_EQ(rs.recordCount(), 2);
    ASSERT_EQ(rs.fieldCount(), 6);
    const std::vector<std::pair<std::string, int>> fields = {{"名称", 8}, {"CODE", 3}, {"AREA", 5},
                                                             {"DAY", 7},  {"FLAG", 11}, {"NOTE", 8}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(rs.fieldName(i), fields[i].first);
        EXPECT_EQ(rs.fieldType(i), fields[i].second) << fields[i].first;
    }
    EXPECT_THROW(rs.fieldName(6), RunTimeError);
    EXPECT_EQ(rs.value("名称"), "東京都 千代田区");
    EXPECT_EQ(rs.value("CODE"), "13101");
    EXPECT_EQ(rs.value("AREA"), "12.500");
    EXPECT_EQ(rs.value("DAY"), "20240131");
    EXPECT_EQ(rs.value("FLAG"), "T");
    EXPECT_EQ(rs.value("NOTE"), "");
    EXPECT_THROW(rs.value("Shape"), RunTimeError);  // the shape is no field
    EXPECT_EQ(rs.shape().parts.at(0).at(0).x, 1);
    rs.moveNext();
    EXPECT_EQ(rs.value("名称"), "ﾃｽﾄ");
    EXPECT_EQ(rs.value("CODE"), "-7");
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.value("CODE"), RunTimeError);
    EXPECT_THROW(rs.shape(), RunTimeError);
    rs.moveNext();  // stays at the end
    EXPECT_TRUE(rs.eof());
    rs.moveFirst();
    EXPECT_EQ(rs.value("CODE"), "13101");
}

// A null value reads as an empty text whatever the field's type, never as the filler the table holds
// (asterisks in a number, zeros in a date, "?" in a logical field); zeros and blanks inside values are
// values.
TEST_F(Search, NullValuesAreEmptyAndZeroIsAValue) {
    GenShapeFile f;
    f.shpType = SHPT_POINT;
    f.shapes = {{{{{1, 1}}}}, {{{{2, 2}}}}};
    f.fields = {{"CODE", 'N', 9, 0}, {"AREA", 'N', 12, 3}, {"RATE", 'F', 10, 2},
                {"DAY", 'D', 8, 0},  {"FLAG", 'L', 1, 0},  {"NAME", 'C', 10, 0}};
    f.rows = {{"", "", "", "", "", ""}, {"0", "0", "-0.5", "20240101", "F", "0"}};
    MapLayer layer(writeShapeFile(dir.file("nulls"), f));
    RecordSet rs = layer.searchByDistance({0, 0}, 10, "");
    ASSERT_EQ(rs.recordCount(), 2);
    for (const char* name : {"CODE", "AREA", "RATE", "DAY", "FLAG", "NAME"}) EXPECT_EQ(rs.value(name), "") << name;
    rs.moveNext();
    EXPECT_EQ(rs.value("CODE"), "0");
    EXPECT_EQ(rs.value("AREA"), "0.000");
    EXPECT_EQ(rs.value("RATE"), "-0.50");
    EXPECT_EQ(rs.value("DAY"), "20240101");
    EXPECT_EQ(rs.value("FLAG"), "F");
    EXPECT_EQ(rs.value("NAME"), "0");
}

TEST_F(Search, RecordSetOutlivesTheLayer) {
    RecordSet rs;
    {
        TestMap map(50, 50);
        map.addLayer(std::make_shared<MapLayer>(twoSquares(dir)));
        rs = map.layer(0)->searchShape({25, 5}, 12, "");
        map.clearLayers();
    }
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value("NAME"), "ｶﾅ");
    EXPECT_EQ(rs.shape().box, MapRect(20, 30, 0, 10));
}

}  // namespace
