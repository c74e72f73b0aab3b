// The nationwide area job against a recording fake of the polygon library, with the real area-structure
// converters and a stand-in Brunhale: the refusal of an empty selection, the mesh list the library gets,
// the whole-file and the selection writers, and how the job fails.
#include <gmock/gmock.h>

#include <QCheckBox>

#include "platform/errors/RunTimeError.h"
#include "tests/app/jobs/FakePolygonLibrary.h"
#include "tests/app/nationwide/NationwideJobTest.h"
#include "tests/tools/gen/AreaFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;
using ui::Answer;
using ui::Icon;

namespace {

constexpr int kForestRow = 4;
constexpr int kLakesRow = 9;
const char* const kAddQuestion = "変換されたシェープファイルをマップに追加しますか？";

class NationwideAreaJob : public NationwideJobTest {
protected:
    NationwideAreaJob() {
        ConversionState& s = conversionState();
        for (int row : {0, kForestRow, kLakesRow})
            datagen::fill_area_layer_row(s.PolygonLayers[static_cast<std::size_t>(row)], "面" + std::to_string(row),
                                         datagen::area_row_header_key(row), datagen::area_ledger_items(row));
        s.PolygonMakeMode = 1;
        standInWriter(0);
    }
    // One generated area-structure file of a row; its areas lie in mesh 533920.
    std::string structureFile(int row) {
        datagen::AreaStructureOptions o;
        o.row = row;
        o.grid.cols = 2;
        o.grid.rows = 1;
        o.grid.vertices_per_link = 3;
        return datagen::generate_area_structure_files(program("in/area"), o).files.front().path;
    }
    std::unique_ptr<frmDataSetALL> areaDialog(int row, const std::vector<std::string>& ticks, bool points, bool lines,
                                              const std::string& file = {}) {
        auto d = nationwide(DataKind::Area, row, file.empty() ? structureFile(row) : file, out("area.shp"), ticks);
        d->ChkMakeData[0]->setChecked(points);
        d->ChkMakeData[1]->setChecked(lines);
        return d;
    }
    RecordingLibrary library_;
};

TEST_F(NationwideAreaJob, NothingTickedIsRefusedBeforeAnyFileIsOpened) {
    ui_.answer(Answer::Ok);
    auto d = areaDialog(kForestRow, {}, true, true);
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "作成する地域のメッシュコードが選択されていません。");
    EXPECT_EQ(ui_.boxes()[0].title, "ﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Exclamation);
    EXPECT_TRUE(library_.calls.empty());
    EXPECT_TRUE(logs().empty());
}

TEST_F(NationwideAreaJob, TheRootPassesTheEmptyMeshListAndWritesTheWholeFile) {
    ui_.answer(Answer::No).answer(Answer::No).answer(Answer::No);  // counts box, points, lines
    const std::string file = structureFile(kForestRow);
    auto d = areaDialog(kForestRow, {"t"}, true, true, file);
    ASSERT_TRUE(convert(*d));
    ASSERT_EQ(library_.calls.size(), 1u);
    EXPECT_EQ(library_.calls[0].entryPoint, "Ostrand");
    EXPECT_EQ(library_.calls[0].dataId, kForestRow);
    EXPECT_EQ(library_.calls[0].inputFiles, file);
    EXPECT_EQ(library_.calls[0].meshCodes, "");
    EXPECT_FALSE(library_.calls[0].logOpenDuringCall);
    EXPECT_EQ(runs().size(), 2u);
    ASSERT_EQ(logs().size(), 1u);
    const std::vector<std::string> log = lines(logs()[0]);
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[2], "[面データ]付属変換開始。");
    EXPECT_THAT(log[5], ::testing::StartsWith("変換終了。"));
}

