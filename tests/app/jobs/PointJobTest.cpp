// The point job against recording fakes of the point converters: which converters run for which input,
// the writer runs the job makes itself, the refusals before anything is opened, the failure path, and the
// layer row that every job starts from.
#include <QLabel>
#include <QProgressBar>
#include <functional>

#include "platform/errors/RunTimeError.h"
#include "tests/app/jobs/FakeConversions.h"
#include "tests/app/jobs/JobTest.h"

using namespace velmora;
using namespace velmora::testsupport;
using ui::Answer;
using ui::Icon;

namespace {

constexpr int kOrdinaryRow = 0;
constexpr int kPortRow = 1;
constexpr int kLandPriceRow = 8;

class PointJob : public JobTest {
protected:
    PointJob() {
        ConversionState& s = conversionState();
        setRow(s.PointLayers[kOrdinaryRow], "漁港", 3);
        setRow(s.PointLayers[kPortRow], "港湾", 600);
        setRow(s.PointLayers[kLandPriceRow], "地価公示", 313);
        setRow(s.PointLayers[9], "都道府県地価調査", 313);
        standInWriter(0);
    }
    // The input files by what they hold: fixed columns, commas, tabs, both.
    std::string file(const std::string& name) {
        if (name.rfind("f", 0) == 0) return in(name, "H  P99\r\nP  0001 0001\r\n");
        if (name.rfind("c", 0) == 0) return in(name, "a,b,c\r\n1,2,3\r\n");
        if (name.rfind("t", 0) == 0) return in(name, "a\tb\tc\r\n");
        return in(name, "a,b\tc\r\n");
    }
    std::vector<std::string> files(const std::vector<std::string>& names) {
        std::vector<std::string> paths;
        for (const std::string& n : names) paths.push_back(file(n));
        return paths;
    }
    static bool endsWithEndLine(const std::vector<std::string>& log) {
        return !log.empty() && log.back().rfind("変換終了。", 0) == 0;
    }

