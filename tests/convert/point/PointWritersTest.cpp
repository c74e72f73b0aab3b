// The writers of fixed-column point files: the header block, the whole-file and the mesh-filtered writer
// on small hand-made files, the header check, and the mesh-range test.
#include <QProgressBar>

#include <filesystem>

#include "convert/point/PointWriters.h"
#include "tests/convert/point/PointTestSupport.h"

using namespace velmora;
using namespace velmora::pointtest;
using ui::Answer;
using ui::Icon;

namespace {

// Items A (text, 3 bytes), B (number, 3), C (number, 2), D (text, 3), all written.
const std::vector<Item> kFour = {
    {"A", "Text", 26, 3, true}, {"B", "Long", 29, 3, true}, {"C", "Integer", 32, 2, true}, {"D", "Text2", 34, 3, true}};
const std::vector<std::string> kFourHeader = {"SHAPE_TYPE,1,2000", "DBFITEM_COUNT,4", "DBFITEM_NAME,A,C,3,0",
                                              "DBFITEM_NAME,B,N,3,0", "DBFITEM_NAME,C,N,2,0",
                                              "DBFITEM_NAME,D,C,3,0"};

class PointWriters : public PointFixture {
protected:
    void SetUp() override {
        PointFixture::SetUp();
        fillPointTable(kFour);
        select(12, makeLayer("発電所", "P03", kFour));
        ConversionState& s = conversionState();
        s.MeshRangeCount = 1;
        // Entry 0 stays unused and empty, as the selection leaves it.
        s.MeshRanges = {{}, {"533945", "533947"}};
        openLogAndPair();
    }
    std::string file(const std::vector<std::string>& records, const std::string& key = "P03") {
        std::vector<std::string> lines = {gen::pointHeaderLine(key, static_cast<long>(records.size()))};
        lines.insert(lines.end(), records.begin(), records.end());
        return input("p" + std::to_string(++files_) + ".txt", lines);
    }
    // Runs the whole-file writer (false) or the mesh-filtered one (true) on the file.
    bool write(bool meshFiltered, const std::string& path, bool* written = nullptr) {
        bool w = false;
        const bool ok = meshFiltered ? ModPoint::MakeShapePointFileData_ALL(path, w) : ModPoint::MakeShapePointFileData(path);
        if (written) *written = w;
        return ok;
    }
    int files_ = 0;
};

TEST_F(PointWriters, HeaderBlockNamesTheWrittenItemsOfTheLayer) {
    ASSERT_TRUE(ModPoint::MakeShapePointFileData_ini());
    std::vector<std::string> expected = {"MAKEFILE_NAME," + folder.file("out/点")};
    expected.insert(expected.end(), kFourHeader.begin(), kFourHeader.end());
    EXPECT_EQ(headerFile(), expected);
}

TEST_F(PointWriters, HeaderBlockBaseNamesAndItemTypes) {
    struct Case {
        std::string output;
        std::string type;  // of item B
        std::vector<std::string> expected;  // empty: refused
    };
    const Case cases[] = {
        {"out/x.SHP", "Long", {"MAKEFILE_NAME," + folder.file("out/x")}},
        // One final extension only: a ".shp" inside a folder name stays.
        {"out/a.shp.d/x.shp", "Integer", {"MAKEFILE_NAME," + folder.file("out/a.shp.d/x")}},
        {"out/plain", "Text3", {"MAKEFILE_NAME," + folder.file("out/plain")}},
        {"out/y.shp", "Float", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        ui.clearRecords();
        shapedesc::openPair();
        ConversionState& s = conversionState();
        s.OutputPath = folder.file(c.output);
        s.PointLayers[12].ItemType[2] = c.type;
        if (c.expected.empty()) ui.answer(Answer::Ok);
        EXPECT_EQ(ModPoint::MakeShapePointFileData_ini(), !c.expected.empty());
        const std::vector<std::string> h = headerFile();
        if (c.expected.empty()) {
            ASSERT_EQ(ui.boxes().size(), 1u);
            EXPECT_EQ(ui.boxes()[0].text, "型が一致しません\rTextデータ 型 => Float");
            // The lines before the refused item stay.
            EXPECT_EQ(h.back(), "DBFITEM_NAME,A,C,3,0");
        } else {
            EXPECT_EQ(h.front(), c.expected.front());
            EXPECT_EQ(h[4], std::string("DBFITEM_NAME,B,") + (c.type == "Text3" ? "C" : "N") + ",3,0");
        }
    }
}

TEST_F(PointWriters, BlanksOfTheFourItemsByWriter) {
    // A three blanks, B a blank and 12, C an x and 1 (no number), D ab and a blank.
    const std::string f = file({rec("533945", "4860000", "1260000", "    12x1ab ")});
    ASSERT_TRUE(write(false, f));
    ASSERT_TRUE(write(true, f));
    EXPECT_EQ(headerFile(), (std::vector<std::string>{"LINKNO,1", "DBFITEM,, 12,,ab", "LINKNO,1", "DBFITEM,   , 12,,ab "}));
    EXPECT_EQ(coordinateFile(),
              (std::vector<std::string>{"LINKIDX,1", "LINKDATA,135,35", "LINKIDX,1", "LINKDATA,135,35"}));
}

TEST_F(PointWriters, AJoinedLineIsTrimmedAtItsEndsOnlyByTheWholeFileWriter) {
    conversionState().PointLayers[12].ItemType[1] = "Long";  // A numeric: " 7 " keeps its inner blank
    const std::string f = file({rec("533945", "4860000", "1260000", " 7  12x1ab ")});
    ASSERT_TRUE(write(false, f));
    EXPECT_EQ(headerFile(), (std::vector<std::string>{"LINKNO,1", "DBFITEM,7 , 12,,ab"}));
}

TEST_F(PointWriters, ABlankYIsLoggedAndIdsFollowTheWriter) {
    struct Case {
        bool meshFiltered;
        std::vector<std::string> ids;
    };
    for (const Case& c : {Case{false, {"LINKIDX,1", "LINKIDX,3"}}, Case{true, {"LINKIDX,1", "LINKIDX,2"}}}) {
        SCOPED_TRACE(c.meshFiltered);
        openLogAndPair();
        const std::string f = file({rec("533945", "4860000", "1260000"), rec("533945", "4860000", ""),
                                    rec("533946", "4860000", "1260000")});
        ASSERT_TRUE(write(c.meshFiltered, f));
        std::vector<std::string> ids;
        for (const std::string& l : coordinateFile())
            if (l.rfind("LINKIDX", 0) == 0) ids.push_back(l);
        EXPECT_EQ(ids, c.ids);
        EXPECT_EQ(logLines(), std::vector<std::string>{"ポイントデータ座標値が空白です。LINE:2"});
    }
}

// A whole line that ends after X (its trailing blanks trimmed away) has a blank Y: logged and skipped. The
// same record as the last line of a file without a line end is where the file was cut: refused.
TEST_F(PointWriters, ALineEndingBeforeItsYHasABlankYUnlessTheFileWasCutThere) {
    const std::string shortRecord = "P  533945 4860000";
    ASSERT_TRUE(write(false, file({rec("533945", "4860000", "1260000"), shortRecord, rec("533946", "4860000", "1260000")})));
    EXPECT_EQ(coordinateFile(), (std::vector<std::string>{"LINKIDX,1", "LINKDATA,135,35", "LINKIDX,3", "LINKDATA,135,35"}));
    EXPECT_EQ(logLines(), std::vector<std::string>{"ポイントデータ座標値が空白です。LINE:2"});

    openLogAndPair();
    const std::string whole = file({rec("533945", "4860000", "1260000"), shortRecord});
    ASSERT_TRUE(write(false, whole));
    EXPECT_EQ(logLines(), std::vector<std::string>{"ポイントデータ座標値が空白です。LINE:2"});

    openLogAndPair();
    const std::string cut = file({rec("533945", "4860000", "1260000"), shortRecord});
    std::filesystem::resize_file(cut, std::filesystem::file_size(cut) - 2);
    ui.answer(Answer::Ok);
    EXPECT_FALSE(write(false, cut));
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].title, "Error: ModPoint (ModPoint MakeShapePointFileData)");
    EXPECT_NE(ui.boxes()[0].text.find(cut + " の 3行目のレコードが途中で切れています"), std::string::npos) << ui.boxes()[0].text;
}

