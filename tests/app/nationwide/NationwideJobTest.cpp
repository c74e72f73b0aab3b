// The nationwide point, line and mesh jobs: point and mesh against recording fakes of their converters,
// lines with the real line writers and Brunhale. Each ending's messages, what stays on disk, and what Yes
// adds to the map.
#include <QProgressBar>
#include <gmock/gmock.h>
#include <filesystem>

#include "app/TableOnMap.h"
#include "convert/line/LineDb.h"
#include "platform/errors/RunTimeError.h"
#include "tests/app/jobs/FakeConversions.h"
#include "tests/app/jobs/JobCatalogue.h"
#include "tests/app/nationwide/NationwideJobTest.h"
#include "tests/brunhale/BrunhaleFolder.h"
#include "tests/tools/gen/LineFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ui::Answer;
using ui::Icon;
using Texts = std::vector<std::string>;
namespace fs = std::filesystem;

namespace {

constexpr int kPointRow = 3;
constexpr int kPortRow = 1;
constexpr int kLineRow = 3;
constexpr int kRailwayRow = 26;
constexpr int kCellRow = 1;
constexpr int kFourWayRow = 7;
const char* const kNothingSelected = "作成する地域のメッシュコードが選択されていません。";

class PointJob : public NationwideJobTest {
protected:
    PointJob() {
        setRow(conversionState().PointLayers[kPointRow], "漁港");
        setRow(conversionState().PointLayers[kPortRow], "港湾");
        standInWriter(0);
    }
    RecordingPoint point_;
    std::string file_ = in("p.txt", "H\r\n");
};

TEST_F(PointJob, NothingTickedIsRefusedBeforeAnythingIsOpened) {
    ui_.answer(Answer::Ok);
    auto d = nationwide(DataKind::Point, kPointRow, file_, out("p"), {});
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, kNothingSelected);
    EXPECT_EQ(ui_.boxes()[0].title, "ﾒｯｾｰｼﾞ");
    EXPECT_TRUE(point_.calls.empty());
    EXPECT_TRUE(logs().empty());
    EXPECT_FALSE(pairOnDisk());
}

TEST_F(PointJob, TheRootConvertsEveryRecordAndASelectionOnlyItsMeshes) {
    ui_.answer(Answer::Yes);
    auto d = nationwide(DataKind::Point, kPointRow, file_, out("p"), {"t"});
    ASSERT_TRUE(convert(*d));
    EXPECT_EQ(point_.calls, (Texts{"MakeShapePointFileData_ini()", "MakeShapePointFileData(p.txt)"}));
    EXPECT_EQ(runs(), Texts{"run:POINT"});
    EXPECT_FALSE(pairOnDisk());
    EXPECT_EQ(lines(logs().back()).back(), "変換終了。   2008/04/01 09:00:02");
    EXPECT_EQ(mapLayers(), Texts{});  // the stand-in wrote no file to add

    point_.calls.clear();
    ui_.answer(Answer::Ok);
    auto selected = nationwide(DataKind::Point, kPointRow, file_, out("p"), {"IDX533945", "IDX533947"});
    EXPECT_FALSE(convert(*selected));
    EXPECT_EQ(point_.calls, (Texts{"MakeShapePointFileData_ini()", "MakeShapePointFileData_ALL(p.txt)"}));
    // Two entries: the mesh of the other prefecture lies between the ticked codes.
    EXPECT_EQ(conversionState().MeshRangeCount, 2);
    EXPECT_EQ(conversionState().MeshRanges[2].FromCode, "533947");
    // The fake writes no point: the no-data box; the pair goes with the job.
    EXPECT_EQ(ui_.boxes().back().text, "選択されたメッシュコードに該当するデータがありませんでした。");
    EXPECT_FALSE(pairOnDisk());
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
}

TEST_F(PointJob, AFailedWriterRunLeavesThePair) {
    standInWriter(3);
    ui_.answer(Answer::Ok);
    auto d = nationwide(DataKind::Point, kPointRow, file_, out("p"), {"t"});
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "Shapeﾌｧｲﾙの作成に失敗しました。");
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Critical);
    EXPECT_FALSE(pairOnDisk());
    EXPECT_TRUE(d->ProgressBar->isHidden());
}