TEST_F(NationwideAreaJob, TickedMeshesGoToTheLibraryInWalkOrderAndNarrowTheAttachedOutputs) {
    // The lakes row passes its own row number; its meshes hold none of the file's areas.
    ui_.answer(Answer::No).answer(Answer::Ok).answer(Answer::Ok);  // counts box, two no-data boxes
    auto d = areaDialog(kLakesRow, {"IDX533947", "IDX533946"}, true, true);
    ASSERT_TRUE(convert(*d));
    ASSERT_EQ(library_.calls.size(), 1u);
    EXPECT_EQ(library_.calls[0].dataId, kLakesRow);
    EXPECT_EQ(library_.calls[0].meshCodes, "533947,533946");
    ASSERT_EQ(ui_.boxes().size(), 3u);
    EXPECT_EQ(ui_.boxes()[1].text, "選択されたメッシュコードに該当するデータがありませんでした。");
    EXPECT_TRUE(runs().empty());
}

TEST_F(NationwideAreaJob, TheLibraryAndTheAttachedOutputsGetTheTickedMeshesAloneWhateverLiesBetweenThem) {
    // 533946 lies between 533945 and 533947 and is listed nowhere; 533978 to 533999 are no mesh codes.
    meshTree({"1,01,北海道", "2,01,533945,a", "2,01,533947,c", "2,01,533977,d", "1,02,青森県", "2,02,534000,e"});
    ui_.answer(Answer::No).answer(Answer::Ok).answer(Answer::Ok);  // counts box, two no-data boxes
    auto d = areaDialog(kForestRow, {"IDX533945", "IDX533947", "IDX533977", "IDX534000"}, true, true);
    ASSERT_TRUE(convert(*d));
    ASSERT_EQ(library_.calls.size(), 1u);
    EXPECT_EQ(library_.calls[0].meshCodes, "533945,533947,533977,534000");
    const ConversionState& s = conversionState();
    EXPECT_EQ(s.RepMeshWhere, (std::vector<std::string>{"", "代表点メッシュコード = 533945", "代表点メッシュコード = 533947",
                                                         "代表点メッシュコード >= 533977 AND 代表点メッシュコード <= 534000"}));
    EXPECT_EQ(s.StartMeshWhere.size(), 4u);
}

TEST_F(NationwideAreaJob, ALibraryRefusalEndsTheJobWithoutABoxOfItsOwn) {
    library_.status = 12;
    auto d = areaDialog(kForestRow, {"t"}, true, true);
    EXPECT_FALSE(convert(*d));
    EXPECT_TRUE(ui_.boxes().empty());
    EXPECT_TRUE(runs().empty());
}

TEST_F(NationwideAreaJob, AWriterThatFailsShowsItsBoxWithoutIcon) {
    conversionState().PolygonMakeMode = 2;
    ui_.answer(Answer::Ok);
    // A file of another item loads nothing: the whole-file writer finds no row.
    auto d = areaDialog(kForestRow, {"t"}, false, true, structureFile(0));
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "線データ変換中にエラーが発生しました。ログファイルを参照してください。");
    EXPECT_EQ(ui_.boxes()[0].title, ui::defaultTitle());
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::None);
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
}

TEST_F(NationwideAreaJob, ARunTimeErrorInTheLibraryCallHasTheDialogsTitle) {
    library_.during = [] { throw RunTimeError(err::DeviceIoError, "Device I/O error"); };
    ui_.answer(Answer::Ok);
    auto d = areaDialog(kForestRow, {"t"}, false, false);
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "57 デバイス I/O エラーが発生しました。");
    EXPECT_EQ(ui_.boxes()[0].title, "Error: frmDataSetALL (MakePolygon)");
}

TEST_F(NationwideAreaJob, APathWithACommaIsRefusedWhenPolygonsAreWanted) {
    ui_.answer(Answer::Ok);
    auto d = areaDialog(kForestRow, {"t"}, false, false, in("a,b.txt", "x"));
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_THAT(ui_.boxes()[0].text, HasSubstr("「,」を含む入力ファイル"));
    EXPECT_TRUE(library_.calls.empty());
}

TEST_F(NationwideAreaJob, WithoutPolygonsAndBoxesNothingIsConvertedAndTheJobSucceeds) {
    conversionState().PolygonMakeMode = 2;
    auto d = areaDialog(kForestRow, {"t"}, false, false);
    EXPECT_TRUE(convert(*d));
    EXPECT_TRUE(library_.calls.empty());
    EXPECT_TRUE(runs().empty());
    EXPECT_TRUE(ui_.boxes().empty());
}

}  // namespace
