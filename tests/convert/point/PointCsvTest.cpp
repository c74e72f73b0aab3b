// Delimited point files: the format check of a job's files, the item layout file, the values each
// sub-field spec gives, quotation marks, numbering across files and the reader's failures.
#include "convert/core/ConversionRoutines.h"
#include "convert/point/PointCsv.h"
#include "tests/convert/point/PointTestSupport.h"

using namespace velmora;
using namespace velmora::pointtest;
using ui::Answer;

namespace {

// X and Y (not written) and one written value item whose type and spec the tests choose.
class PointCsv : public PointFixture {
protected:
    void SetUp() override {
        PointFixture::SetUp();
        fillPointTable({});
        layout({{"経度", 1, "", true, false}, {"緯度", 2, "", false, true}, {"値", 3, "", false, false}});
        openLogAndPair();
        conversionState().InputFileFormat = modCommon::FileFormat::Comma;
    }
    struct Row {
        std::string item;
        int source;
        std::string spec;
        bool x, y;
    };
    // The layer (row 15, "街区レベル") with one item per row, Long unless named 値 (typed by valueType),
    // and the item layout file: a heading line, a row of another layer, the layer's rows.
    void layout(const std::vector<Row>& rows, const std::string& valueType = "Text") {
        std::vector<Item> items;
        for (const Row& r : rows) items.push_back({r.item, r.item == "値" ? valueType : "Long", 1, 20, r.item == "値"});
        select(15, makeLayer("街区レベル", "ISJ", items));
        std::vector<std::string> lines = {text::toCp932("-1,行,レイヤ名,項目番号,入力列"),
                                          text::toCp932("0,1,発電所,1,9,,,,,,,1,1,")};
        int n = 0;
        for (const Row& r : rows) {
            ++n;
            lines.push_back(text::toCp932("0," + std::to_string(n) + ",街区レベル," + std::to_string(n) + "," +
                                          std::to_string(r.source) + ",," + r.item + ",Long,8,1," + r.spec + "," +
                                          (r.x ? "1" : "") + "," + (r.y ? "1" : "") + ","));
        }
        gen::writeLines(folder.file("DataDBFItemCS.csv"), lines);
    }
    std::string csv(const std::string& name, const std::vector<std::string>& utf8Lines) {
        std::vector<std::string> lines;
        for (const std::string& l : utf8Lines) lines.push_back(text::toCp932(l));
        return input(name, lines);
    }
    std::vector<std::string> dbfLines() {
        std::vector<std::string> r;
        for (const std::string& l : headerFile())
            if (l.rfind("DBFITEM,", 0) == 0) r.push_back(l.substr(8));
        return r;
    }
    bool read(const std::string& path) { return ModPoint::MakeShapePointFileCSV(path, number_); }
    std::int32_t number_ = 1;
};

TEST_F(PointCsv, FilesOfMixedFormatsAreRefused) {
    const std::string fixed = input("f.txt", {gen::pointHeaderLine("ISJ", 1), rec("533945", "1", "1")});
    const std::string comma = csv("c.csv", {"a,b", "1,2"});
    const std::string tab = csv("t.txt", {"a\tb", "1\t2"});
    ConversionState& s = conversionState();
    EXPECT_TRUE(ModPoint::ChkMakePoint_FileType({comma, comma}));
    EXPECT_EQ(s.InputFileFormat, modCommon::FileFormat::Comma);
    EXPECT_TRUE(ModPoint::ChkMakePoint_FileType({tab}));
    EXPECT_EQ(s.InputFileFormat, modCommon::FileFormat::Tab);
    for (const auto& files : {std::vector<std::string>{comma, comma, tab}, std::vector<std::string>{fixed, comma}}) {
        ui.clearRecords();
        ui.answer(Answer::Ok);
        EXPECT_FALSE(ModPoint::ChkMakePoint_FileType(files));
        ASSERT_EQ(ui.boxes().size(), 1u);
        EXPECT_EQ(ui.boxes()[0].text, "Text形式のファイルとCSV形式のファイルが混在しています。\r"
                                      "フィールド情報が異なるので形式が同一のもののみ選択してください。");
        EXPECT_EQ(ui.boxes()[0].title, "ｴﾗｰﾒｯｾｰｼﾞ");
        EXPECT_EQ(ui.boxes()[0].icon, ui::Icon::Exclamation);
    }
}

TEST_F(PointCsv, AHeadingOnlyFileWritesNothing) {
    EXPECT_TRUE(read(csv("h.csv", {"経度,緯度,値"})));
    EXPECT_TRUE(headerFile().empty());
    EXPECT_EQ(number_, 1);
}

TEST_F(PointCsv, ValuesBySpecItemTypeAndSource) {
    struct Case {
        const char* type;
        const char* spec;
        const char* source;
        const char* value;
    };
    // Column 4 holds " 東京 " for the joined form.
    const Case cases[] = {
        {"Text", "", "ABCDEFGH", "ABCDEFGH"},        {"Text", "", "AB", "AB"},
        {"Text", "", "東京都港区", "東京都港区"},    {"Text", "Mx3x4", "ABCDEFGH", "CDEF"},
        {"Text", "Mx3x4", "AB", ""},                 {"Text", "Mx3x4", "東京都港区", "京都"},
        {"Text", "Ax3x4", "ABCDEFGH", "ABCDEFGH東京"}, {"Text", "Ax3x4", "AB", "AB東京"},
        {"Text", "Ax3x4", "東京都港区", "東京都港区東京"}, {"Text", "Zx1", "ABCDEFGH", ""},
        {"Long", "", "ABCDEFGH", "ABCDEFGH"},        {"Long", "", " 12", "12"},
        {"Long", "Mx3x4", "12345678", "3456"},       {"Long", "Mx3x4", "12", ""},
        {"Long", "Mx3x4", "東京都港区", "京都"},     {"Long", "Ax3x4", "12345678", ""},
        {"Long", "Zx1", "12345678", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.spec + " " + c.source);
        shapedesc::openPair();
        layout({{"経度", 1, "", true, false}, {"緯度", 2, "", false, true}, {"値", 3, c.spec, false, false}}, c.type);
        ASSERT_TRUE(read(csv("v.csv", {"h", std::string("135.5,35.25,") + c.source + ", 東京 "})));
        EXPECT_EQ(dbfLines(), std::vector<std::string>{c.value});
    }
}

TEST_F(PointCsv, EnclosingQuotationMarksAreRemovedAndCoordinatesTrimmed) {
    layout({{"経度", 1, "", true, false}, {"緯度", 2, "", false, true}, {"値", 3, "", false, false}});
    ASSERT_TRUE(read(csv("q.csv", {"h", "\"135.5\", 35.25 ,\"名称\"", "\" 136 \",36,a\"b", "137,37,\""})));
    EXPECT_EQ(coordinateFile(), (std::vector<std::string>{"LINKIDX,1", "LINKDATA,135.5,35.25", "LINKIDX,2",
                                                          "LINKDATA,136,36", "LINKIDX,3", "LINKDATA,137,37"}));
    EXPECT_EQ(dbfLines(), (std::vector<std::string>{"名称", "a\"b", "\""}));
}

TEST_F(PointCsv, PointNumbersGoOnAcrossFilesAndBlankLinesAreNotNumbered) {
    ASSERT_TRUE(read(csv("a.csv", {"h", "135,35,a", "", "136,36,b", "  "})));
    ASSERT_TRUE(read(csv("b.csv", {"h", "137,37,c"})));
    EXPECT_EQ(number_, 4);
    const std::vector<std::string> h = headerFile();
    EXPECT_EQ(h, (std::vector<std::string>{"LINKNO,1", "DBFITEM,a", "LINKNO,2", "DBFITEM,b", "LINKNO,3", "DBFITEM,c"}));
}

TEST_F(PointCsv, TabSeparatedFilesSplitAtTabsOnly) {
    conversionState().InputFileFormat = modCommon::FileFormat::Tab;
    ASSERT_TRUE(read(csv("t.txt", {"h", "135\t35\t港,区"})));
    // The comma of the value cannot travel in the pair as it is.
    EXPECT_EQ(dbfLines(), std::vector<std::string>{"港，区"});
}

TEST_F(PointCsv, LayoutAndLineFailuresShowTheReaderBox) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        std::vector<std::string> lines;
        std::string box;  // empty: no failure
    };
    const Case cases[] = {
        {"SurplusLayoutRows",
         [&] {
             layout({{"経度", 1, "", true, false}, {"緯度", 2, "", false, true}, {"値", 3, "", false, false}});
             std::string bytes = folder.read(folder.file("DataDBFItemCS.csv"));
             bytes += text::toCp932("0,4,街区レベル,4,4,,余り,Long,8,1,,,,") + "\r\n";
             testsupport::TempProgramFolder::write(folder.file("DataDBFItemCS.csv"), bytes);
         },
         {"h", "135,35,a"}, "9 インデックスが有効範囲にありません。"},
        {"NoXFlagWithHeadingOnly", [&] { layout({{"経度", 1, "", false, false}, {"緯度", 2, "", false, true}}); },
         {"h"}, ""},
        {"NoXFlag", [&] { layout({{"経度", 1, "", false, false}, {"緯度", 2, "", false, true}}); },
         {"h", "135,35"}, "9 インデックスが有効範囲にありません。"},
        {"TooFewFields", [&] { layout({{"経度", 1, "", true, false}, {"緯度", 2, "", false, true}, {"値", 3, "", false, false}}); },
         {"h", "135,35"}, "9 インデックスが有効範囲にありません。"},
        {"StartBelowOne", [&] { layout({{"経度", 1, "", true, false}, {"緯度", 2, "", false, true}, {"値", 3, "Mx0x2", false, false}}); },
         {"h", "135,35,a"}, "5 プロシージャの呼び出し、または引数が不正です。"},
        {"EmptyLayoutLine",
         [&] { testsupport::TempProgramFolder::write(folder.file("DataDBFItemCS.csv"), "-1,a\r\n\r\n"); },
         {"h"}, "13 型が一致しません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clearRecords();
        shapedesc::openPair();
        c.arrange();
        if (!c.box.empty()) ui.answer(Answer::Ok);
        EXPECT_EQ(read(csv("f.csv", c.lines)), c.box.empty());
        ASSERT_EQ(ui.boxes().size(), c.box.empty() ? 0u : 1u);
        if (c.box.empty()) continue;
        EXPECT_EQ(ui.boxes()[0].text, c.box);
        EXPECT_EQ(ui.boxes()[0].title, "Error: ModPoint (ModPoint MakeShapePointFileCSV)");
        EXPECT_FALSE(conversionState().InFileNo.isOpen());
    }
}

}  // namespace
