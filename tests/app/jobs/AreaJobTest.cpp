// The file-list area job against a recording fake of the polygon library, with the real area-structure
// converters over generated files and a stand-in Brunhale: which entry point runs with what, the counts
// box, the log the library and the converters share, the attached outputs and every way the job fails.
#include <gmock/gmock.h>

#include <QCheckBox>
#include <QProgressBar>
#include <filesystem>

#include "app/OstrandLibrary.h"
#include "convert/area/PolygonDb.h"
#include "platform/errors/RunTimeError.h"
#include "tests/app/jobs/FakePolygonLibrary.h"
#include "tests/app/jobs/JobTest.h"
#include "tests/tools/gen/AreaFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using ui::Answer;
using ui::Icon;
namespace fs = std::filesystem;

namespace {

constexpr int kCatchmentRow = 10;

class AreaJob : public JobTest {
protected:
    AreaJob() {
        ConversionState& s = conversionState();
        for (int row = 0; row <= kCatchmentRow; ++row)
            datagen::fill_area_layer_row(s.PolygonLayers[static_cast<std::size_t>(row)], "面" + std::to_string(row),
                                         datagen::area_row_header_key(row), datagen::area_ledger_items(row));
        s.PolygonMakeMode = 1;
        standInWriter(0);
    }

    // Two generated area-structure files of a row (of another row's item when headerRow is given).
    std::vector<std::string> structureFiles(int row, int headerRow = -1) {
        datagen::AreaStructureOptions o;
        o.row = row;
        o.header_row = headerRow;
        o.grid.cols = 2;
        o.grid.rows = 1;
        o.grid.files = 2;
        o.grid.vertices_per_link = 3;
        std::vector<std::string> files;
        for (const auto& f : datagen::generate_area_structure_files(program("in/area" + std::to_string(row)), o).files)
            files.push_back(f.path);
        return files;
    }

    // A job dialog of an area row with the boxes ticked as given.
    std::unique_ptr<frmDataSet> areaDialog(int row, const std::vector<std::string>& files, bool points, bool lines,
                                           const std::string& output = {}) {
        auto d = dialog(DataKind::Area, row, files, output.empty() ? out("area.shp") : output);
        d->ChkMakeData[0]->setChecked(points);
        d->ChkMakeData[1]->setChecked(lines);
        return d;
    }

    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const ui::BoxRecord& b : ui_.boxes()) texts.push_back(b.text);
        return texts;
    }

    RecordingLibrary library_;
};

const char* const kAddQuestion = "変換されたシェープファイルをマップに追加しますか？";

// ---- which entry point, with what ----

struct LibraryCase {
    int row;
    const char* entryPoint;
    int dataId;
};

class AreaJobRows : public AreaJob, public ::testing::WithParamInterface<LibraryCase> {};

TEST_P(AreaJobRows, EachRowCallsItsEntryPointWithTheJoinedFilesAndTheEmptyLog) {
    const LibraryCase c = GetParam();
    conversionState().CatchmentSelection = "81001,81002";
    const std::string a = in("a.txt", "x"), b = in("b.txt", "x");
    ui_.answer(Answer::No);  // the counts box
    auto d = areaDialog(c.row, {a, "", b}, false, false);
    ASSERT_TRUE(convert(*d));

    ASSERT_EQ(library_.calls.size(), 1u);
    const RecordingLibrary::Call& call = library_.calls[0];
    EXPECT_EQ(call.entryPoint, c.entryPoint);
    EXPECT_EQ(call.dataId, c.dataId);
    EXPECT_EQ(call.inputFiles, a + "," + b);
    EXPECT_EQ(call.outputPath, out("area.shp"));
    EXPECT_EQ(call.meshCodes, "");
    EXPECT_EQ(call.basinCodes, c.row == kCatchmentRow ? "81001,81002" : "");
    ASSERT_EQ(logs().size(), 1u);
    EXPECT_EQ(call.logPath, logs()[0]);
    EXPECT_FALSE(call.logOpenDuringCall);
    // No attached output: the library's lines stay alone in the log.
    EXPECT_EQ(lines(logs()[0]), library_.logLines);
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
}

// Rows whose item the library narrows by meshes get the empty list, the whole file: polygons are built
// when the user asked for them, also from the file list.
INSTANTIATE_TEST_SUITE_P(Rows, AreaJobRows,
                         ::testing::Values(LibraryCase{0, "Ostrand", 0}, LibraryCase{1, "Ostrand", 1},
                                           LibraryCase{5, "Ostrand", 5}, LibraryCase{8, "Ostrand", 8},
                                           LibraryCase{9, "Ostrand", 10}, LibraryCase{10, "MakeSyusuiV6", 20},
                                           LibraryCase{2, "Ostrand", 2}, LibraryCase{3, "Ostrand", 3},
                                           LibraryCase{4, "Ostrand", 4}, LibraryCase{6, "Ostrand", 6},
                                           LibraryCase{7, "Ostrand", 7}),
                         [](const ::testing::TestParamInfo<LibraryCase>& i) { return "Row" + std::to_string(i.param.row); });

