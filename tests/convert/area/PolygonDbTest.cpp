// The area-structure work database: its tables, the ledger's fields from the catalogue, refused definitions.
#include "convert/area/PolygonDb.h"
#include "platform/db/Database.h"
#include "platform/errors/RunTimeError.h"
#include "tests/convert/area/AreaJobFixture.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

using Items = std::vector<datagen::AreaLedgerItemDef>;

const std::vector<std::string> kFiveTables = {"ノードデータ", "リンクデータ", "リンクデータ中間点", "ポリゴンデータ",
                                              "ポリゴンリンクデータ"};

std::vector<std::string> columns(db::Database& d, const std::string& table) {
    db::Query q = d.query("SELECT * FROM " + table);
    std::vector<std::string> names;
    for (int c = 0; c < q.columnCount(); ++c) names.push_back(q.columnName(c));
    return names;
}

// The number of a run-time error `f` throws, 0 when it throws none.
template <class F>
int errorOf(F&& f) {
    try {
        f();
        return 0;
    } catch (const RunTimeError& e) {
        return e.number();
    }
}

class PolygonDbTest : public AreaJobFixture {};

TEST_F(PolygonDbTest, CasesOfTheCatalogueRow) {
    struct Case {
        const char* what;
        Items items;
        bool made;
        std::vector<std::string> ledgerColumns;  // empty: no ledger table
        std::string message;                     // the one box shown, if any
    };
    const Case cases[] = {
        {"no items", {}, true, {"レイヤコード", "属性番号", "行数"}, ""},
        {"items in order", {{"名称", "Text2", 6}, {"種別", "Integer", 9}, {"番号", "Long", 3}}, true,
         {"レイヤコード", "属性番号", "行数", "名称", "種別", "番号"}, ""},
        {"Text3", {{"名称", "Text", 4}, {"備考", "Text3", 10}}, false, {}, "型が一致しません\rTextデータ 型 => Text3"},
        {"an item repeating a fixed field", {{"行数", "Long", 3}}, false, {}, "3367"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui_.clearRecords();
        setAreaRow(3, "農業地域", "A12-60A", c.items);
        select(3);
        if (!c.message.empty()) ui_.answer(ui::Answer::Ok);
        EXPECT_EQ(ModPolygon::MakePolygonDb(), c.made);
        db_ = db::Database::open(ModPolygon::PolygonDbPath());
        for (const std::string& t : kFiveTables) EXPECT_TRUE(db_.hasTable(t)) << t;
        EXPECT_EQ(db_.hasTable("エリア台帳データ"), !c.ledgerColumns.empty());
        if (!c.ledgerColumns.empty()) {
            EXPECT_EQ(columns(db_, "エリア台帳データ"), c.ledgerColumns);
        }
        if (c.message.empty()) {
            EXPECT_TRUE(ui_.boxes().empty());
        } else {
            ASSERT_EQ(ui_.boxes().size(), 1u);
            EXPECT_EQ(ui_.boxes()[0].text.substr(0, c.message.size()), c.message);
            if (c.message == "3367") {
                EXPECT_EQ(ui_.boxes()[0].title, "Error: ModPolygon (makeTable_Polygon)");
            }
        }
        db_.close();
    }
}

TEST_F(PolygonDbTest, LeftoverFileIsReplacedByEmptyTables) {
    openDb(3);
    db::Appender& a = db_.appender("ノードデータ");
    a.newRow();
    a.set("メッシュコード", 533945);
    a.save();
    db_.createTable(db::TableDef("leftover").field("x", db::FieldType::Long));
    openDb(3);
    EXPECT_FALSE(db_.hasTable("leftover"));
    EXPECT_TRUE(dump("ノードデータ").empty());
}

TEST_F(PolygonDbTest, FieldsKeepTheirTypesAndKeysRefuseRepeats) {
    setAreaRow(3, "農業地域", "A12-60A", {{"名称", "Text2", 6}, {"種別", "Integer", 9}});
    openDb(3);
    db::Appender& ledger = db_.appender("エリア台帳データ");
    auto ledgerRow = [&](long long attribute, std::string_view name, std::string_view kind) {
        return errorOf([&] {
            ledger.newRow();
            ledger.set("属性番号", attribute);
            ledger.set("名称", name);
            ledger.set("種別", kind);
            ledger.save();
        });
    };
    EXPECT_EQ(ledgerRow(1, "abcdef", "32767"), 0);
    EXPECT_EQ(ledgerRow(2, "abcdefg", "1"), 3163);   // Text2: its width in characters
    EXPECT_EQ(ledgerRow(3, "a", "32768"), 3349);     // Integer: 16-bit, whatever the width
    EXPECT_EQ(ledgerRow(1, "b", "2"), 3022);         // the attribute number is the key

    // Link rows and area rows are keyed by LinkIdx.
    for (const char* table : {"リンクデータ", "ポリゴンデータ"}) {
        db::Appender& a = db_.appender(table);
        auto row = [&] {
            return errorOf([&] {
                a.newRow();
                a.set("LinkIdx", 7);
                a.save();
            });
        };
        EXPECT_EQ(row(), 0) << table;
        EXPECT_EQ(row(), 3022) << table;
    }
}

}  // namespace