TEST_F(PointJob, ThePortRowRefusesATableOnTheMapBeforeItsNotice) {
    TempProgramFolder::write(out("port_S57.dbf"), "table");
    mapTool().AddTable(out("port_S57.dbf"));
    ui_.answer(Answer::Ok);
    auto d = nationwide(DataKind::Point, kPortRow, file_, out("port.shp"), {"t"});
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "既にマップに追加されている属性ファイル(_S57)は上書きできません。");
    EXPECT_EQ(ui_.boxes()[0].title, "ｴﾗｰﾒｯｾｰｼﾞ");
    EXPECT_TRUE(point_.calls.empty());
    EXPECT_TRUE(logs().empty());
    EXPECT_FALSE(pairOnDisk());
}

TEST_F(PointJob, ThePortRowGoesToThePortConverterAfterItsNotice) {
    ui_.answer(Answer::Ok).answer(Answer::Yes);
    auto d = nationwide(DataKind::Point, kPortRow, file_, out("port.shp"), {"IDX533946"});
    ASSERT_TRUE(convert(*d));
    EXPECT_EQ(ui_.boxes()[0].text,
              "港湾データは属性データ属性データのフィールド数が、２５６フィールドを超えている為\r\n"
              "基礎データと年別情報毎に分割して作成します。");
    EXPECT_EQ(ui_.boxes()[0].title, "ﾒｯｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Information);
    EXPECT_EQ(point_.calls, Texts{"MakePoint_Kouwan(p.txt)"});
    EXPECT_EQ(point_.meshRangeCountAtPort, 1);
}

TEST_F(PointJob, ARunTimeErrorShowsTheJobsBoxAndClosesThePairAndLog) {
    point_.onCall = [](const std::string& name) {
        if (name == "MakeShapePointFileData") throw RunTimeError(57, "Device I/O error");
    };
    ui_.answer(Answer::Ok);
    auto d = nationwide(DataKind::Point, kPointRow, file_, out("p"), {"t"});
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: frmDataSetALL (frmDataSetALL MakePoint)");
    EXPECT_EQ(ui_.boxes()[0].text, "57 デバイス I/O エラーが発生しました。");
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
    EXPECT_FALSE(conversionState().FilHFileNo.isOpen());
}

TEST_F(PointJob, WithoutTheTreeFileTheJobFailsInItsSelection) {
    fs::remove(program("DataView.csv"));
    ui_.answer(Answer::Ok).answer(Answer::Ok).answer(Answer::Ok);
    auto d = nationwide(DataKind::Point, kPointRow, file_, out("p"), {});
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 3u);
    EXPECT_EQ(ui_.boxes()[2].title, "Error: frmDataSetALL (SetSelectMesh)");
    EXPECT_TRUE(point_.calls.empty());
    EXPECT_TRUE(logs().empty());
}

class LineJob : public NationwideJobTest {
protected:
    LineJob() {
        ConversionState& s = conversionState();
        gen::fillLineLayerRow(s.LineLayers[kLineRow], "海岸線", "N03-L", gen::ordinaryLedgerItems());
        gen::fillLineLayerRow(s.LineLayers[kRailwayRow], "鉄道", "N02-RW", gen::ordinaryLedgerItems());
        realWriter();
    }
    // Nine lines of one link each, three starting in each of 533945, 533946, 533947.
    std::string lineFile(gen::LineItem item = gen::LineItem::Ordinary, std::vector<int> stationMeshes = {}) {
        gen::LineFileOptions o;
        o.item = item;
        o.headerKey = item == gen::LineItem::Railway ? "N02-RW" : "N03-L";
        o.meshes = {533945, 533946, 533947};
        o.links = o.lines = 9;
        o.linksPerLine = 1;
        gen::LineFileModel m = gen::makeLineFileModel(o);
        if (item == gen::LineItem::Railway) {
            o.stations = static_cast<int>(stationMeshes.size());
            m = gen::makeLineFileModel(o);
            for (std::size_t k = 0; k < stationMeshes.size(); ++k) m.nodes[m.nodes.size() - stationMeshes.size() + k].mesh = stationMeshes[k];
        }
        return in("lines.txt", gen::formatLineFile(m));
    }
    bool databaseOnDisk() const { return fs::exists(program(ModLine::kLineDbFileName)); }
};