TEST_F(PointWriters, CoordinatesByTheirText) {
    struct Case {
        const char* x;
        std::string expected;  // LINKDATA, or the log line
    };
    const Case cases[] = {
        {"4860000", "LINKDATA,135,35"},
        {"4860001", "LINKDATA,135.000028,35"},
        {" 9999999", "ポイントデータの座標値が不正です。LINE:1"},
        {"99999999", "LINKDATA,2777.77775,35"},
        // The power plants' mark of an unknown position; one nine fewer is a number again.
        {"  999999", "ポイントデータの座標値が不正です。LINE:1"},
        {"   99999", "LINKDATA,2.77775,35"},
        {"  -36000", "LINKDATA,-1,35"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        openLogAndPair();
        ASSERT_TRUE(write(false, file({rec("533945", c.x, "1260000")})));
        const std::vector<std::string> d = coordinateFile();
        const std::vector<std::string> log = logLines();
        EXPECT_EQ(c.expected.rfind("LINKDATA", 0) == 0 ? d.back() : log.back(), c.expected);
    }
}

TEST_F(PointWriters, ACoordinateThatIsNoNumberStopsTheWriterAfterThePointsBeforeIt) {
    ui.answer(Answer::Ok);
    const std::string f = file({rec("533945", "4860000", "1260000"), rec("533945", "48600a0", "1260000")});
    EXPECT_FALSE(write(false, f));
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].title, "Error: ModPolygon (XYtoData)");
    EXPECT_EQ(coordinateFile(), (std::vector<std::string>{"LINKIDX,1", "LINKDATA,135,35"}));
}

