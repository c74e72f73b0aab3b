// The ledger-joined attribute table: the temporary database, the loader of "T" and "DT" rows, and the
// writer that sorts the table rows and adds each row's ledger title.
#include "convert/attr/AttrLoader.h"
#include "convert/attr/AttrWriters.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFiles.h"
#include "tests/convert/attr/AttrTestSupport.h"

using namespace velmora;
using namespace velmora::attrtest;
using ui::Answer;

namespace {

// The joined item: items 1-45 are the columns of its "T" rows, item 46 names the ledger title.
std::vector<Item> joinedItems(const std::string& item1Type = "Long") {
    std::vector<Item> items = {
        {"水系コード", item1Type, 4, 6, true}, {"河川コード", "Integer", 10, 3, true},
        {"河川名", "Text", 13, 20, true},      {"区分", "Text1", 33, 2, true},
        {"延長", "Long", 35, 8, true},
    };
    for (int i = 6; i <= 45; ++i) items.push_back({"予備" + std::to_string(i), "Integer", 43, 1, false});
    items.push_back({"水系名", "Text2", 0, 20, true});
    return items;
}

gen::AttrHeader header(const std::string& key, long count) { return {"KS-META", key, "01", "2006", "1", count}; }

class AttrJoined : public AttrJobFixture {
protected:
    std::vector<Item> items = joinedItems();

    void SetUp() override {
        AttrJobFixture::SetUp();
        fillAttrTable(items);
        select(10, makeLayer("河川・水系域テーブル", "W10", items));
        conversionState().OutputPath = folder.file("河川.dbf");
        openLogAndPair();
    }
    std::string row(const std::vector<std::string>& v) { return gen::attrTRow(columnsOf(items, 5), v); }
    std::string dbPath() { return folder.file(ModAttr::kAttrDbName); }
    // The job's order: a new database, every file loaded, then the writer on the open database.
    bool runJoined(const std::vector<std::string>& files) {
        if (!ModAttr::MakeAttrDb()) return false;
        db::Database database = db::Database::open(dbPath());
        for (const auto& f : files)
            if (!ModAttr::SetAttrTextToTbl(database, f)) return false;
        return ModAttr::MakeAttrFileData_Toku(database);
    }
};

}  // namespace

TEST_F(AttrJoined, GoldenPairSortedByThreeKeysWithLedgerTitles) {
    std::vector<std::string> files = {
        input("a.txt", {gen::attrHeaderLine(header("W10", 7)), row({"1001", "5", "多摩川", "A", "1200"}),
                        row({"1001", "3", "浅川", "", "300"}), row({"2", "10", "荒川", "B", ""}),
                        gen::attrDtRow("1001005", "1", "多摩川水系"), gen::attrDtRow("1001003", "1", ""),
                        gen::attrDtRow("2010", "1", "荒川水系"), gen::attrDtRow("2010", "2", "重複")}),
        input("foreign.txt", {gen::attrHeaderLine(header("W12", 1)), row({"9", "9", "他", "", ""})}),
        input("b.txt", {gen::attrHeaderLine(header("W10", 4)), row({"", "7", "名無し", "", ""}),
                        row({"1001", "5", "Ａ川", "", ""}), row({"1001", "5", "あ川", "", ""}),
                        row({"3", "1", "ｶﾀｶﾅ川", "", "5"})}),
    };
    ASSERT_TRUE(runJoined(files));
    closePair();

    const std::vector<std::string> expectedH = {
        "MAKEFILE_NAME," + folder.file("河川"),
        "SHAPE_TYPE,6,2000",
        "DBFITEM_COUNT,6",
        "DBFITEM_NAME,水系コード,N,6,0",
        "DBFITEM_NAME,河川コード,N,3,0",
        "DBFITEM_NAME,河川名,C,20,0",
        "DBFITEM_NAME,区分,C,2,0",
        "DBFITEM_NAME,延長,N,8,0",
        "DBFITEM_NAME,水系名,C,20,0",
        // A Null item 1 sorts first and has no title.
        "DBFITEM,,7,名無し              ,,,",
        // Two ledger rows of one number: the first one appended gives the title.
        "DBFITEM,2,10,荒川                ,B ,,荒川水系",
        // No ledger row: an empty title.
        "DBFITEM,3,1,ｶﾀｶﾅ川              ,,5,",
        // A ledger row without a title.
        "DBFITEM,1001,3,浅川                ,,300,",
        // Item 3 sorts byte-wise in CP932: Ａ (82 60) before あ (82 A0) before 多 (91 BD).
        "DBFITEM,1001,5,Ａ川                ,,,多摩川水系",
        "DBFITEM,1001,5,あ川                ,,,多摩川水系",
        "DBFITEM,1001,5,多摩川              ,A ,1200,多摩川水系",
    };
    EXPECT_EQ(headerFile(), expectedH);
    std::vector<std::string> expectedD;
    for (int i = 1; i <= 7; ++i) expectedD.push_back("LINKIDX," + std::to_string(i));
    EXPECT_EQ(coordinateFile(), expectedD);
    EXPECT_EQ(logLines(), std::vector<std::string>{
                              "ファイルの種別が「河川・水系域テーブル」ではありません。 ファイル種別：環境基準類型指定水域（河川）台帳"});
    // The job deletes the database after the writer; nothing else may hold it.
    EXPECT_TRUE(db::removeFile(dbPath()));
}