// ---- the library's result ----

TEST_F(AreaJob, TheCountsBoxShowsTotalAndMadeAndYesAddsThePolygons) {
    library_.counts = {120, 118, 3, 0};
    library_.during = [&] { writeLayer(out("area.shp")); };
    ui_.answer(Answer::Yes);
    auto d = areaDialog(0, {in("a.txt", "x")}, false, false);
    ASSERT_TRUE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text,
              std::string("全ポリゴンデータ = 120　中　ポリゴンデータ = 118 件作成されました。\r") + kAddQuestion);
    EXPECT_EQ(ui_.boxes()[0].title, "ﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Question);
    EXPECT_EQ(ui_.boxes()[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(mapLayers(), std::vector<std::string>{out("area.shp")});
    EXPECT_EQ(conversionState().PolygonCounts, (PolygonCountArray{120, 118, 3, 0}));
}

TEST_F(AreaJob, ALibraryRefusalEndsTheJobWithoutABoxOfItsOwnOrAnAttachedOutput) {
    library_.status = 12;
    auto d = areaDialog(0, structureFiles(0), true, true);
    d->show();
    EXPECT_FALSE(convert(*d));
    EXPECT_TRUE(ui_.boxes().empty());
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(runs().empty());
    EXPECT_FALSE(fs::exists(program(ModPolygon::kPolygonDbFileName)));
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
}

// ---- the log and the attached outputs ----

TEST_F(AreaJob, TheLogHoldsTheLibrarysLinesThenTheAttachedOutputsFromStartToEnd) {
    ui_.answer(Answer::No).answer(Answer::No).answer(Answer::No);  // counts box, points, lines
    auto d = areaDialog(0, structureFiles(0), true, true);
    ASSERT_TRUE(convert(*d));
    EXPECT_EQ(boxTexts()[1], kAddQuestion);
    EXPECT_EQ(runs().size(), 2u);
    ASSERT_EQ(logs().size(), 1u);
    const std::vector<std::string> log = lines(logs()[0]);
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 2), library_.logLines);
    EXPECT_EQ(log[2], "[面データ]付属変換開始。");
    EXPECT_EQ(log[3], "[代表点データ]データ変換開始。");
    EXPECT_EQ(log[4], "[線データ]データ変換開始。");
    EXPECT_THAT(log[5], StartsWith("変換終了。"));
    EXPECT_FALSE(fs::exists(program(ModPolygon::kPolygonDbFileName)));
    EXPECT_FALSE(pairOnDisk());
}

TEST_F(AreaJob, WithoutPolygonsTheAttachedOutputsHaveALogOfTheirOwn) {
    conversionState().PolygonMakeMode = 2;
    ui_.answer(Answer::No);  // lines
    auto d = areaDialog(0, structureFiles(0), false, true);
    ASSERT_TRUE(convert(*d));
    EXPECT_TRUE(library_.calls.empty());
    ASSERT_EQ(logs().size(), 1u);
    const std::vector<std::string> log = lines(logs()[0]);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "[面データ]付属変換開始。");
    EXPECT_EQ(log[1], "[線データ]データ変換開始。");
}

TEST_F(AreaJob, WithoutPolygonsAndWithoutBoxesTheJobDoesNothingAndSucceeds) {
    conversionState().PolygonMakeMode = 2;
    auto d = areaDialog(0, {in("a.txt", "x")}, false, false);
    EXPECT_TRUE(convert(*d));
    EXPECT_TRUE(library_.calls.empty());
    EXPECT_TRUE(logs().empty());
    EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(AreaJob, ARepresentativePointFileOnTheMapIsSkippedAndTheLinesAreStillMade) {
    library_.during = [&] {
        writeLayer(out("area_P.shp"));
        ASSERT_TRUE(mapTool().AddLayer(out("area_P.shp")));
    };
    ui_.answer(Answer::No).answer(Answer::Ok).answer(Answer::No);  // counts box, refusal, lines
    auto d = areaDialog(0, structureFiles(0), true, true);
    ASSERT_TRUE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 3u);
    EXPECT_EQ(ui_.boxes()[1].text, "既にマップに追加されているシェープファイル(_p)は上書きできません。");
    EXPECT_EQ(ui_.boxes()[1].title, "ｴﾗｰﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes()[1].icon, Icon::Exclamation);
    ASSERT_EQ(runs().size(), 1u);
    EXPECT_THAT(runs()[0], HasSubstr("area_L"));
    const std::vector<std::string> log = lines(logs()[0]);
    EXPECT_EQ(log[3], "[線データ]データ変換開始。");
}

// ---- failures ----

struct WriterFailure {
    bool points;
    const char* text;
};

class AreaJobWriterFailures : public AreaJob, public ::testing::WithParamInterface<WriterFailure> {};

// Files of another item load nothing: the writer finds no row and fails.
TEST_P(AreaJobWriterFailures, AWriterThatFailsEndsTheJobWithItsBox) {
    const WriterFailure c = GetParam();
    conversionState().PolygonMakeMode = 2;
    ui_.answer(Answer::Ok);
    auto d = areaDialog(0, structureFiles(1, 1), c.points, !c.points);
    d->ProgressBar->show();
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, c.text);
    EXPECT_EQ(ui_.boxes()[0].title, ui::defaultTitle());
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Exclamation);
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
    EXPECT_TRUE(d->ProgressBar->isHidden());
    // The job's work files go with the job, whatever its end.
    EXPECT_FALSE(fs::exists(program(ModPolygon::kPolygonDbFileName)));
}