TEST_F(PointWriters, TheHeaderLineDecidesWhoseFileItIs) {
    struct Case {
        const char* name;
        std::string line1;
        bool converted;
        std::string log;  // the code-12 line
    };
    const std::string padding(30, ' ');
    const Case cases[] = {
        {"KeyFarRight", gen::pointHeaderLine("", 1) + padding + "P03", true, ""},
        {"KeyOfOtherCase", gen::pointHeaderLine("p03", 1), false,
         "ファイルの種別が「発電所」ではありません。 ファイル種別：不明"},
        {"KeyOfAnotherItem", gen::pointHeaderLine("Q03", 1), false,
         "ファイルの種別が「発電所」ではありません。 ファイル種別：漁港"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openLogAndPair();
        const std::string f = input("h.txt", {c.line1, rec("533945", "4860000", "1260000")});
        ASSERT_TRUE(write(false, f));
        EXPECT_EQ(coordinateFile().size(), c.converted ? 2u : 0u);
        const std::vector<std::string> log = logLines();
        EXPECT_EQ(log, c.log.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.log});
        EXPECT_FALSE(conversionState().InFileNo.isOpen());
    }
}

TEST_F(PointWriters, FilesThatAreNoPointFilesOfTheItemAreRefused) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::string text, title;
    };
    const Case cases[] = {
        {"NoHeaderLine", {rec("533945", "4860000", "1260000")}, "ファイルの形式が正しくありません。", "ｴﾗｰﾒｯｾｰｼﾞ"},
        {"EmptyFile", {}, "入力ファイル " + folder.file("bad.txt") + " にデータがありません。",
         "Error: ModPoint (SetPointTextToTbl_Hed)"},
        {"CountNoNumber", {"H            P03         2008   1     1x3"}, "13 型が一致しません。",
         "Error: ModPoint (SetPointTextToTbl_Hed)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clearRecords();
        ui.answer(Answer::Ok);
        EXPECT_FALSE(write(false, input("bad.txt", c.lines)));
        ASSERT_EQ(ui.boxes().size(), 1u);
        EXPECT_EQ(ui.boxes()[0].text, c.text);
        EXPECT_EQ(ui.boxes()[0].title, c.title);
        EXPECT_EQ(ui.boxes()[0].icon, Icon::Critical);
    }
}