TEST_F(AttrJoined, LoaderStoresNullsAsTheRulesSay) {
    std::string f = input("a.txt", {gen::attrHeaderLine(header("W10", 4)), row({"12", "", "  ", "  ", "x"}),
                                    gen::attrDtRow("12000", "3", ""), gen::attrDtRow("12000", "1", "題"),
                                    "ZZ something else"});
    ASSERT_TRUE(ModAttr::MakeAttrDb());
    db::Database database = db::Database::open(dbPath());
    ASSERT_TRUE(ModAttr::SetAttrTextToTbl(database, f));
    db::Query t = database.query("SELECT * FROM 表データ");
    ASSERT_TRUE(t.next());
    EXPECT_EQ(t.asText("レイヤコード"), "T  ");
    EXPECT_EQ(t.asLong("水系コード"), 12);
    EXPECT_TRUE(t.isNull("河川コード"));  // blank number
    EXPECT_TRUE(t.isNull("河川名"));      // blank text
    EXPECT_TRUE(t.isNull("延長"));        // not a number
    EXPECT_FALSE(t.next());
    db::Query dt = database.query("SELECT * FROM 表台帳データ ORDER BY rowid");
    ASSERT_TRUE(dt.next());
    EXPECT_EQ(dt.asText("レイヤコード"), "DT ");
    EXPECT_EQ(dt.asDouble("属性番号"), 12000);
    EXPECT_EQ(dt.asLong("属性の行数"), 3);
    EXPECT_TRUE(dt.isNull("水系名"));
    ASSERT_TRUE(dt.next());  // the same number twice: both stored
    EXPECT_EQ(text::fromCp932(dt.asText("水系名")), "題");
    // The loader's progress: the header's count, filled and hidden at the end.
    EXPECT_EQ(bar->maximum(), 4);
    EXPECT_EQ(bar->value(), 4);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(label->text().toStdString(), "初期処理中・・・");
}

TEST_F(AttrJoined, LeftoverDatabaseIsReplaced) {
    folder.write(dbPath(), "not a database");
    ASSERT_TRUE(ModAttr::MakeAttrDb());
    db::Database database = db::Database::open(dbPath());
    EXPECT_TRUE(database.hasTable("表データ"));
    EXPECT_TRUE(database.hasTable("表台帳データ"));
}

TEST_F(AttrJoined, EmptyTableFailsWithoutAMessageAndClosesThePair) {
    std::string f = input("a.txt", {gen::attrHeaderLine(header("W10", 1)), gen::attrDtRow("1", "1", "題")});
    EXPECT_FALSE(runJoined({f}));
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_FALSE(conversionState().FilHFileNo.isOpen());
    EXPECT_FALSE(conversionState().FilDFileNo.isOpen());
    EXPECT_EQ(headerFile().size(), 9u);  // the header block alone
}

TEST_F(AttrJoined, LedgerKeyThatIsNoNumberIsTheWritersRunTimeError) {
    // Item 1 as text: "A1" followed by "005" cannot be an attribute number.
    items = joinedItems("Text");
    select(10, makeLayer("河川・水系域テーブル", "W10", items));
    std::string f = input("a.txt", {gen::attrHeaderLine(header("W10", 2)), row({"A1", "5", "川", "", ""}),
                                    gen::attrDtRow("1005", "1", "題")});
    ui.answer(Answer::Ok);
    EXPECT_FALSE(runJoined({f}));
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].text, "13 型が一致しません。");
    EXPECT_EQ(ui.boxes()[0].title, "Error: ModAttr (ModAttr MakeAttrFileData_Toku)");
    EXPECT_TRUE(ui.boxes()[0].systemModal);
    EXPECT_FALSE(conversionState().FilHFileNo.isOpen());
    EXPECT_FALSE(conversionState().FilDFileNo.isOpen());
}

TEST_F(AttrJoined, TextKeyThatReadsAsANumberFindsItsLedgerRow) {
    items = joinedItems("Text");
    select(10, makeLayer("河川・水系域テーブル", "W10", items));
    std::string f = input("a.txt", {gen::attrHeaderLine(header("W10", 2)), row({"    12", "5", "川", "", ""}),
                                    gen::attrDtRow("12005", "1", "題")});
    ASSERT_TRUE(runJoined({f}));
    closePair();
    EXPECT_EQ(headerFile().back(), "DBFITEM,    12,5,川                  ,,,題");
}

