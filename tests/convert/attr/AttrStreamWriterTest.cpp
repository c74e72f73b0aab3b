// The streaming writer of ordinary attribute tables: header block, one record pair per "T" record, row
// numbers per file, foreign files logged with code 14 and skipped, and the failures the user sees.
#include "convert/attr/AttrWriters.h"
#include "tests/convert/attr/AttrTestSupport.h"

using namespace velmora;
using namespace velmora::attrtest;
using ui::Answer;

namespace {

const std::vector<Item> kBathing = {
    {"コード", "Text", 4, 5, true},   {"名称", "Text1", 9, 20, true}, {"人数", "Long", 29, 8, true},
    {"区分", "Integer", 37, 2, false}, {"評価", "Integer", 39, 3, true},
};

gen::AttrHeader header(const std::string& key, long count) { return {"KS-META", key, "01", "2008", "1", count}; }

class AttrStreamWriter : public AttrJobFixture {
protected:
    void SetUp() override {
        AttrJobFixture::SetUp();
        // Every row filled, as the catalogue fills them, so that a foreign file is named by its key's row.
        fillAttrTable(kBathing);
        select(3, makeLayer("海水浴台帳", "W07", kBathing));
        conversionState().OutputPath = folder.file("out/海水浴.dbf");
        openLogAndPair();
    }
    std::string row(const std::vector<std::string>& v) { return gen::attrTRow(columnsOf(kBathing, 5), v); }
};

}  // namespace

TEST_F(AttrStreamWriter, GoldenPairOverFilesOfTwoNoneForeignAndThreeRows) {
    std::vector<std::string> files = {
        input("a.txt", {gen::attrHeaderLine(header("W07", 2)), row({"A0001", "由比ヶ浜", "120", "1", "3"}),
                        gen::attrDtRow("1", "1", "無視される台帳"), "",
                        row({"A0002", "Beach ｶﾅ", "12a", "2", ""})}),
        input("none.txt", {gen::attrHeaderLine(header("W07", 0)), gen::attrHeaderLine(header("W07", 0))}),
        input("foreign.txt", {gen::attrHeaderLine(header("W12", 1)), row({"X", "河川", "1", "1", "1"})}),
        input("c.txt", {gen::attrHeaderLine(header("W07", 3)), row({"C1", "片瀬", "-5", "1", " 7"}),
                        row({"C2", "", "", "", ""}), row({"C3", "逗子,葉山", "0", "0", "999"})}),
    };
    ASSERT_TRUE(ModAttr::MakeShapeAttrFileData_ini());
    for (const auto& f : files) ASSERT_TRUE(ModAttr::MakeAttrFileData(f)) << f;
    closePair();

    const std::string base = folder.file("out/海水浴");
    const std::vector<std::string> expectedH = {
        "MAKEFILE_NAME," + base,
        "SHAPE_TYPE,6,2000",
        "DBFITEM_COUNT,4",
        "DBFITEM_NAME,コード,C,5,0",
        "DBFITEM_NAME,名称,C,20,0",
        "DBFITEM_NAME,人数,N,8,0",
        "DBFITEM_NAME,評価,N,3,0",
        // Texts untrimmed; a numeric item that is not a number gives an empty value; the row number last.
        "DBFITEM,A0001,由比ヶ浜            ,     120,  3,1",
        "DBFITEM,A0002,Beach ｶﾅ            ,,,2",
        "DBFITEM,C1   ,片瀬                ,      -5,  7,1",
        "DBFITEM,C2   ,                    ,,,2",
        // A comma inside a value cannot shift the later values: it travels as a full-width comma.
        "DBFITEM,C3   ,逗子，葉山           ,       0,999,3",
    };
    EXPECT_EQ(headerFile(), expectedH);
    EXPECT_EQ(coordinateFile(), (std::vector<std::string>{"LINKIDX,1", "LINKIDX,2", "LINKIDX,1", "LINKIDX,2",
                                                          "LINKIDX,3"}));
    EXPECT_EQ(logLines(), std::vector<std::string>{
                              "ファイルの種別が「海水浴台帳」ではありません。 ファイル種別：環境基準類型指定水域（河川）台帳"});
    // The header state holds the last file of the item.
    EXPECT_EQ(conversionState().RecHedCount, 3);
    EXPECT_EQ(conversionState().RecHedFields.Text[2], "W07       ");
    EXPECT_FALSE(conversionState().InFileNo.isOpen());
}

