// The line and attribute-table jobs with the real converters: the log and temporary files a job leaves,
// the road question declined, failed writer runs, the refusal of a table the map shows, and what Yes adds
// to the map. The real Brunhale writes the outputs unless a test puts a failing stand-in in its place.
#include <QLabel>
#include <QProgressBar>

#include <QTreeWidget>

#include "convert/attr/AttrLoader.h"
#include "app/JobDialogParts.h"
#include "convert/line/LineDb.h"
#include "platform/files/FolderLock.h"
#include "tests/app/jobs/JobCatalogue.h"
#include "tests/app/jobs/JobTest.h"
#include "tests/convert/attr/AttrTestSupport.h"
#include "tests/tools/gen/AttrFileGen.h"
#include "tests/tools/gen/LineFileGen.h"
#include "platform/map/MapView.h"
#include "viewer/ThemeTree.h"

using namespace velmora;
using namespace velmora::testsupport;
using ui::Answer;
using ui::Icon;

namespace {

constexpr int kLineRow = 3;
constexpr int kRoadRow = 25;
constexpr int kAttrRow = 3;
constexpr int kJoinedRow = 10;

class LineJob : public JobTest {
protected:
    LineJob() {
        ConversionState& s = conversionState();
        gen::fillLineLayerRow(s.LineLayers[kLineRow], "海岸線", "N03-L", gen::ordinaryLedgerItems());
        gen::fillLineLayerRow(s.LineLayers[kRoadRow], "道路", "N01-RD", gen::roadLedgerItems());
        realWriter();
    }
    std::string lineFile(const std::string& name, int firstLink) {
        return in(name, gen::formatLineFile(gen::makeLineFileModel(coastlineFile(firstLink))));
    }
    bool databaseOnDisk() const { return std::filesystem::exists(program(ModLine::kLineDbFileName)); }
};

TEST_F(LineJob, AFinishedJobLeavesTheShapefileAndItsLogAndNothingElse) {
    conversionState().LinkIdxCounter = {500, 500};  // left by an earlier job: the links count from 1 again
    ui_.answer(Answer::Yes);
    auto d = dialog(DataKind::Line, kLineRow, {lineFile("a.txt", 1), lineFile("b.txt", 101)}, out("coast"));
    ASSERT_TRUE(convert(*d));
    EXPECT_TRUE(std::filesystem::exists(out("coast.shp")));
    EXPECT_EQ(lines(logs().back()),
              (std::vector<std::string>{"[ラインデータ]データ変換開始。", "変換終了。   2008/04/01 09:00:02"}));
    EXPECT_FALSE(databaseOnDisk());
    EXPECT_FALSE(pairOnDisk());
    EXPECT_EQ(conversionState().LinkIdxCounter[0], 12);
    EXPECT_EQ(mapLayers(), std::vector<std::string>{out("coast.shp")});
    EXPECT_TRUE(d->ProgressBar->isHidden());
    EXPECT_EQ(d->ProgressBar->value(), d->ProgressBar->maximum());
}

TEST_F(LineJob, AnUpperCaseExtensionAddsTheFileTheWriterMade) {
    ui_.answer(Answer::Yes);
    auto d = dialog(DataKind::Line, kLineRow, {lineFile("a.txt", 1)}, out("coast.SHP"));
    ASSERT_TRUE(convert(*d));
    EXPECT_TRUE(std::filesystem::exists(out("coast.shp")));
    EXPECT_EQ(mapLayers(), std::vector<std::string>{out("coast.shp")});
}

// Yes puts the written lines on the map, drawn and listed in the tree; the next job to that file is
// refused because the map shows it.
TEST_F(LineJob, YesDrawsTheLayerAndTheNextJobToItIsRefused) {
    window_->show();
    ui_.answer(Answer::Yes);
    auto d = dialog(DataKind::Line, kLineRow, {lineFile("a.txt", 1)}, out("coast"));
    ASSERT_TRUE(convert(*d));
    map::MapView& map = *window_->MainMap;
    ASSERT_EQ(map.layerCount(), 1);
    EXPECT_EQ(map.layer(0)->name(), "coast");
    EXPECT_EQ(map.layer(0)->shapeType(), 22);
    const QTreeWidgetItem* layers = viewer::root(window_->tvwThemeList, viewer::kMapRootKey);
    ASSERT_EQ(layers->childCount(), 1);
    EXPECT_EQ(layers->child(0)->text(0), "coast");
    EXPECT_EQ(viewer::nodePath(layers->child(0)), out("coast.dbf"));
    QCoreApplication::processEvents();
    const QImage shown = map.grab().toImage();
    const QRgb ink = map::colourToRgb(map.layer(0)->symbol().color) | 0xFF000000u;
    int inked = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) inked += shown.pixel(x, y) == ink;
    EXPECT_GT(inked, 20);