TEST_F(PointWriters, OtherLinesNeitherCountNorMoveTheBar) {
    const std::string f = file({rec("533945", "4860000", "1260000"), "", "N  533945", rec("533945", "4860036", "1260000"), ""});
    ASSERT_TRUE(write(false, f));
    // Five records announced: a maximum of 5 × 1.1 rounded up; two steps.
    EXPECT_EQ(bar->maximum(), 6);
    EXPECT_EQ(bar->value(), 2);
    EXPECT_EQ(label->text().toStdString(), "点データ変換中・・・");
    EXPECT_EQ(coordinateFile(), (std::vector<std::string>{"LINKIDX,1", "LINKDATA,135,35", "LINKIDX,2",
                                                          "LINKDATA,135.001,35"}));
}

TEST_F(PointWriters, MeshRangesIncludeTheirEndsAndNothingElse) {
    struct Case {
        const char* code;
        bool selected;
    };
    const Case cases[] = {{"533944", false}, {"533945", true}, {"533946", true}, {"533947", true},
                          {"533948", false}, {"      ", false}, {"", false},     {" 533946", true}};
    for (const Case& c : cases) EXPECT_EQ(ModPoint::ChkSelectMeshCode(c.code), c.selected) << c.code;

    // The last entry counts too.
    ConversionState& s = conversionState();
    s.MeshRangeCount = 2;
    s.MeshRanges.push_back({"533950", "533950"});
    EXPECT_TRUE(ModPoint::ChkSelectMeshCode("533950"));
    EXPECT_FALSE(ModPoint::ChkSelectMeshCode("533949"));
    s.MeshRanges.pop_back();
    for (std::int32_t count : {0, -1}) {
        s.MeshRangeCount = count;
        EXPECT_FALSE(ModPoint::ChkSelectMeshCode("533946"));
    }
    s.MeshRangeCount = 1;
    ui.answer(Answer::Ok);
    EXPECT_FALSE(ModPoint::ChkSelectMeshCode("53394A"));
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].title, "Error: ModPoint (ModPoint ChkSelectMeshCode)");
}

TEST_F(PointWriters, MeshCodesThatAreNoNumbersShowOneBoxPerFile) {
    ui.answer(Answer::Ok).answer(Answer::Ok);
    std::vector<std::string> records;
    for (int i = 0; i < 50; ++i) records.push_back(rec("ABCDEF", "4860000", "1260000"));
    records.push_back(rec("533946", "4860000", "1260000"));
    bool written = false;
    ASSERT_TRUE(write(true, file(records), &written));
    EXPECT_TRUE(written);
    ASSERT_TRUE(write(true, file(records), &written));
    EXPECT_EQ(ui.boxes().size(), 2u);
    EXPECT_EQ(ui.boxes()[0].text, "13 型が一致しません。");
    EXPECT_EQ(coordinateFile(), (std::vector<std::string>{"LINKIDX,1", "LINKDATA,135,35", "LINKIDX,1",
                                                          "LINKDATA,135,35"}));
}

TEST_F(PointWriters, NothingInTheRangesWritesNothing) {
    bool written = true;
    ASSERT_TRUE(write(true, file({rec("533948", "4860000", "1260000"), rec("533945", "", "1")}), &written));
    EXPECT_FALSE(written);
    EXPECT_TRUE(coordinateFile().empty());
    // The record in the ranges with a blank X is logged under the id the next point would get.
    EXPECT_EQ(logLines(), std::vector<std::string>{"ポイントデータ座標値が空白です。LINE:1"});
}

}  // namespace
