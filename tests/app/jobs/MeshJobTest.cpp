// The mesh job against a recording fake of the mesh converters: which converter runs, the log's start,
// end and failure lines, and what Yes adds to the map; and with the built-in converters, which layers
// they convert.
#include <QLabel>
#include <QProgressBar>

#include "platform/errors/RunTimeError.h"
#include "tests/app/jobs/FakeConversions.h"
#include "tests/app/jobs/JobTest.h"
#include "tests/tools/gen/MeshFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ui::Answer;
using ui::Icon;

namespace {

constexpr int kCellRow = 1;
constexpr int kFourWayRow = 7;
const char* const kMeshFailure = "メッシュデータ変換中にエラーが発生しました。ログファイルを参照してください。";

class MeshJob : public JobTest {
protected:
    MeshJob() {
        ConversionState& s = conversionState();
        setRow(s.MeshLayers[kCellRow], "指定地域メッシュ", 2);
        setRow(s.MeshLayers[kFourWayRow], "波向・海霧・自然漁場２次メッシュ", 4);
        inputs_ = {in("m1.txt", "H\r\n"), in("m2.txt", "H\r\n")};
    }
    std::vector<std::string> inputs_;
};

class MeshJobWithConverter : public MeshJob {
protected:
    RecordingMesh mesh_;
};

TEST_F(MeshJobWithConverter, ACellItemIsOneOutputOfEveryRecord) {
    mesh_.onCall = [&](const std::string&) { writeLayer(out("mesh.shp")); };
    ui_.answer(Answer::Yes);
    auto d = dialog(DataKind::Mesh, kCellRow, inputs_, out("mesh"));
    ASSERT_TRUE(convert(*d));
    EXPECT_EQ(mesh_.calls, std::vector<std::string>{"MakeShapeMESHFileData(m1.txt,m2.txt)"});
    EXPECT_EQ(mesh_.outputs, std::vector<std::string>{out("mesh.shp")});
    ASSERT_EQ(mesh_.meshCodeLists.size(), 1u);
    EXPECT_TRUE(mesh_.meshCodeLists[0].empty());
    EXPECT_EQ(lines(logs().back()),
              (std::vector<std::string>{"[メッシュデータ]データ変換開始。", "変換終了。   2008/04/01 09:00:02"}));
    EXPECT_EQ(mapLayers(), std::vector<std::string>{out("mesh.shp")});
}

TEST_F(MeshJobWithConverter, TheFourWayItemAddsItsFourShapefilesInTheOrderOfTheirDigits) {
    mesh_.onCall = [&](const std::string&) {
        for (const char* n : {"wave4.shp", "wave2.shp", "wave1.shp", "wave3.shp"}) writeLayer(out(n));
    };
    ui_.answer(Answer::Ok).answer(Answer::Yes);  // the notice of the four names, the closing question
    auto d = dialog(DataKind::Mesh, kFourWayRow, inputs_, out("wave.shp"));
    ASSERT_TRUE(convert(*d));
    EXPECT_EQ(mesh_.calls, std::vector<std::string>{"TokusyuMakeShape(m1.txt,m2.txt)"});
    // Added in the order of their digits, so the last one added is on top.
    EXPECT_EQ(mapLayers(),
              (std::vector<std::string>{out("wave4.shp"), out("wave3.shp"), out("wave2.shp"), out("wave1.shp")}));
}

TEST_F(MeshJobWithConverter, AFailedConversionEndsTheLogWithTheTimeAndTheAbortLine) {
    mesh_.failing = {"MakeShapeMESHFileData"};
    ui_.answer(Answer::Ok);
    auto d = dialog(DataKind::Mesh, kCellRow, inputs_, out("mesh.shp"));
    d->ProgressBar->show();
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, kMeshFailure);
    EXPECT_EQ(ui_.boxes()[0].title, ui::defaultTitle());
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Exclamation);
    EXPECT_EQ(lines(logs().back()), (std::vector<std::string>{"[メッシュデータ]データ変換開始。", "2008/04/01 09:00:02",
                                                              "エラーにより途中中断しました"}));
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
    EXPECT_TRUE(d->ProgressBar->isHidden());
}

