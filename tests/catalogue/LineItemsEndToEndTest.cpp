// The shipped line items converted end to end: generated road and railway files, whose header carries the
// item's data code, become line shapefiles; the road links carry their road ledger under the names the
// catalogue gives.
#include "tests/catalogue/ShippedItemRun.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;

namespace {

// Line row `row` of the shipped catalogue with its layout's data code in the generated file's header.
gen::LineFileOptions optionsFor(int row, gen::LineItem item) {
    gen::LineFileOptions o;
    o.item = item;
    o.headerKey = shippedLayout(CatalogKind::Line, row)->dataCode;
    o.links = 6;
    o.lines = 3;
    o.linksPerLine = 2;
    o.stations = item == gen::LineItem::Railway ? 2 : 0;
    return o;
}

TEST_F(ShippedItemRun, RoadLinksCarryTheirRoadLedger) {
    const LayerDef& d = conversionState().LineLayers[25];
    const gen::LineFileModel model = gen::makeLineFileModel(optionsFor(25, gen::LineItem::Road));
    const std::string in = program_.file("in/N01.txt"), out = program_.file("out/道路.shp");
    gen::writeLineFile(in, model);

    convert("line", 25, out, {in}, "--datum 2000 --answer no");
    const std::string info = ogrinfo(out);
    EXPECT_THAT(info, HasSubstr("Feature Count: 6"));
    EXPECT_THAT(info, HasSubstr("Geometry: Line String"));
    EXPECT_THAT(info, HasSubstr("ID[\"EPSG\",4612]"));
    EXPECT_THAT(info, HasSubstr("属性番号: Integer64 (10.0)"));
    for (int i = 1; i <= d.ItemCount; ++i) EXPECT_THAT(info, HasSubstr(fieldLine(d, i)));
    for (const gen::GenRoadLedger& l : model.roadLedgers) {
        EXPECT_THAT(info, HasSubstr("  属性番号 (Integer64) = " + std::to_string(l.attribute) + "\n"));
        EXPECT_THAT(info, HasSubstr(valueLine(d, 1, std::to_string(l.roadKind))));
        EXPECT_THAT(info, HasSubstr(valueLine(d, 2, l.routeName)));
        if (!l.lineName.empty()) {
            EXPECT_THAT(info, HasSubstr(valueLine(d, 3, l.lineName)));
        }
        EXPECT_THAT(info, HasSubstr(valueLine(d, 4, l.commonName)));
    }
}

// The railway's line ledger items are not known: its lines carry their attribute number alone.
TEST_F(ShippedItemRun, RailwayLinesCarryTheirAttributeNumber) {
    const LayerDef& d = conversionState().LineLayers[26];
    EXPECT_EQ(d.ItemCount, 0);
    const gen::LineFileModel model = gen::makeLineFileModel(optionsFor(26, gen::LineItem::Railway));
    const std::string in = program_.file("in/N02.txt"), out = program_.file("out/鉄道.shp");
    gen::writeLineFile(in, model);

    convert("line", 26, out, {in}, "--datum 0 --answer no");
    const std::string info = ogrinfo(out);
    EXPECT_THAT(info, HasSubstr("Feature Count: 3"));
    EXPECT_THAT(info, HasSubstr("Geometry: Line String"));
    EXPECT_THAT(info, HasSubstr("ID[\"EPSG\",4301]"));
    for (const gen::GenLine& l : model.lines)
        EXPECT_THAT(info, HasSubstr("  属性番号 (Integer64) = " + std::to_string(l.attribute) + "\n"));
}

// A railway file covers the whole country: one file goes to the nationwide job, which also writes the
// stations from their ledger ("DP") beside the lines.
TEST_F(ShippedItemRun, OneRailwayFileGivesLinesAndStationsNationwide) {
    EXPECT_TRUE(conversionState().LineLayers[26].AllowNationwide);
    const gen::LineFileModel model = gen::makeLineFileModel(optionsFor(26, gen::LineItem::Railway));
    const std::string in = program_.file("in/N02.txt"), out = program_.file("out/鉄道.shp");
    gen::writeLineFile(in, model);

    convert("line", 26, out, {in}, "--nationwide --all --datum 2000 --answer no");
    EXPECT_THAT(ogrinfo(out), HasSubstr("Feature Count: 3"));
    const std::string stations = ogrinfo(program_.file("out/鉄道_駅名.shp"));
    EXPECT_THAT(stations, HasSubstr("Feature Count: " + std::to_string(model.stationLedgers.size())));
    EXPECT_THAT(stations, HasSubstr("Geometry: Point"));
    EXPECT_THAT(stations, HasSubstr("ID[\"EPSG\",4612]"));
    EXPECT_THAT(stations, HasSubstr("駅名: String (56.0)"));
    for (const gen::GenStationLedger& l : model.stationLedgers) EXPECT_THAT(stations, HasSubstr("  駅名 (String) = " + l.name + "\n"));
}

}  // namespace