    RecordingPoint point_;
};

struct DispatchCase {
    const char* name;
    int row;
    int items;
    std::vector<std::string> files;
    std::vector<Answer> split;  // the answer to the land-price question, when asked
    std::vector<std::string> calls;
    std::vector<std::string> runs;
    bool announced = false;  // the port row's split announcement comes first
};

const DispatchCase kDispatch[] = {
    {"OneFixedColumnFile", kOrdinaryRow, 3, {"f1.txt"}, {},
     {"ChkMakePoint_FileType(f1.txt)", "MakeShapePointFileData_ini()", "MakeShapePointFileData(f1.txt)"}, {"run:POINT"}},
    {"SeveralFixedColumnFiles", kOrdinaryRow, 3, {"f1.txt", "f2.txt"}, {},
     {"ChkMakePoint_FileType(f1.txt,f2.txt)", "MakeShapePointFileData_ini()", "MakePoint_Multi(f1.txt,f2.txt)"},
     {"run:POINT"}},
    {"OneCsvFile", kOrdinaryRow, 3, {"c1.csv"}, {},
     {"ChkMakePoint_FileType(c1.csv)", "MakeShapePointFileData_ini()", "MakeShapePointFileCSV(c1.csv)"}, {"run:POINT"}},
    {"SeveralCsvFiles", kOrdinaryRow, 3, {"c1.csv", "c2.csv"}, {},
     {"ChkMakePoint_FileType(c1.csv,c2.csv)", "MakeShapePointFileData_ini()", "MakeShapePointFileCSV(c1.csv)",
      "MakeShapePointFileCSV(c2.csv)"},
     {"run:POINT"}},
    {"OneTabFile", kOrdinaryRow, 3, {"t1.txt"}, {},
     {"ChkMakePoint_FileType(t1.txt)", "MakeShapePointFileData_ini()", "MakeShapePointFileCSV(t1.txt)"}, {"run:POINT"}},
    {"LandPriceSplit313Items", kLandPriceRow, 313, {"f1.txt"}, {Answer::Yes},
     {"ChkMakePoint_FileType(f1.txt)", "ChkMakePoint_FileYear(f1.txt)", "MakePoint_Chika_SetIniData()",
      "MakeShapePointFileData_ini_Chika()", "MakePoint_Chika(f1.txt)"},
     {"run:POINT", "run:Z"}},
    {"LandPriceSplit314Items", kLandPriceRow, 314, {"f1.txt"}, {Answer::Yes},
     {"ChkMakePoint_FileType(f1.txt)", "ChkMakePoint_FileYear(f1.txt)", "MakePoint_Chika_SetIniData()",
      "MakeShapePointFileData_ini_Chika()", "MakePoint_Chika(f1.txt)"},
     {"run:POINT", "run:Z", "run:Z2"}},
    {"LandPriceSplitSeveralFixedColumnFiles", 9, 313, {"f1.txt", "f2.txt"}, {Answer::Yes},
     {"ChkMakePoint_FileType(f1.txt,f2.txt)", "ChkMakePoint_FileYear(f1.txt,f2.txt)", "MakePoint_Chika_SetIniData()",
      "MakeShapePointFileData_ini_Chika()", "MakePoint_Chika2(f1.txt,f2.txt)"},
     {"run:POINT", "run:Z"}},
    {"LandPriceSplitOneCsvFile", kLandPriceRow, 313, {"c1.csv"}, {Answer::Yes},
     {"ChkMakePoint_FileType(c1.csv)", "ChkMakePoint_FileYear(c1.csv)", "MakePoint_ChikaCSV(c1.csv)"},
     {"run:POINT", "run:Z"}},
    {"LandPriceSplitSeveralCsvFiles", kLandPriceRow, 313, {"c1.csv", "c2.csv"}, {Answer::Yes},
     {"ChkMakePoint_FileType(c1.csv,c2.csv)", "ChkMakePoint_FileYear(c1.csv,c2.csv)",
      "MakePoint_ChikaCSV2(c1.csv,c2.csv)"},
     {"run:POINT", "run:Z"}},
    {"LandPriceOneTableOneFixedColumnFile", kLandPriceRow, 313, {"f1.txt"}, {Answer::No},
     {"ChkMakePoint_FileType(f1.txt)", "ChkMakePoint_FileYear(f1.txt)", "MakePoint_Chika_SetIniData()",
      "MakeShapePointFileData_ini()", "MakeShapePointFileData(f1.txt)"},
     {"run:POINT"}},
    {"LandPriceOneTableSeveralFixedColumnFiles", kLandPriceRow, 313, {"f1.txt", "f2.txt"}, {Answer::No},
     {"ChkMakePoint_FileType(f1.txt,f2.txt)", "ChkMakePoint_FileYear(f1.txt,f2.txt)", "MakePoint_Chika_SetIniData()",
      "MakeShapePointFileData_ini()", "MakePoint_Chika3(f1.txt,f2.txt)"},
     {}},
    {"LandPriceOneTableOneCsvFile", kLandPriceRow, 313, {"c1.csv"}, {Answer::No},
     {"ChkMakePoint_FileType(c1.csv)", "ChkMakePoint_FileYear(c1.csv)", "MakePoint_ChikaCSV4(c1.csv)"}, {}},
    {"LandPriceOneTableSeveralCsvFiles", kLandPriceRow, 313, {"c1.csv", "c2.csv"}, {Answer::No},
     {"ChkMakePoint_FileType(c1.csv,c2.csv)", "ChkMakePoint_FileYear(c1.csv,c2.csv)",
      "MakePoint_ChikaCSV3(c1.csv,c2.csv)"},
     {}},
    {"PortOneFile", kPortRow, 600, {"f1.txt"}, {}, {"ChkMakePoint_FileType(f1.txt)", "MakePoint_Kouwan(f1.txt)"}, {},
     true},
};

TEST_F(PointJob, ConvertersAndWriterRunsByRowFormatAndAnswer) {
    for (const DispatchCase& c : kDispatch) {
        SCOPED_TRACE(c.name);
        point_.calls.clear();
        std::filesystem::remove(program("runs.log"));
        LayerDef& row = conversionState().PointLayers[static_cast<std::size_t>(c.row)];
        row.ItemCount = static_cast<std::int16_t>(c.items);
        const std::size_t boxesBefore = ui_.boxes().size() + (c.announced ? 1 : 0);
        if (c.announced) ui_.answer(Answer::Ok);
        for (Answer a : c.split) ui_.answer(a);
        ui_.answer(Answer::No);  // the closing question

        auto d = dialog(DataKind::Point, c.row, files(c.files), out(std::string(c.name) + ".shp"));
        EXPECT_TRUE(convert(*d));
        EXPECT_EQ(point_.calls, c.calls);
        EXPECT_EQ(runs(), c.runs);
        EXPECT_FALSE(pairOnDisk());
        EXPECT_TRUE(endsWithEndLine(lines(logs().back())));
        EXPECT_EQ(conversionState().OutputPath, out(std::string(c.name) + ".shp"));

        ASSERT_EQ(ui_.boxes().size(), boxesBefore + c.split.size() + 1);
        if (c.announced) {
            const ui::BoxRecord& a = ui_.boxes()[boxesBefore - 1];
            EXPECT_EQ(a.text, "港湾データは属性データ属性データのフィールド数が、２５６フィールドを超えている為\r\n"
                              "基礎データと年別情報毎に分割して作成します。");
            EXPECT_EQ(a.title, "ﾒｯｯｾｰｼﾞ");
            EXPECT_EQ(a.icon, Icon::Information);
        }
        if (!c.split.empty()) {
            const ui::BoxRecord& q = ui_.boxes()[boxesBefore];
            EXPECT_EQ(q.title, "確認ﾒｯｾｰｼﾞ");
            EXPECT_EQ(q.icon, Icon::Question);
            EXPECT_EQ(q.text, text::fromCp932(row.Name) +
                                  "データは属性データのフィールド数が、２５６フィールドを超えています。属性データを分割して出力しますか？\r"
                                  "分割する場合は「はい」を、分割しない場合は「いいえ」を選択してください。");
        }
        const ui::BoxRecord& closing = ui_.boxes().back();
        EXPECT_EQ(closing.text, "変換されたシェープファイルをマップに追加しますか？");
        EXPECT_EQ(closing.title, "ﾒｯｾｰｼﾞ");
        EXPECT_EQ(closing.icon, Icon::Question);
        EXPECT_EQ(closing.buttons, ui::Buttons::YesNo);
    }
}

TEST_F(PointJob, ThePortRowConvertsItsOneFileAsTheNationwideJobDoes) {
    conversionState().MeshRangeCount = 3;
    ui_.answer(Answer::Ok).answer(Answer::No);
    auto d = dialog(DataKind::Point, kPortRow, files({"f1.txt"}), out("port.shp"));
    ASSERT_TRUE(convert(*d));
    EXPECT_EQ(point_.meshRangeCountAtPort, -1);
    // The converter wrote the end line and closed the log; the job writes no second one.
    const std::vector<std::string> log = lines(logs().back());
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("変換終了。", 0) == 0; }), 1);
}