namespace {
struct LoadFailure {
    const char* what;
    std::string line;
    std::string text;
    std::string title;
};
}  // namespace

TEST_F(AttrJoined, LoaderFailuresShowTheirBox) {
    const LoadFailure cases[] = {
        {"ledger number", text::toCp932("DT    12x     1題"), "13 型が一致しません。",
         "Error: ModAttr (ModAttr SetAttrTextToTbl_DT)"},
        {"ledger line count", gen::attrDtRow("12", "x", "題"), "13 型が一致しません。",
         "Error: ModAttr (ModAttr SetAttrTextToTbl_DT)"},
    };
    for (const auto& c : cases) {
        std::string f = input("a.txt", {gen::attrHeaderLine(header("W10", 1)), c.line});
        ASSERT_TRUE(ModAttr::MakeAttrDb());
        db::Database database = db::Database::open(dbPath());
        ui.clearRecords();
        ui.answer(Answer::Ok);
        EXPECT_FALSE(ModAttr::SetAttrTextToTbl(database, f)) << c.what;
        ASSERT_EQ(ui.boxes().size(), 1u) << c.what;
        EXPECT_EQ(ui.boxes()[0].text, c.text) << c.what;
        EXPECT_EQ(ui.boxes()[0].title, c.title) << c.what;
        EXPECT_FALSE(conversionState().InFileNo.isOpen()) << c.what;
    }
}

// A stored number wider than its field as the shape writer lays it out is written empty, logged once per
// field with the number of its record in the table.
TEST_F(AttrJoined, NumbersWiderThanTheirFieldAreWrittenEmptyAndLoggedOncePerField) {
    std::vector<std::string> files = {
        input("a.txt", {gen::attrHeaderLine(header("W10", 3)), row({"1", "1", "甲", "", "1e9"}),
                        row({"2", "1", "乙", "", "2e9"}), row({"3", "1", "丙", "", "1e7"})}),
    };
    ASSERT_TRUE(runJoined(files));
    closePair();
    const std::vector<std::string> h = headerFile();
    ASSERT_EQ(h.size(), 12u);
    EXPECT_EQ(std::vector<std::string>(h.begin() + 9, h.end()), (std::vector<std::string>{
                                                                     "DBFITEM,1,1,甲                  ,,,",
                                                                     "DBFITEM,2,1,乙                  ,,,",
                                                                     "DBFITEM,3,1,丙                  ,,10000000,",
                                                                 }));
    EXPECT_EQ(logLines(), (std::vector<std::string>{
                              "数値が項目の桁数に収まらないため空欄にしました。 項目：延長 値：1000000000 レコード：1"}));
}

TEST_F(AttrJoined, NumberBeyondItsFieldIsTheRowsRunTimeError) {
    // 河川コード is a 16-bit field of width 3: widen the catalogue's column so that 99999 is cut whole.
    items[1].width = 5;
    items[2].start = 15;
    select(10, makeLayer("河川・水系域テーブル", "W10", items));
    std::string f = input("a.txt", {gen::attrHeaderLine(header("W10", 1)),
                                    gen::attrTRow(columnsOf(items, 5), {"1", "99999", "", "", ""})});
    ASSERT_TRUE(ModAttr::MakeAttrDb());
    db::Database database = db::Database::open(dbPath());
    ui.answer(Answer::Ok);
    EXPECT_FALSE(ModAttr::SetAttrTextToTbl(database, f));
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].title, "Error: ModAttr (ModAttr SetAttrTextToTbl_T)");
    EXPECT_EQ(ui.boxes()[0].text.substr(0, 5), "3349 ");
}

TEST_F(AttrJoined, RefusedTypeNameStopsTheDatabase) {
    items[3].type = "Text3";  // a dBASE type, but no type of the work table
    select(10, makeLayer("河川・水系域テーブル", "W10", items));
    ui.answer(Answer::Ok);
    EXPECT_FALSE(ModAttr::MakeAttrDb());
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].text, "型が一致しません\rTextデータ 型 => Text3");
}

TEST_F(AttrJoined, LayerTooSmallToSortIsARunTimeError) {
    items = {{"水系コード", "Long", 4, 6, true}, {"河川コード", "Integer", 10, 3, true}, {"題", "Text", 0, 20, true}};
    LayerDef small = makeLayer("河川・水系域テーブル", "W10", items);
    small.ItemName[ModAttr::kTitleItem] = text::toCp932("水系名");
    select(10, small);
    ASSERT_TRUE(ModAttr::MakeAttrDb());
    db::Database database = db::Database::open(dbPath());
    ui.answer(Answer::Ok);
    EXPECT_FALSE(ModAttr::MakeAttrFileData_Toku(database));
    EXPECT_EQ(ui.boxes().at(0).title, "Error: ModAttr (ModAttr MakeAttrFileData_Toku)");
    EXPECT_EQ(ui.boxes().at(0).text.substr(0, 5), "3061 ");
}
