// Tables, fields and indexes as the jobs define them.
#include "DbTestFolder.h"
#include "platform/db/DbErrors.h"
#include "platform/text/Cp932.h"

using namespace velmora::db;
using velmora::text::fromCp932;
using velmora::text::toCp932;

namespace {

class Definitions : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        db_ = Database::create(file("defs.mdb"));
    }
    Database db_;
};

TEST_F(Definitions, TheSameIndexNameServesTwoTablesEachWithItsOwnKind) {
    db_.createTable(TableDef("リンクデータ")
                        .field("LinkIdx", FieldType::Long)
                        .field("起点メッシュコード", FieldType::Long)
                        .index("LinkIdx", "LinkIdx", true));
    db_.createTable(TableDef("リンクデータ中間点")
                        .field("LinkIdx", FieldType::Long)
                        .field("中間点番号", FieldType::Long)
                        .index("LinkIdx", "LinkIdx")
                        .index("中間点番号", "中間点番号"));

    Appender& vertices = db_.appender("リンクデータ中間点");
    for (int n = 1; n <= 2; ++n) {
        vertices.newRow();
        vertices.set("LinkIdx", 7);
        vertices.set("中間点番号", n);
        vertices.save();  // plain: the repeated LinkIdx is fine
    }
    Appender& links = db_.appender("リンクデータ");
    links.newRow();
    links.set("LinkIdx", 7);
    links.save();
    links.newRow();
    links.set("LinkIdx", 7);
    EXPECT_EQ(errorOf([&] { links.save(); }), err::DuplicateKey);

    EXPECT_EQ(errorOf([&] { db_.createTable(TableDef("X").field("a", FieldType::Long).index("ix", "a").index("IX", "a")); }),
              err::AlreadyInCollection);
}

TEST_F(Definitions, JapaneseNamesFromTheCatalogueWork) {
    // Names as the catalogue holds them, in CP932; several end in the byte 0x5C ("\") or hold "№".
    const std::string table = fromCp932(toCp932("表データ"));
    const std::string code = fromCp932(toCp932("ソース№1"));
    const std::string x = fromCp932(toCp932("Ｘ座標"));
    db_.createTable(TableDef(table)
                        .field("レイヤコード", FieldType::Text, 3)
                        .field(code, FieldType::Long)
                        .field(x, FieldType::Double)
                        .index(code, code, true)
                        .index(x, x));
    Appender& a = db_.appender(table);
    a.newRow();
    a.set("レイヤコード", "T  ");
    a.set(code, "42");
    a.set(x, "139.5");
    a.save();

    Query q = db_.query("SELECT " + code + ", Ｘ座標 AS 経度 FROM 表データ WHERE ソース№1 = ?");
    q.bind(1, 42);
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.asLong(code), 42);
    EXPECT_EQ(q.asDouble("経度"), 139.5);
    EXPECT_FALSE(q.next());
}

TEST_F(Definitions, NamesTheEngineRefused) {
    const std::pair<std::string, int> cases[] = {
        {"", err::InvalidName},
        {" lead", err::InvalidName},
        {"a.b", err::InvalidName},
        {"a[1]", err::InvalidName},
        {"bang!", err::InvalidName},
        {toCp932("台帳番号"), err::InvalidName},  // CP932 bytes handed over undecoded
        {"with blank", 0},
        {"quote\"d", 0},
    };
    int n = 0;
    for (const auto& [name, error] : cases) {
        SCOPED_TRACE(name);
        TableDef table(std::string("t").append(std::to_string(++n)));
        table.field(name, FieldType::Long);
        EXPECT_EQ(errorOf([&] { db_.createTable(table); }), error);
    }
}

TEST_F(Definitions, DefinitionsTheEngineRefused) {
    db_.createTable(TableDef("MESH").field("LINKNO", FieldType::Long).field("MESHCD", FieldType::Text, 10));
    EXPECT_EQ(errorOf([&] { db_.createTable(TableDef("mesh").field("a", FieldType::Long)); }), err::TableExists);
    EXPECT_EQ(errorOf([&] { db_.createTable(TableDef("Dup").field("LinkIdx", FieldType::Long).field("LINKIDX", FieldType::Long)); }),
              err::AlreadyInCollection);
    EXPECT_EQ(errorOf([&] { db_.createTable(TableDef("Empty")); }), err::NoFieldDefined);
    EXPECT_EQ(errorOf([&] { db_.createTable(TableDef("Wide").field("t", FieldType::Text, 256)); }), err::InvalidArgument);
    EXPECT_EQ(errorOf([&] { db_.createTable(TableDef("Zero").field("t", FieldType::Text, 0)); }), err::InvalidArgument);

    // An index on a missing field fails after the table was made, as the engine appended the table first.
    EXPECT_EQ(errorOf([&] { db_.createTable(TableDef("Ledger").field("a", FieldType::Long).index("b", "b")); }),
              err::ItemNotFound);
    EXPECT_TRUE(db_.hasTable("Ledger"));
    EXPECT_FALSE(db_.hasTable("Dup"));
}

TEST(FieldTypes, TheEngineTypeNumbersOfTheCatalogueMapping) {
    EXPECT_EQ(fieldTypeOfNumber(3), FieldType::Integer);
    EXPECT_EQ(fieldTypeOfNumber(4), FieldType::Long);
    EXPECT_EQ(fieldTypeOfNumber(7), FieldType::Double);
    EXPECT_EQ(fieldTypeOfNumber(10), FieldType::Text);
    EXPECT_EQ(errorOf([] { fieldTypeOfNumber(12); }), velmora::err::InvalidProcedureCall);
}