TEST_F(LineJob, NothingTickedLeavesTheEmptyDatabaseAndAnEmptyLog) {
    ui_.answer(Answer::Ok);
    auto d = nationwide(DataKind::Line, kLineRow, lineFile(), out("coast"), {});
    EXPECT_FALSE(convert(*d));
    EXPECT_EQ(ui_.boxes().at(0).text, kNothingSelected);
    EXPECT_FALSE(databaseOnDisk());
    ASSERT_EQ(logs().size(), 1u);
    EXPECT_TRUE(lines(logs()[0]).empty());
}

TEST_F(LineJob, ASelectionWritesTheLinesOfItsMeshesOnly) {
    ui_.answer(Answer::Yes);
    auto d = nationwide(DataKind::Line, kLineRow, lineFile(), out("coast"), {"r01"});
    ASSERT_TRUE(convert(*d));
    const std::string info = ogrinfo(out("coast.shp"));
    EXPECT_THAT(info, ::testing::HasSubstr("Feature Count: 6"));
    EXPECT_FALSE(databaseOnDisk());
    EXPECT_EQ(mapLayers(), Texts{out("coast.shp")});
}

TEST_F(LineJob, ASelectionWithoutLinesFailsAfterTheWritersMessage) {
    meshTree({"1,01,北海道", "2,01,533945,a", "2,01,623945,z"});
    ui_.answer(Answer::Ok);
    auto d = nationwide(DataKind::Line, kLineRow, lineFile(), out("coast"), {"IDX623945"});
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "選択されたメッシュコードに該当するデータがありませんでした。");
    EXPECT_FALSE(databaseOnDisk());
    EXPECT_FALSE(fs::exists(out("coast.shp")));
}

TEST_F(LineJob, TheRailwayRowAddsItsStationsOrAsksAboutTheLinesAlone) {
    ui_.answer(Answer::Yes);
    auto d = nationwide(DataKind::Line, kRailwayRow, lineFile(gen::LineItem::Railway, {533945, 533947}), out("rail"), {"t"});
    ASSERT_TRUE(convert(*d));
    EXPECT_EQ(mapLayers(), (Texts{out("rail_駅名.shp"), out("rail.shp")}));  // the last added on top
    EXPECT_THAT(ogrinfo(out("rail_駅名.shp")), ::testing::HasSubstr("Feature Count: 2"));

    // Lines in the selection, no station: the lines-only question, and the job has failed.
    ui_.clearRecords();
    ui_.answer(Answer::Ok).answer(Answer::Yes);
    auto none = nationwide(DataKind::Line, kRailwayRow, lineFile(gen::LineItem::Railway, {533945, 533947}),
                           out("rail2"), {"r02"});
    EXPECT_FALSE(convert(*none));
    ASSERT_EQ(ui_.boxes().size(), 2u);
    EXPECT_EQ(ui_.boxes()[0].text, "選択されたメッシュコードに該当するデータがありませんでした。");
    EXPECT_EQ(ui_.boxes()[1].text, "変換されたシェープファイル（鉄道ラインデータのみ）をマップに追加しますか？");
    EXPECT_EQ(mapLayers().front(), out("rail2.shp"));
    EXPECT_FALSE(databaseOnDisk());
}

TEST_F(LineJob, AFailedLineWriterShowsTheLineFailure) {
    standInWriter(1);
    ui_.answer(Answer::Ok).answer(Answer::Ok);
    auto d = nationwide(DataKind::Line, kLineRow, lineFile(), out("coast"), {"t"});
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 2u);
    EXPECT_EQ(ui_.boxes()[1].text, "ラインデータ変換中にエラーが発生しました。ログファイルを参照してください。");
    EXPECT_EQ(ui_.boxes()[1].title, "ｴﾗｰﾒｯｾｰｼﾞ");
    EXPECT_FALSE(databaseOnDisk());
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
}