    ui_.clearRecords();
    ui_.answer(Answer::Ok);
    auto again = dialog(DataKind::Line, kLineRow, {lineFile("b.txt", 1)}, out("coast.shp"));
    EXPECT_FALSE(convert(*again));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "既にマップに追加されているシェープファイルは上書きできません。");
    EXPECT_EQ(map.layerCount(), 1);
}

TEST_F(LineJob, ARefusedOutputCheckLeavesNoLogAndNoDatabase) {
    TempProgramFolder::write(out("coast.shp"), "old");
    ui_.answer(Answer::No);
    auto d = dialog(DataKind::Line, kLineRow, {lineFile("a.txt", 1)}, out("coast.shp"));
    EXPECT_FALSE(convert(*d));
    EXPECT_TRUE(logs().empty());
    EXPECT_FALSE(databaseOnDisk());
}

// Another program's job holds the program folder (its lock taken here on a descriptor of its own): the job
// is refused before it asks about the existing output or opens anything, and runs once the folder is free.
TEST_F(LineJob, AProgramFolderAnotherJobHoldsRefusesTheJobAtOnce) {
    TempProgramFolder::write(out("coast.shp"), "old");
    auto d = dialog(DataKind::Line, kLineRow, {lineFile("a.txt", 1)}, out("coast.shp"));
    {
        const files::FolderLock otherJob(conversionState().AppFolder, jobdialog::kProgramFolderLockName);
        ASSERT_FALSE(otherJob.busy());
        ui_.answer(Answer::Ok);
        EXPECT_FALSE(convert(*d));
        ASSERT_EQ(ui_.boxes().size(), 1u);
        EXPECT_EQ(ui_.boxes()[0].text, "このプログラムフォルダーでは別の変換が実行中です。実行中の変換が終わってから変換してください。");
        EXPECT_EQ(ui_.boxes()[0].title, "ﾒｯｾｰｼﾞ");
        EXPECT_EQ(ui_.boxes()[0].icon, Icon::Exclamation);
        EXPECT_TRUE(logs().empty());
        EXPECT_FALSE(databaseOnDisk());
        EXPECT_EQ(TempProgramFolder::read(out("coast.shp")), "old");
    }
    ui_.answer(Answer::Yes);  // overwrite
    ui_.answer(Answer::No);   // not to the map
    EXPECT_TRUE(convert(*d));
    EXPECT_EQ(logs().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(program(jobdialog::kProgramFolderLockName)));
}

TEST_F(LineJob, RoadsDeclinedWithoutTheirLedgerEndTheJobWithoutAMessageOfItsOwn) {
    gen::LineFileOptions o;
    o.item = gen::LineItem::Road;
    o.headerKey = "N01-RD";
    gen::LineFileModel roads = gen::makeLineFileModel(o);
    roads.roadLedgers.clear();
    ui_.answer(Answer::No);
    auto d = dialog(DataKind::Line, kRoadRow, {in("roads.txt", gen::formatLineFile(roads))}, out("roads.shp"));
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "台帳データが選択されていません。\r属性情報が作成されませんが、このまま作成しますか？");
    EXPECT_EQ(ui_.boxes()[0].title, "確認ﾒｯｾｰｼﾞ");
    EXPECT_EQ(lines(logs().back()), std::vector<std::string>{"[ラインデータ]データ変換開始。"});
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
    EXPECT_FALSE(std::filesystem::exists(out("roads.shp")));
}

TEST_F(LineJob, AFailedWriterRunIsReportedAsAFailedLineConversion) {
    standInWriter(1);
    ui_.answer(Answer::Ok).answer(Answer::Ok);
    auto d = dialog(DataKind::Line, kLineRow, {lineFile("a.txt", 1)}, out("coast.shp"));
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 2u);
    EXPECT_EQ(ui_.boxes()[0].text, "Shapeﾌｧｲﾙの作成に失敗しました。");
    EXPECT_EQ(ui_.boxes()[0].title, "ﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes()[1].text, "ラインデータ変換中にエラーが発生しました。ログファイルを参照してください。");
    EXPECT_EQ(ui_.boxes()[1].title, ui::defaultTitle());
    EXPECT_EQ(ui_.boxes()[1].icon, Icon::Information);
    // The job's work files go with the job, whatever its end.
    EXPECT_FALSE(databaseOnDisk());
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
}

class AttrJob : public JobTest {
protected:
    AttrJob() {
        ConversionState& s = conversionState();
        s.AttrLayers[kAttrRow] = attrtest::makeLayer("海水浴台帳", "W07", items_);
        realWriter();
    }
    std::string table(const std::string& name) {
        const auto cols = attrtest::columnsOf(items_, items_.size());
        const std::string path = (folder_.path() / "in" / name).string();
        gen::writeLines(path, {gen::attrHeaderLine({"", "W07", "", "2008", "1", 2}), gen::attrTRow(cols, {"A0001", "由比ヶ浜", "120"}),
                               gen::attrTRow(cols, {"A0002", "逗子", "7"})});
        return path;
    }
    const std::vector<attrtest::Item> items_ = {
        {"コード", "Text", 4, 5, true}, {"名称", "Text1", 9, 20, true}, {"人数", "Long", 29, 8, true}};
};