// A number the shape writer cannot hold in its field ("1e5" is 100000, wider than 3) would fail the whole
// table: it is written empty, and logged once per field with its record.
TEST_F(AttrStreamWriter, NumbersWiderThanTheirFieldAreWrittenEmptyAndLoggedOncePerField) {
    std::vector<std::string> files = {
        input("a.txt", {gen::attrHeaderLine(header("W07", 3)), row({"A1", "x", "1e300", "1", "1e5"}),
                        row({"A2", "y", "12", "1", "9e9"}), row({"A3", "z", "5", "1", "1e2"})}),
        input("b.txt", {gen::attrHeaderLine(header("W07", 1)), row({"B1", "w", "1e999", "1", "-99"})}),
    };
    ASSERT_TRUE(ModAttr::MakeShapeAttrFileData_ini());
    for (const auto& f : files) ASSERT_TRUE(ModAttr::MakeAttrFileData(f)) << f;
    closePair();
    const std::vector<std::string> h = headerFile();
    ASSERT_EQ(h.size(), 11u);
    EXPECT_EQ(std::vector<std::string>(h.begin() + 7, h.end()), (std::vector<std::string>{
                                                                     "DBFITEM,A1   ,x                   ,,,1",
                                                                     "DBFITEM,A2   ,y                   ,      12,,2",
                                                                     "DBFITEM,A3   ,z                   ,       5,1e2,3",
                                                                     "DBFITEM,B1   ,w                   ,,-99,1",
                                                                 }));
    EXPECT_EQ(logLines(), (std::vector<std::string>{
                              "数値が項目の桁数に収まらないため空欄にしました。 項目：人数 値：1e300 ファイル：" + files[0] + " 行：2",
                              "数値が項目の桁数に収まらないため空欄にしました。 項目：評価 値：1e5 ファイル：" + files[0] + " 行：2",
                          }));
}

TEST_F(AttrStreamWriter, ForeignFileOfNoKnownItemIsUnknown) {
    std::string f = input("x.txt", {gen::attrHeaderLine(header("Z99", 1)), row({"A", "B", "1", "1", "1"})});
    ASSERT_TRUE(ModAttr::MakeAttrFileData(f));
    closePair();
    EXPECT_TRUE(headerFile().empty());
    EXPECT_TRUE(coordinateFile().empty());
    EXPECT_EQ(logLines(), std::vector<std::string>{"ファイルの種別が「海水浴台帳」ではありません。 ファイル種別：不明"});
}

TEST_F(AttrStreamWriter, TheSelectedRowsEmptyHeaderKeyTakesEveryFileOfAHeaderLine) {
    select(3, makeLayer("海水浴台帳", "", kBathing));
    std::string f = input("x.txt", {gen::attrHeaderLine(header("Z99", 1)), row({"A", "B", "1", "1", "1"})});
    ASSERT_TRUE(ModAttr::MakeAttrFileData(f));
    closePair();
    EXPECT_EQ(coordinateFile(), std::vector<std::string>{"LINKIDX,1"});
    EXPECT_TRUE(logLines().empty());
}

TEST_F(AttrStreamWriter, FirstNumericItemBlankStillGivesEveryValue) {
    const std::vector<Item> items = {{"番号", "Long", 4, 6, true}, {"名", "Text", 10, 4, true}};
    select(3, makeLayer("海水浴台帳", "W07", items));
    std::string f = input("a.txt", {gen::attrHeaderLine(header("W07", 1)),
                                    gen::attrTRow(columnsOf(items, 2), {"", "海"})});
    ASSERT_TRUE(ModAttr::MakeShapeAttrFileData_ini());
    ASSERT_TRUE(ModAttr::MakeAttrFileData(f));
    closePair();
    EXPECT_EQ(headerFile().back(), "DBFITEM,,海  ,1");
}

TEST_F(AttrStreamWriter, ItemsAreCutByShiftJisBytes) {
    // A double-byte text before a column shifts characters, not bytes: the column stays where the
    // catalogue puts it.
    const std::vector<Item> items = {{"名", "Text", 4, 4, true}, {"値", "Integer", 8, 3, true}};
    select(3, makeLayer("海水浴台帳", "W07", items));
    std::string f = input("a.txt", {gen::attrHeaderLine(header("W07", 1)), text::toCp932("T  海岸 42")});
    ASSERT_TRUE(ModAttr::MakeShapeAttrFileData_ini());
    ASSERT_TRUE(ModAttr::MakeAttrFileData(f));
    closePair();
    EXPECT_EQ(headerFile().back(), "DBFITEM,海岸, 42,1");
}

namespace {
struct BaseCase {
    std::string path;  // relative to the folder
    std::string base;
    std::int16_t datum;
};
}  // namespace

TEST_F(AttrStreamWriter, HeaderBlockNamesTheBaseWithoutItsDbf) {
    const BaseCase cases[] = {
        {"out/t.dbf", "out/t", 2000},
        {"out/t", "out/t", 0},
        // Only the final extension is cut: a folder whose name holds ".dbf" stays whole.
        {"a.dbf.dir/t.dbf", "a.dbf.dir/t", -1},
        {"out/T.DBF", "out/T", 2000},
    };
    for (const auto& c : cases) {
        conversionState().OutputPath = folder.file(c.path);
        conversionState().DatumCode = c.datum;
        openLogAndPair();
        ASSERT_TRUE(ModAttr::MakeShapeAttrFileData_ini());
        closePair();
        auto h = headerFile();
        ASSERT_GE(h.size(), 2u);
        EXPECT_EQ(h[0], "MAKEFILE_NAME," + folder.file(c.base)) << c.path;
        EXPECT_EQ(h[1], "SHAPE_TYPE,6," + std::to_string(c.datum));
    }
}