TEST_F(MeshJobWithConverter, ARunTimeErrorClosesTheLogAndLeavesTheProgressAsItIs) {
    mesh_.onCall = [](const std::string&) { throw RunTimeError(err::DeviceIoError, "Device I/O error"); };
    ui_.answer(Answer::Ok);
    auto d = dialog(DataKind::Mesh, kCellRow, inputs_, out("mesh.shp"));
    d->ProgressBar->show();
    EXPECT_FALSE(convert(*d));
    EXPECT_EQ(ui_.boxes().at(0).title, "Error: frmDataSet (frmDataSet MakeMesh)");
    EXPECT_EQ(ui_.boxes().at(0).text, "57 デバイス I/O エラーが発生しました。");
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
    EXPECT_FALSE(d->ProgressBar->isHidden());
}

TEST_F(MeshJobWithConverter, ARefusedOutputCheckLeavesNoLog) {
    TempProgramFolder::write(out("mesh.shp"), "old");
    ui_.answer(Answer::No);
    auto d = dialog(DataKind::Mesh, kCellRow, inputs_, out("mesh.shp"));
    EXPECT_FALSE(convert(*d));
    EXPECT_TRUE(mesh_.calls.empty());
    EXPECT_TRUE(logs().empty());
}

TEST_F(MeshJob, TheFourWayItemIsConvertedIntoItsFourShapefilesByTheBuiltInConverter) {
    standInWriter(0);
    ConversionState& s = conversionState();
    gen::fillMeshLayerRow(s.MeshLayers[kFourWayRow], "波向・海霧・自然漁場２次メッシュ", "M99", 2, 0,
                          gen::layerItems(gen::MeshLayerKind::FourWay));
    gen::MeshFileOptions o;
    o.kind = gen::MeshLayerKind::FourWay;
    o.records = 6;
    const std::string a = in("a.txt", "");
    gen::writeMeshFile(a, gen::makeMeshFileModel(o));
    ui_.answer(Answer::Ok).answer(Answer::Yes);  // the notice of the four names, the closing question
    auto d = dialog(DataKind::Mesh, kFourWayRow, {a}, out("wave.shp"));
    EXPECT_TRUE(convert(*d));
    EXPECT_EQ(runs(), (std::vector<std::string>{"run:MAKEFILE_NAME," + out("wave1"), "run:MAKEFILE_NAME," + out("wave2"),
                                                "run:MAKEFILE_NAME," + out("wave3"), "run:MAKEFILE_NAME," + out("wave4")}));
    EXPECT_FALSE(pairOnDisk());
}

TEST_F(MeshJob, AMeshLayerIsConvertedByTheBuiltInConverter) {
    standInWriter(0);
    ConversionState& s = conversionState();
    gen::fillMeshLayerRow(s.MeshLayers[kCellRow], "指定地域メッシュ", "M99", 3, 0,
                          gen::meshItems(gen::MeshFileFormat::Fixed, 0));
    gen::MeshFileOptions o;
    o.records = 4;
    const std::string a = in("a.txt", "");
    gen::writeMeshFile(a, gen::makeMeshFileModel(o));
    ui_.answer(Answer::No);
    auto d = dialog(DataKind::Mesh, kCellRow, {a}, out("mesh"));
    EXPECT_TRUE(convert(*d));
    EXPECT_EQ(runs(), std::vector<std::string>{"run:MAKEFILE_NAME," + out("mesh")});
    EXPECT_FALSE(pairOnDisk());
    EXPECT_EQ(lines(logs().back()),
              (std::vector<std::string>{"[メッシュデータ]データ変換開始。", "変換終了。   2008/04/01 09:00:02"}));
}

}  // namespace