TEST_F(AttrJob, AnExistingTableIsOverwrittenWithoutAQuestionAndYesAddsItAsATable) {
    TempProgramFolder::write(out("beach.dbf"), "old");
    ui_.answer(Answer::Yes);
    auto d = dialog(DataKind::Attr, kAttrRow, {table("a.txt")}, out("beach"));
    ASSERT_TRUE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "変換されたDBFファイルをマップに追加しますか？");
    EXPECT_EQ(ui_.boxes()[0].title, "ﾒｯｾｰｼﾞ");
    EXPECT_EQ(mapTables(), std::vector<std::string>{out("beach.dbf")});
    EXPECT_TRUE(mapLayers().empty());
    EXPECT_GT(std::filesystem::file_size(out("beach.dbf")), 3u);
    EXPECT_FALSE(pairOnDisk());
    EXPECT_EQ(lines(logs().back()), std::vector<std::string>{"変換終了。   2008/04/01 09:00:02"});
}

TEST_F(AttrJob, ATableTheMapShowsIsNotOverwritten) {
    writeLayer(out("layer.shp"));
    for (const char* f : {"layer.dbf", "shown.dbf"}) TempProgramFolder::write(out(f), "on the map");
    std::filesystem::create_directories(folder_.path() / "other");
    ASSERT_TRUE(mapTool().AddLayer(out("layer.shp")));
    ASSERT_TRUE(mapTool().AddTable(out("shown.dbf")));
    struct Case {
        std::string output;
        bool refused;
    };
    const Case cases[] = {
        {out("layer.dbf"), true},  // the table of a layer
        {out("layer"), true},
        {out("shown.dbf"), true},  // a table under the tables root
        {out("../out/shown.dbf"), true},
        {(folder_.path() / "other" / "layer.dbf").string(), false},
        {out("layer2.dbf"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        ui_.clearRecords();
        const std::size_t logsBefore = logs().size();
        ui_.answer(c.refused ? Answer::Ok : Answer::No);
        auto d = dialog(DataKind::Attr, kAttrRow, {table("a.txt")}, c.output);
        EXPECT_EQ(convert(*d), !c.refused);
        if (c.refused) {
            EXPECT_EQ(ui_.boxes().at(0).text, "既にマップに追加されているDBFファイルは上書きできません。");
            EXPECT_EQ(ui_.boxes().at(0).title, "ｴﾗｰﾒｯｾｰｼﾞ");
            EXPECT_EQ(ui_.boxes().at(0).icon, Icon::Exclamation);
            EXPECT_EQ(logs().size(), logsBefore);
        }
    }
    EXPECT_EQ(TempProgramFolder::read(out("layer.dbf")), "on the map");
    EXPECT_EQ(TempProgramFolder::read(out("shown.dbf")), "on the map");
}

TEST_F(AttrJob, AFailedWriterRunLeavesThePairAndClosesTheJobFiles) {
    standInWriter(1);
    ui_.answer(Answer::Ok);
    auto d = dialog(DataKind::Attr, kAttrRow, {table("a.txt")}, out("beach.dbf"));
    EXPECT_FALSE(convert(*d));
    EXPECT_EQ(ui_.boxes().at(0).text, "DBFﾌｧｲﾙの作成に失敗しました。");
    EXPECT_EQ(ui_.boxes().at(0).title, "ﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes().at(0).icon, Icon::Critical);
    // The job's work files go with the job, whatever its end.
    EXPECT_FALSE(pairOnDisk());
    ConversionState& s = conversionState();
    EXPECT_FALSE(s.LogFileNo.isOpen());
    EXPECT_FALSE(s.FilHFileNo.isOpen());
    EXPECT_FALSE(s.FilDFileNo.isOpen());
}

TEST_F(AttrJob, ALedgerJoinedTableWithoutRowsFailsWithTheTableMessage) {
    std::vector<attrtest::Item> joined = items_;
    for (int i = 4; i <= 45; ++i) joined.push_back({"予備" + std::to_string(i), "Integer", 43, 1, false});
    joined.push_back({"水系名", "Text2", 0, 20, true});
    conversionState().AttrLayers[kJoinedRow] = attrtest::makeLayer("河川・水系域テーブル", "W10", joined);
    const std::string empty = (folder_.path() / "in" / "empty.txt").string();
    gen::writeLines(empty, {gen::attrHeaderLine({"", "W10", "", "2008", "1", 0})});
    ui_.answer(Answer::Ok);
    auto d = dialog(DataKind::Attr, kJoinedRow, {empty}, out("river.dbf"));
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "表データ変換中にエラーが発生しました。ログファイルを参照してください。");
    EXPECT_EQ(ui_.boxes()[0].title, ui::defaultTitle());
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Exclamation);
    EXPECT_FALSE(conversionState().FilHFileNo.isOpen());
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
    EXPECT_FALSE(std::filesystem::exists(out("river.dbf")));
}

}  // namespace