INSTANTIATE_TEST_SUITE_P(
    Writers, AreaJobWriterFailures,
    ::testing::Values(WriterFailure{true, "代表点データ変換中にエラーが発生しました。ログファイルを参照してください。"},
                      WriterFailure{false, "線データ変換中にエラーが発生しました。ログファイルを参照してください。"}),
    [](const ::testing::TestParamInfo<WriterFailure>& i) { return std::string(i.param.points ? "Points" : "Lines"); });

TEST_F(AreaJob, AFileThatIsNoAreaFileEndsTheJob) {
    conversionState().PolygonMakeMode = 2;
    ui_.answer(Answer::Ok);
    auto d = areaDialog(0, {in("a.txt", "no header\r\n")}, true, false);
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "ファイルの形式が正しくありません。");
    EXPECT_TRUE(runs().empty());
}

TEST_F(AreaJob, AnInputPathWithACommaIsRefusedBeforeAnythingIsAskedOrOpened) {
    TempProgramFolder::write(out("area.shp"), "old");  // would be a question of the output checks
    const std::string comma = in("a,b.txt", "x");
    ui_.answer(Answer::Ok);
    auto d = areaDialog(0, {in("c.txt", "x"), comma}, true, true);
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text,
              "ファイル名またはフォルダ名に「,」を含む入力ファイルからはポリゴンを作成できません。\r" + comma);
    EXPECT_EQ(ui_.boxes()[0].title, "ｴﾗｰﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Exclamation);
    EXPECT_TRUE(library_.calls.empty());
    EXPECT_TRUE(logs().empty());
}

TEST_F(AreaJob, WithoutPolygonsACommaInAPathIsNoHindrance) {
    conversionState().PolygonMakeMode = 2;
    const std::vector<std::string> files = structureFiles(0);
    const std::string comma = in("a,b.txt", TempProgramFolder::read(files[0]));
    ui_.answer(Answer::No);
    auto d = areaDialog(0, {comma, files[1]}, true, false);
    EXPECT_TRUE(convert(*d));
    EXPECT_EQ(runs().size(), 1u);
}

TEST_F(AreaJob, ARunTimeErrorDuringTheLibraryCallTakesTheFailurePath) {
    library_.during = [] { throw RunTimeError(err::DeviceIoError, "Device I/O error"); };
    ui_.answer(Answer::Ok);
    auto d = areaDialog(0, {in("a.txt", "x")}, true, true);
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "57 デバイス I/O エラーが発生しました。");
    EXPECT_EQ(ui_.boxes()[0].title, "Error: frmDataSet (frmDataSet MakePolygon)");
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Critical);
}

// ---- the binding of the real library ----

class AreaJobBinding : public AreaJob {
protected:
    AreaJobBinding() { setOstrandLibrary(&binding_); }
    ~AreaJobBinding() override { setOstrandLibrary(nullptr); }
    OstrandBinding binding_;
};

TEST_F(AreaJobBinding, AMissingLibraryIsErrorFiftyThreeWithTheLoadersText) {
    ui_.answer(Answer::Ok);
    auto d = areaDialog(0, {in("a.txt", "x")}, false, false);
    d->show();
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_THAT(ui_.boxes()[0].text, StartsWith("53 "));
    EXPECT_THAT(ui_.boxes()[0].text, HasSubstr("libOstrand.so"));
    EXPECT_EQ(ui_.boxes()[0].title, "Error: frmDataSet (frmDataSet MakePolygon)");
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Critical);
    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
}

TEST_F(AreaJobBinding, ALibraryWithoutTheEntryPointIsErrorFourFiftyThree) {
    fs::copy_file(OSTRAND_WITHOUT_EXPORTS, program("libOstrand.so"));
    for (int row : {0, kCatchmentRow}) {
        ui_.clearRecords();
        ui_.answer(Answer::Ok);
        auto d = areaDialog(row, {in("a.txt", "x")}, false, false);
        EXPECT_FALSE(convert(*d));
        ASSERT_EQ(ui_.boxes().size(), 1u);
        EXPECT_THAT(ui_.boxes()[0].text, StartsWith("453 "));
        EXPECT_THAT(ui_.boxes()[0].text, HasSubstr(row == 0 ? "Ostrand" : "MakeSyusuiV6"));
        EXPECT_EQ(ui_.boxes()[0].title, "Error: frmDataSet (frmDataSet MakePolygon)");
    }
}

}  // namespace