class MeshJob : public NationwideJobTest {
protected:
    MeshJob() {
        setRow(conversionState().MeshLayers[kCellRow], "指定地域メッシュ", 2);
        setRow(conversionState().MeshLayers[kFourWayRow], "波向・海霧・自然漁場２次メッシュ", 4);
    }
    RecordingMesh mesh_;
    std::string file_ = in("m.txt", "H\r\n");
};

TEST_F(MeshJob, TheTickedCodesGoToTheConverterAndTheRootGivesNone) {
    ui_.answer(Answer::No).answer(Answer::No);
    auto d = nationwide(DataKind::Mesh, kCellRow, file_, out("mesh"), {"IDX533947", "IDX533946"});
    ASSERT_TRUE(convert(*d));
    auto all = nationwide(DataKind::Mesh, kCellRow, file_, out("mesh"), {"t"});
    ASSERT_TRUE(convert(*all));
    EXPECT_EQ(mesh_.meshCodeLists, (std::vector<Texts>{{"533947", "533946"}, {}}));
    EXPECT_EQ(mesh_.calls, (Texts{"MakeShapeMESHFileData(m.txt)", "MakeShapeMESHFileData(m.txt)"}));
}

TEST_F(MeshJob, NothingTickedRefusesWithTheErrorTitleAndLeavesTheStartedLog) {
    ui_.answer(Answer::Ok);
    auto d = nationwide(DataKind::Mesh, kCellRow, file_, out("mesh"), {});
    EXPECT_FALSE(convert(*d));
    EXPECT_EQ(ui_.boxes().at(0).text, kNothingSelected);
    EXPECT_EQ(ui_.boxes().at(0).title, "ｴﾗｰﾒｯｾｰｼﾞ");
    EXPECT_EQ(lines(logs().back()), Texts{"[メッシュデータ]データ変換開始。"});
    EXPECT_TRUE(mesh_.calls.empty());
}

TEST_F(MeshJob, ARunTimeErrorShowsTheJobsBoxAndLeavesTheProgressAsItWas) {
    mesh_.onCall = [](const std::string&) { throw RunTimeError(57, "Device I/O error"); };
    ui_.answer(Answer::Ok);
    auto d = nationwide(DataKind::Mesh, kCellRow, file_, out("mesh"), {"t"});
    d->ProgressBar->show();
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: frmDataSetALL (MakeMesh)");
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
    EXPECT_FALSE(d->ProgressBar->isHidden());
}

TEST_F(MeshJob, WithoutTheTreeFileTheJobRefusesAnEmptySelection) {
    fs::remove(program("DataView.csv"));
    ui_.answer(Answer::Ok).answer(Answer::Ok).answer(Answer::Ok);
    auto d = nationwide(DataKind::Mesh, kCellRow, file_, out("mesh"), {});
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 3u);
    EXPECT_EQ(ui_.boxes()[2].text, kNothingSelected);
    EXPECT_TRUE(mesh_.calls.empty());
}

TEST_F(MeshJob, FailuresNameTheirConverterAndTheFourWayItemAddsFourLayers) {
    mesh_.failing = {"MakeShapeMESHFileData"};
    ui_.answer(Answer::Ok);
    auto d = nationwide(DataKind::Mesh, kCellRow, file_, out("mesh"), {"t"});
    EXPECT_FALSE(convert(*d));
    EXPECT_EQ(ui_.boxes().at(0).text, "メッシュデータ変換中にエラーが発生しました。ログァイルを参照してください。");
    EXPECT_EQ(lines(logs().back()),
              (Texts{"[メッシュデータ]データ変換開始。", "2008/04/01 09:00:02", "エラーにより途中中断しました"}));

    mesh_.onCall = [&](const std::string&) {
        for (const char* n : {"wave4.shp", "wave2.shp", "wave1.shp", "wave3.shp"}) writeLayer(out(n));
    };
    ui_.clearRecords();
    ui_.answer(Answer::Ok).answer(Answer::Yes);
    auto four = nationwide(DataKind::Mesh, kFourWayRow, file_, out("wave.shp"), {"r01"});
    ASSERT_TRUE(convert(*four));
    EXPECT_EQ(mapLayers(), (Texts{out("wave4.shp"), out("wave3.shp"), out("wave2.shp"), out("wave1.shp")}));
}

}  // namespace