TEST_F(Definitions, AReopenedDatabaseKnowsItsFieldsTypesSizesAndKeys) {
    db_.createTable(TableDef("台帳データ")
                        .field("レイヤコード", FieldType::Text, 3)
                        .field("属性番号", FieldType::Long)
                        .field("件数", FieldType::Integer)
                        .index("属性番号", "属性番号", true));
    db_.close();
    db_ = Database::open(file("defs.mdb"));
    Appender& a = db_.appender("台帳データ");
    ASSERT_EQ(a.fields().size(), 3u);
    EXPECT_EQ(a.fields()[0].type, FieldType::Text);
    EXPECT_EQ(a.fields()[0].size, 3);
    EXPECT_EQ(a.fields()[2].type, FieldType::Integer);
    a.newRow();
    EXPECT_EQ(errorOf([&] { a.set("レイヤコード", "DSXX"); }), err::FieldTooSmall);
    EXPECT_EQ(errorOf([&] { a.set("件数", 40000); }), err::NumericFieldOverflow);
    a.newRow();
    a.set("レイヤコード", "DS ");
    EXPECT_EQ(errorOf([&] { a.save(); }), err::NullInKey);  // no attribute number for the primary index
    EXPECT_EQ(errorOf([&] { db_.appender("ノードデータ"); }), err::TableNotFound);
}

}  // namespace

namespace {

// The indexes of the file as SQLite holds them: name and column list.
std::vector<std::string> indexesOf(Database& db) {
    Query q = db.query("SELECT il.name AS n, group_concat(ii.name, '+') AS c FROM sqlite_master m, "
                       "pragma_index_list(m.name) il, pragma_index_info(il.name) ii WHERE m.type = 'table' "
                       "GROUP BY il.name ORDER BY il.name");
    std::vector<std::string> names;
    while (q.next()) names.push_back(q.asText("n") + ":" + q.asText("c"));
    return names;
}

TEST_F(Definitions, IndexesTakenOffForALoadAreBackForTheFirstQueryAndInTheClosedFile) {
    db_.createTable(TableDef("リンクデータ中間点")
                        .field("LinkIdx", FieldType::Long)
                        .field("中間点番号", FieldType::Long)
                        .index("LinkIdx", "LinkIdx")
                        .index("中間点番号", "中間点番号"));
    db_.createTable(TableDef("台帳データ").field("属性番号", FieldType::Long).index("属性番号", "属性番号", true));
    const std::vector<std::string> defined = indexesOf(db_);
    EXPECT_EQ(defined, (std::vector<std::string>{"リンクデータ中間点.LinkIdx:LinkIdx",
                                                 "リンクデータ中間点.中間点番号:中間点番号", "台帳データ.属性番号:属性番号"}));
    db_.close();

    for (int pass = 0; pass < 2; ++pass) {
        db_ = Database::open(file("defs.mdb"));
        Appender& vertices = db_.appender("リンクデータ中間点");
        for (int n = 3; n >= 1; --n) {
            vertices.newRow();
            vertices.set("LinkIdx", 7);
            vertices.set("中間点番号", n);
            vertices.save();
        }
        // A unique key stays through the load: the repeated key is refused as it comes.
        Appender& ledger = db_.appender("台帳データ");
        ledger.newRow();
        ledger.set("属性番号", 1);
        if (pass == 0) ledger.save();
        else EXPECT_EQ(errorOf([&] { ledger.save(); }), err::DuplicateKey);
        if (pass == 0) {
            db_.close();  // closed without a query: the file gets its indexes all the same
            continue;
        }
        EXPECT_EQ(indexesOf(db_), defined);
        Query q = db_.query("SELECT 中間点番号 FROM リンクデータ中間点 WHERE LinkIdx = 7 ORDER BY 中間点番号, rowid");
        std::vector<int> order;
        while (q.next()) order.push_back(q.asLong(0));
        EXPECT_EQ(order, (std::vector<int>{1, 1, 2, 2, 3, 3}));
    }
}

// An index of two fields: one index over both, in their order, and the cases of a refused definition.
TEST_F(Definitions, IndexOfTwoFieldsCoversBothInOrder) {
    db_.createTable(TableDef("リンクデータ")
                        .field("起点メッシュコード", FieldType::Long)
                        .field("リンク一連番号", FieldType::Long)
                        .index("起点メッシュコード", {"起点メッシュコード", "リンク一連番号"}));
    EXPECT_EQ(indexesOf(db_), (std::vector<std::string>{"リンクデータ.起点メッシュコード:起点メッシュコード+リンク一連番号"}));
    const struct {
        const char* what;
        TableDef table;
        int error;
    } refused[] = {
        {"second field missing", TableDef("A").field("a", FieldType::Long).index("a", {"a", "b"}), err::ItemNotFound},
        {"name taken", TableDef("B").field("b", FieldType::Long).index("x", {"b"}).index("x", {"b", "b"}),
         err::AlreadyInCollection},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(errorOf([&] { db_.createTable(c.table); }), c.error);
    }
}

// What a job keeps beside the tables lives as long as the database is open: one object per type, the same
// on every call, and a fresh one after the database was closed and opened again.
TEST_F(Definitions, CompanionLivesWhileTheDatabaseIsOpen) {
    struct Kept {
        int value = 0;
    };
    db_.companion<Kept>().value = 5;
    EXPECT_EQ(db_.companion<Kept>().value, 5);
    Database moved = std::move(db_);
    EXPECT_EQ(moved.companion<Kept>().value, 5);
    moved.close();
    EXPECT_EQ(errorOf([&] { moved.companion<Kept>(); }), err::ObjectInvalid);
    db_ = Database::open(file("defs.mdb"));
    EXPECT_EQ(db_.companion<Kept>().value, 0);
}

}  // namespace