TEST_F(AttrStreamWriter, RefusedTypeNameStopsTheHeaderBlock) {
    std::vector<Item> items = kBathing;
    items[2].type = " Long";
    select(3, makeLayer("海水浴台帳", "W07", items));
    ui.answer(Answer::Ok);
    EXPECT_FALSE(ModAttr::MakeShapeAttrFileData_ini());
    closePair();
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].text, "型が一致しません\rTextデータ 型 =>  Long");
    EXPECT_EQ(ui.boxes()[0].title, "ｴﾗｰﾒｯｾｰｼﾞ");
    // The lines written before the refused item stay.
    EXPECT_EQ(headerFile().size(), 5u);
}

namespace {
struct FailureCase {
    const char* what;
    std::vector<std::string> lines;  // input file; empty vector: no file at all
    std::string text;
    std::string title;
    bool systemModal;
};
}  // namespace

TEST_F(AttrStreamWriter, FailuresShowTheirBoxAndStopTheJob) {
    const std::string hed = "Error: ModAttr (ModAttr SetAttrTextToTbl_Hed)";
    gen::AttrHeader badNumber = header("W07", 1);
    badNumber.number = "ab";
    std::string badCount = gen::attrHeaderLine(header("W07", 1)).substr(0, 33) + "   12x34";
    const FailureCase cases[] = {
        {"first line not H", {"T  A0001"}, "ファイルの形式が正しくありません。", "ｴﾗｰﾒｯｾｰｼﾞ", false},
        {"lower-case h", {"h  W07"}, "ファイルの形式が正しくありません。", "ｴﾗｰﾒｯｾｰｼﾞ", false},
        {"empty file", {}, "入力ファイル " + folder.file("in.txt") + " にデータがありません。", hed, true},
        {"header number", {gen::attrHeaderLine(badNumber)}, "13 型が一致しません。", hed, true},
        {"record count", {badCount}, "13 型が一致しません。", hed, true},
        {"missing file", {"<none>"}, "53 ファイルが見つかりません。", "Error: ModAttr (ModAttr MakeAttrFileData)", true},
    };
    for (const auto& c : cases) {
        std::string f = folder.file("in.txt");
        std::filesystem::remove(f);
        if (c.lines.empty() || c.lines[0] != "<none>") input("in.txt", c.lines);
        ui.clearRecords();
        ui.answer(Answer::Ok);
        EXPECT_FALSE(ModAttr::MakeAttrFileData(f)) << c.what;
        ASSERT_EQ(ui.boxes().size(), 1u) << c.what;
        EXPECT_EQ(ui.boxes()[0].text, c.text) << c.what;
        EXPECT_EQ(ui.boxes()[0].title, c.title) << c.what;
        EXPECT_EQ(ui.boxes()[0].icon, ui::Icon::Critical) << c.what;
        EXPECT_EQ(ui.boxes()[0].systemModal, c.systemModal) << c.what;
        EXPECT_FALSE(conversionState().InFileNo.isOpen()) << c.what;
    }
}

TEST_F(AttrStreamWriter, ItemStartOutsideTheRecordIsARunTimeError) {
    std::vector<Item> items = kBathing;
    items[0].start = 0;
    select(3, makeLayer("海水浴台帳", "W07", items));
    std::string f = input("a.txt", {gen::attrHeaderLine(header("W07", 1)), row({"A", "B", "1", "1", "1"})});
    ui.answer(Answer::Ok);
    EXPECT_FALSE(ModAttr::MakeAttrFileData(f));
    EXPECT_EQ(ui.boxes().at(0).text, "5 プロシージャの呼び出し、または引数が不正です。");
    EXPECT_EQ(ui.boxes().at(0).title, "Error: ModAttr (ModAttr MakeAttrFileData)");
}

TEST_F(AttrStreamWriter, ProgressCountsLinesAndNeverOverflows) {
    // Count 0 and more lines than 1.1 × the count: the bar stays within its maximum.
    std::vector<std::string> lines = {gen::attrHeaderLine(header("W07", 2))};
    for (int i = 0; i < 10; ++i) lines.push_back(row({"A", "B", "1", "1", "1"}));
    std::string many = input("many.txt", lines);
    std::string zero = input("zero.txt", {gen::attrHeaderLine(header("W07", 0)), row({"A", "B", "1", "1", "1"})});
    int yieldsBefore = ui.yieldCount();
    ASSERT_TRUE(ModAttr::MakeAttrFileData(many));
    EXPECT_EQ(bar->maximum(), 3);  // 2 × 1.1, kept whole upwards
    EXPECT_EQ(bar->value(), 3);
    EXPECT_EQ(label->text().toStdString(), "表データ変換中・・・");
    EXPECT_FALSE(bar->isHidden());
    EXPECT_FALSE(label->isHidden());
    EXPECT_EQ(ui.yieldCount() - yieldsBefore, 2);  // two yields, none per record
    ASSERT_TRUE(ModAttr::MakeAttrFileData(zero));
    EXPECT_EQ(bar->maximum(), 0);
    closePair();
    EXPECT_EQ(coordinateFile().size(), 11u);
}