TEST_F(PointJob, APortTableTheMapShowsIsRefusedBeforeAnythingIsOpened) {
    writeLayer(out("port_S61.shp"));
    for (const char* f : {"port_S55.dbf", "port_S61.dbf"}) TempProgramFolder::write(out(f), "on the map");
    struct Case {
        const char* name;
        std::function<void()> show;
        const char* refusal;
    };
    const Case cases[] = {
        {"LayerWhoseTableIsThe61st", [&] { ASSERT_TRUE(mapTool().AddLayer(out("port_S61.shp"))); },
         "既にマップに追加されている属性ファイル(_S61)は上書きできません。"},
        // The tables are checked in order: the 55th is found before the 61st.
        {"TableOfThe55th", [&] { ASSERT_TRUE(mapTool().AddTable(out("port_S55.dbf"))); },
         "既にマップに追加されている属性ファイル(_S55)は上書きできません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui_.clearRecords();
        point_.calls.clear();
        c.show();
        ui_.answer(Answer::Ok).answer(Answer::Ok);
        auto d = dialog(DataKind::Point, kPortRow, files({"f1.txt"}), out("port.shp"));
        EXPECT_FALSE(convert(*d));
        ASSERT_EQ(ui_.boxes().size(), 2u);
        EXPECT_EQ(ui_.boxes()[0].title, "ﾒｯｯｾｰｼﾞ");
        EXPECT_EQ(ui_.boxes()[1].text, c.refusal);
        EXPECT_EQ(ui_.boxes()[1].title, "ｴﾗｰﾒｯｾｰｼﾞ");
        EXPECT_EQ(ui_.boxes()[1].icon, Icon::Exclamation);
        // Refused before any input is read or the log opened.
        EXPECT_TRUE(point_.calls.empty());
        EXPECT_TRUE(logs().empty());
        EXPECT_FALSE(pairOnDisk());
    }
}

TEST_F(PointJob, ASplitTableTheMapShowsIsRefusedAfterTheQuestion) {
    for (const char* f : {"chika_Z2.dbf"}) TempProgramFolder::write(out(f), "on the map");
    ASSERT_TRUE(mapTool().AddTable(out("chika_Z2.dbf")));
    ui_.answer(Answer::Yes).answer(Answer::Ok);
    auto d = dialog(DataKind::Point, kLandPriceRow, files({"f1.txt"}), out("chika.shp"));
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 2u);
    EXPECT_EQ(ui_.boxes()[1].text, "既にマップに追加されている属性ファイル(_Z2)は上書きできません。");
    EXPECT_EQ(ui_.boxes()[1].title, "ｴﾗｰﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes()[1].icon, Icon::Exclamation);
    EXPECT_EQ(point_.calls, (std::vector<std::string>{"ChkMakePoint_FileType(f1.txt)", "ChkMakePoint_FileYear(f1.txt)"}));
    EXPECT_FALSE(std::filesystem::exists(program("MakeShapeFile.fil_Z")));
    EXPECT_FALSE(conversionState().LogFileNo.isOpen());
    EXPECT_TRUE(d->ProgressBar->isHidden());
}

TEST_F(PointJob, SeveralPortFilesAreRefusedBeforeAnythingIsOpened) {
    TempProgramFolder::write(out("port.shp"), "old");  // no overwrite question is asked either
    ui_.answer(Answer::Ok);
    auto d = dialog(DataKind::Point, kPortRow, files({"f1.txt", "f2.txt"}), out("port.shp"));
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "港湾データは１ファイルずつ変換してください。");
    EXPECT_EQ(ui_.boxes()[0].title, "ｴﾗｰﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Exclamation);
    EXPECT_TRUE(point_.calls.empty());
    EXPECT_TRUE(logs().empty());
    EXPECT_FALSE(pairOnDisk());
}

// The output check refuses before the job has a log; the checks of the input files leave their causes
// in the job's log. Neither leaves the pair.
TEST_F(PointJob, RefusedChecksLeaveNoPairAndTheInputChecksTheirLog) {
    struct Case {
        const char* name;
        int row;
        std::string failing;    // the check the fake refuses
        bool existingOutput;    // answered No at the overwrite question
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"OutputCheck", kOrdinaryRow, "", true, {}},
        {"InputFormats", kOrdinaryRow, "ChkMakePoint_FileType", false, {"ChkMakePoint_FileType(f1.txt,c1.csv)"}},
        {"DataYears", kLandPriceRow, "ChkMakePoint_FileYear", false,
         {"ChkMakePoint_FileType(f1.txt,c1.csv)", "ChkMakePoint_FileYear(f1.txt,c1.csv)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        point_.calls.clear();
        point_.failing = {c.failing};
        const std::string output = out(std::string(c.name) + ".shp");
        if (c.existingOutput) {
            TempProgramFolder::write(output, "old");
            ui_.answer(Answer::No);
        }
        const std::size_t logsBefore = logs().size();
        auto d = dialog(DataKind::Point, c.row, files({"f1.txt", "c1.csv"}), output);
        EXPECT_FALSE(convert(*d));
        EXPECT_EQ(point_.calls, c.calls);
        EXPECT_EQ(logs().size(), logsBefore + (c.failing.empty() ? 0u : 1u));
        EXPECT_FALSE(pairOnDisk());
    }
}

TEST_F(PointJob, AnAcceptedJobHasItsLogBeforeAnyInputIsRead) {
    std::size_t logsAtFirstConversion = 0;
    point_.onCall = [&](const std::string& name) {
        if (name == "MakeShapePointFileData_ini") logsAtFirstConversion = logs().size();
    };
    ui_.answer(Answer::No);
    auto d = dialog(DataKind::Point, kOrdinaryRow, files({"f1.txt"}), out("a.shp"));
    ASSERT_TRUE(convert(*d));
    EXPECT_EQ(logsAtFirstConversion, 1u);
}

TEST_F(PointJob, NeighbouringFilesOfDifferentFormatsFailWithALogLine) {
    ui_.answer(Answer::Ok);
    auto d = dialog(DataKind::Point, kOrdinaryRow, files({"f1.txt", "f2.txt", "c1.csv"}), out("a.shp"));
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "ファイル形式の違うデータを同時に変換はできません");
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Exclamation);
    // This box alone has an empty title, not the program's name.
    EXPECT_EQ(ui_.boxes()[0].title, "");
    EXPECT_EQ(lines(logs().back()), std::vector<std::string>{"ファイル形式の違うデータを同時に変換はできません"});
    EXPECT_EQ(point_.calls.back(), "MakeShapePointFileData_ini()");
    EXPECT_TRUE(runs().empty());
    EXPECT_FALSE(conversionState().FilHFileNo.isOpen());
}

