// From line files to shapefiles through the real Brunhale, read back with ogrinfo: feature counts,
// multi-part lines, ledger fields and Japanese names.
#include <filesystem>

#include "convert/line/LineWriters.h"
#include "convert/line/RoadLinkWriter.h"
#include "convert/line/StationWriters.h"
#include "tests/convert/line/LineWriterFixture.h"
#include "tests/support/CommandOutput.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

class LineEndToEndTest : public LineWriterFixture {
protected:
    LineEndToEndTest() {
        std::filesystem::remove(program_.file("Brunhale"));
        std::filesystem::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/Brunhale", program_.file("Brunhale"));
    }
};

TEST_F(LineEndToEndTest, OrdinaryLinesBecomeMultiPartShapesWithLedgerFields) {
    openDb(kOrdinaryRow);
    conversionState().OutputPath = out("海岸線.shp");
    gen::LineFileOptions o;
    o.headerKey = kOrdinaryKey;
    o.links = 9;
    o.lines = 6;
    o.linksPerLine = 3;
    o.missingLedgerEvery = 3;
    ASSERT_TRUE(load(writeFile("in.txt", gen::makeLineFileModel(o))));
    ASSERT_TRUE(ModLine::MakeShapeLineFileData(db_));

    const std::string summary = ogrinfoReport(out("海岸線.shp"), "-so");
    EXPECT_NE(summary.find("Feature Count: 6"), std::string::npos) << summary;
    EXPECT_NE(summary.find("Geometry: Line String"), std::string::npos) << summary;
    EXPECT_NE(summary.find("名称: String (20.0)"), std::string::npos) << summary;
    EXPECT_NE(summary.find("種別: Integer"), std::string::npos) << summary;
    EXPECT_EQ(summary.find("管理番号"), std::string::npos) << summary;  // not flagged for output

    const std::string all = ogrinfoReport(out("海岸線.shp"), "");
    EXPECT_EQ(occurrences(all, "MULTILINESTRING"), 6) << all;
    EXPECT_NE(all.find("名称 (String) = ライン1"), std::string::npos) << all;
    EXPECT_NE(all.find("備考 (String) = 備考テキスト"), std::string::npos) << all;
    EXPECT_NE(all.find("属性番号 (Integer64) = 200001"), std::string::npos) << all;
    // Lines 3 and 6 have no ledger row: their values are empty.
    EXPECT_EQ(occurrences(all, "属性番号 (Integer64) = (null)"), 2) << all;
    EXPECT_EQ(occurrences(all, "名称 (String) = (null)"), 2) << all;
    EXPECT_TRUE(std::filesystem::exists(out("海岸線.prj")));
}

TEST_F(LineEndToEndTest, RoadLinksSharedByTwoFilesBecomeOneShape) {
    openDb(kRoadRow);
    conversionState().OutputPath = out("道路.shp");
    gen::LineFileOptions o;
    o.item = gen::LineItem::Road;
    o.headerKey = kRoadKey;
    o.links = 30;
    o.verticesPerLink = 8;
    ASSERT_TRUE(load(writeFile("a.txt", gen::makeLineFileModel(o))));
    o.firstLinkSerial = 21;  // links 21-30 are in both files
    ASSERT_TRUE(load(writeFile("b.txt", gen::makeLineFileModel(o))));
    bool goOn = false;
    ASSERT_TRUE(ModLine::MakeShapeLineFileData_Doro(db_, goOn));
    ASSERT_TRUE(goOn);

    const std::string all = ogrinfoReport(out("道路.shp"), "");
    EXPECT_NE(all.find("Feature Count: 50"), std::string::npos) << all.substr(0, 2000);
    EXPECT_EQ(occurrences(all, "LINESTRING ("), 50);
    EXPECT_NE(all.find("路線名 (String) = 国道21号"), std::string::npos);
    EXPECT_EQ(occurrences(all, "通称 (String) = 通称25\n"), 1);  // a shared link once only
}

TEST_F(LineEndToEndTest, RailwayLinesAndStations) {
    openDb(kRailwayRow);
    conversionState().OutputPath = out("鉄道.shp");
    conversionState().DatumCode = -1;
    gen::LineFileOptions o;
    o.item = gen::LineItem::Railway;
    o.headerKey = kRailwayKey;
    o.links = 12;
    o.lines = 4;
    o.stations = 7;
    o.missingLedgerEvery = 4;
    ASSERT_TRUE(load(writeFile("in.txt", gen::makeLineFileModel(o))));
    ASSERT_TRUE(ModLine::MakeShapeLineFileData(db_));
    ASSERT_TRUE(ModLine::MakeShapeLine_PointFileData(db_));

    EXPECT_NE(ogrinfoReport(out("鉄道.shp"), "-so").find("Feature Count: 4"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out("鉄道.prj")));
    const std::string stations = ogrinfoReport(out("鉄道_駅名.shp"), "");
    // Seven station nodes, every fourth without its ledger row.
    EXPECT_NE(stations.find("Feature Count: 6"), std::string::npos) << stations;
    EXPECT_NE(stations.find("Geometry: Point"), std::string::npos) << stations;
    EXPECT_NE(stations.find("駅名 (String) = 駅1\n"), std::string::npos) << stations;
    EXPECT_NE(stations.find("属性番号 (Integer64) = 900000"), std::string::npos) << stations;
    EXPECT_EQ(logLines(), std::vector<std::string>{"ノード台帳にノード属性情報がありません。ノード属性番号 = 900003"});
}

}  // namespace
