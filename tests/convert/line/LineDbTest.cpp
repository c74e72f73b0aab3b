// The line database: tables per line item, the ledger's fields from the catalogue, refused definitions.
#include "convert/line/LineDb.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFiles.h"
#include "tests/convert/line/LineJobFixture.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

class LineDbTest : public LineJobFixture {
protected:
    std::vector<std::string> columns(db::Database& d, const std::string& table) {
        db::Query q = d.query("SELECT * FROM " + table);
        std::vector<std::string> names;
        for (int c = 0; c < q.columnCount(); ++c) names.push_back(q.columnName(c));
        return names;
    }
};

TEST_F(LineDbTest, TablesDependOnTheSelectedRow) {
    const std::vector<std::string> base = {"ノードデータ", "リンクデータ", "リンクデータ中間点", "ラインデータ",
                                           "ラインリンクデータ", "台帳データ"};
    struct Case { int row; bool road, station; } cases[] = {{kOrdinaryRow, false, false}, {kRoadRow, true, false},
                                                            {kRailwayRow, false, true}};
    for (const Case& c : cases) {
        select(c.row);
        ASSERT_TRUE(ModLine::MakeLineDb());
        db::Database d = db::Database::open(ModLine::LineDbPath());
        for (const std::string& t : base) EXPECT_TRUE(d.hasTable(t)) << t;
        EXPECT_EQ(d.hasTable("リンク台帳データ"), c.road);
        EXPECT_EQ(d.hasTable("ノード台帳データ"), c.station);
        const auto nodeColumns = columns(d, "ノードデータ");
        EXPECT_EQ(nodeColumns.size(), c.station ? 12u : 11u);
        EXPECT_EQ(nodeColumns.back(), c.station ? "起点メッシュコード" : "対応点番号");
    }
}

TEST_F(LineDbTest, LeftoverDatabaseIsReplacedByAnEmptyOne) {
    ASSERT_TRUE(ModLine::MakeLineDb());
    {
        db::Database d = db::Database::open(ModLine::LineDbPath());
        d.createTable(db::TableDef("leftover").field("x", db::FieldType::Long));
    }
    ASSERT_TRUE(ModLine::MakeLineDb());
    db::Database d = db::Database::open(ModLine::LineDbPath());
    EXPECT_FALSE(d.hasTable("leftover"));
    EXPECT_TRUE(d.hasTable("台帳データ"));
}

TEST_F(LineDbTest, LedgerTakesEveryItemWhetherFlaggedOrNot) {
    setLineRow(kOrdinaryRow, "海岸線", kOrdinaryKey,
               {{"A", "Text", 17, 20, true}, {"B", "Long", 37, 5, false}, {"C", "Integer", 42, 3, false}});
    ASSERT_TRUE(ModLine::MakeLineDb());
    db::Database d = db::Database::open(ModLine::LineDbPath());
    EXPECT_EQ(columns(d, "台帳データ"), (std::vector<std::string>{"レイヤコード", "属性番号", "行数", "A", "B", "C"}));
    // The types show in what the fields accept.
    db::Appender& a = d.appender("台帳データ");
    a.newRow();
    a.set("属性番号", 1);
    a.set("A", std::string(20, 'x'));
    EXPECT_THROW(a.set("A", std::string(21, 'x')), RunTimeError);
    EXPECT_THROW(a.set("C", "40000"), RunTimeError);  // Integer: 16-bit
    a.set("B", "40000");
    a.save();
}

TEST_F(LineDbTest, RefusedTypeNameStopsBeforeTheLedgerTable) {
    setLineRow(kOrdinaryRow, "海岸線", kOrdinaryKey, {{"A", "Text3", 17, 20, true}});
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(ModLine::MakeLineDb());
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "型が一致しません\rTextデータ 型 => Text3");
    db::Database d = db::Database::open(ModLine::LineDbPath());
    EXPECT_TRUE(d.hasTable("ラインデータ"));
    EXPECT_TRUE(d.hasTable("ラインリンクデータ"));
    EXPECT_FALSE(d.hasTable("台帳データ"));
}

TEST_F(LineDbTest, FieldTheEngineRefusesShowsTheBuildersBox) {
    struct Case { std::vector<gen::LedgerItemDef> items; } cases[] = {
        {{{"A", "Text", 17, 2, true}, {"A", "Long", 19, 2, true}}},  // two items of one name
        {{{"属性番号", "Long", 17, 2, true}}},                        // named like a fixed field
    };
    for (const Case& c : cases) {
        setLineRow(kOrdinaryRow, "海岸線", kOrdinaryKey, c.items);
        ui_.clearRecords();
        ui_.answer(ui::Answer::Ok);
        EXPECT_FALSE(ModLine::MakeLineDb());
        ASSERT_EQ(ui_.boxes().size(), 1u);
        EXPECT_EQ(ui_.boxes()[0].title, "Error: ModLine (ModLine makeTable_Line)");
        EXPECT_EQ(ui_.boxes()[0].text.substr(0, 5), "3367 ");
    }
}

TEST_F(LineDbTest, DatabaseStillOpenCannotBeReplaced) {
    ASSERT_TRUE(ModLine::MakeLineDb());
    db::Database held = db::Database::open(ModLine::LineDbPath());
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(ModLine::MakeLineDb());
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModLine (ModLine MakeLineDb)");
}

}  // namespace