TEST_F(PointJob, InputOfNoUsableFormatEndsTheJobThroughTheFailurePath) {
    struct Case {
        const char* name;
        int row;
        std::string file;
        std::vector<std::string> boxes;
    };
    const std::string missing = (folder_.path() / "in" / "missing.txt").string();
    const Case cases[] = {
        {"BothSeparatorsOrdinary", kOrdinaryRow, "m.txt", {"ファイルの形式が正しくありません。"}},
        {"BothSeparatorsLandPrice", kLandPriceRow, "m.txt", {"ファイルの形式が正しくありません。"}},
        // The format check says once that the file is missing.
        {"MissingFileOrdinary", kOrdinaryRow, "", {"指定されたファイルが存在しません\r\n" + missing}},
        {"MissingFileLandPrice", kLandPriceRow, "", {"指定されたファイルが存在しません\r\n" + missing}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui_.clearRecords();
        std::filesystem::remove(program("runs.log"));
        for (std::size_t i = 0; i < c.boxes.size(); ++i) ui_.answer(Answer::Ok);
        auto d = dialog(DataKind::Point, c.row, {c.file.empty() ? missing : file(c.file)}, out("x.shp"));
        EXPECT_FALSE(convert(*d));
        std::vector<std::string> shown;
        for (const ui::BoxRecord& b : ui_.boxes()) shown.push_back(b.text);
        EXPECT_EQ(shown, c.boxes);
        if (c.file == "m.txt") {
            EXPECT_EQ(ui_.boxes().back().title, "ｴﾗｰﾒｯｾｰｼﾞ");
            EXPECT_EQ(ui_.boxes().back().icon, Icon::Critical);
        }
        EXPECT_TRUE(runs().empty());
        EXPECT_FALSE(endsWithEndLine(lines(logs().back())));
        EXPECT_FALSE(conversionState().LogFileNo.isOpen());
    }
}

TEST_F(PointJob, AFailedWriterRunTakesThePairWithItAndARetryFinishes) {
    standInWriter(1);
    ui_.answer(Answer::Ok);
    auto d = dialog(DataKind::Point, kOrdinaryRow, files({"f1.txt"}), out("a.shp"));
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "Shapeﾌｧｲﾙの作成に失敗しました。");
    EXPECT_EQ(ui_.boxes()[0].title, "ﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Critical);
    // The job's work files go with the job, whatever its end.
    EXPECT_FALSE(pairOnDisk());
    EXPECT_FALSE(endsWithEndLine(lines(logs().back())));
    EXPECT_TRUE(d->ProgressBar->isHidden());

    // The retry in the same dialog empties the pair when it opens it and finishes.
    standInWriter(0);
    ui_.answer(Answer::No);
    EXPECT_TRUE(convert(*d));
    EXPECT_EQ(runs(), (std::vector<std::string>{"run:POINT", "run:POINT"}));
    EXPECT_FALSE(pairOnDisk());
    EXPECT_EQ(logs().size(), 2u);
}

TEST_F(PointJob, AFailedRunOfASplitTableHasItsOwnMessage) {
    standInWriter(1, "Z");
    ui_.answer(Answer::Yes).answer(Answer::Ok);
    auto d = dialog(DataKind::Point, kLandPriceRow, files({"f1.txt"}), out("chika.shp"));
    EXPECT_FALSE(convert(*d));
    EXPECT_EQ(runs(), (std::vector<std::string>{"run:POINT", "run:Z"}));
    EXPECT_EQ(ui_.boxes().back().text, "属性ﾃﾞｰﾀﾌｧｲﾙ作成に失敗しました。");
    EXPECT_EQ(ui_.boxes().back().title, "ﾒｯｾｰｼﾞ");
    EXPECT_EQ(ui_.boxes().back().icon, Icon::Critical);
}

TEST_F(PointJob, EveryJobStartsFromTheRowAsLoaded) {
    LayerDef& row = conversionState().PointLayers[kLandPriceRow];
    row.ItemStart[5] = 40;
    row.ItemOutput[5] = true;
    std::vector<int> startsSeen;
    // The land-price converters adapt the row to the data year in place.
    point_.onCall = [&](const std::string& name) {
        if (name != "MakePoint_Chika_SetIniData") return;
        startsSeen.push_back(row.ItemStart[5]);
        row.ItemStart[5] = 77;
        row.ItemOutput[5] = false;
        row.ItemCount = 400;
    };
    struct Ending {
        const char* name;
        std::function<void()> arrange;
        bool finished;
    };
    const Ending endings[] = {
        {"Finished", [&] { ui_.answer(Answer::No).answer(Answer::No); }, true},
        {"ConverterFailed", [&] { point_.failing = {"MakePoint_Chika"}; ui_.answer(Answer::Yes); }, false},
        {"RunTimeError",
         [&] {
             point_.failing.clear();
             point_.onCall = [&, inner = point_.onCall](const std::string& name) {
                 inner(name);
                 if (name == "MakeShapePointFileData") throw RunTimeError(err::DeviceIoError, "Device I/O error");
             };
             ui_.answer(Answer::No).answer(Answer::Ok);
         },
         false},
    };
    auto d = dialog(DataKind::Point, kLandPriceRow, files({"f1.txt"}), out("chika.shp"));
    for (const Ending& e : endings) {
        SCOPED_TRACE(e.name);
        e.arrange();
        EXPECT_EQ(convert(*d), e.finished);
        EXPECT_EQ(row.ItemStart[5], 40);
        EXPECT_TRUE(row.ItemOutput[5]);
        EXPECT_EQ(row.ItemCount, 313);
    }
    EXPECT_EQ(startsSeen, (std::vector<int>{40, 40, 40}));
}

TEST_F(PointJob, ARunTimeErrorShowsTheProcedureBoxAndClosesTheJobFiles) {
    point_.onCall = [](const std::string& name) {
        if (name == "MakeShapePointFileData") throw RunTimeError(err::DeviceIoError, "Device I/O error");
    };
    ui_.answer(Answer::Ok);
    auto d = dialog(DataKind::Point, kOrdinaryRow, files({"f1.txt"}), out("a.shp"));
    d->ProgressBar->show();
    EXPECT_FALSE(convert(*d));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    // The box may name where reading stood after its text.
    EXPECT_EQ(ui_.boxes()[0].text.rfind("57 デバイス I/O エラーが発生しました。", 0), 0u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: frmDataSet (frmDataSet MakePoint)");
    EXPECT_EQ(ui_.boxes()[0].icon, Icon::Critical);
    ConversionState& s = conversionState();
    EXPECT_FALSE(s.LogFileNo.isOpen());
    EXPECT_FALSE(s.FilHFileNo.isOpen());
    EXPECT_FALSE(s.FilDFileNo.isOpen());
    EXPECT_TRUE(d->ProgressBar->isHidden());
    EXPECT_TRUE(d->lblMsg->isHidden());
}

TEST_F(PointJob, YesAtTheClosingQuestionAddsTheOutputAsALayer) {
    point_.onCall = [&](const std::string& name) {
        if (name == "MakeShapePointFileData") writeLayer(out("a.shp"));
    };
    ui_.answer(Answer::Yes);
    auto d = dialog(DataKind::Point, kOrdinaryRow, files({"f1.txt"}), out("a.shp"));
    ASSERT_TRUE(convert(*d));
    EXPECT_EQ(mapLayers(), std::vector<std::string>{out("a.shp")});
}

}  // namespace
