// Plain indexes of empty tables are taken off when a database opens, and each table gets its own back
// before a query reads it; the rest come back at the close, unless the file is closed to be deleted.
#include "DbTestFolder.h"

using namespace velmora::db;

namespace {

class DeferredIndexes : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        path_ = file("xxtmpLineDabaDB.mdb");
        create();
    }
    // Both tables defined with one index each, and empty.
    void create() {
        Database db = Database::create(path_, Database::IfExists::Replace);
        db.createTable(TableDef("リンクデータ").field("起点メッシュコード", FieldType::Long).index("起点", "起点メッシュコード"));
        db.createTable(TableDef("ノードデータ").field("メッシュコード", FieldType::Long).index("メッシュ", "メッシュコード"));
    }
    static void fill(Database& db) {
        for (const char* table : {"リンクデータ", "ノードデータ"}) {
            Appender& a = db.appender(table);
            for (int i = 0; i < 100; ++i) {
                a.newRow();
                a.set(std::string(table) == "リンクデータ" ? "起点メッシュコード" : "メッシュコード", i);
                a.save();
            }
        }
    }
    static long indexes(const Database& db, const std::string& table) {
        Query q = db.query("SELECT count(*) AS n FROM sqlite_master WHERE type = 'index' AND tbl_name = ?");
        q.bind(1, table);
        q.next();
        return q.asLong("n");
    }
    static std::string plan(const Database& db, const std::string& sql) {
        Query q = db.query("EXPLAIN QUERY PLAN " + sql);
        std::string steps;
        while (q.next()) steps += q.asText("detail") + ";";
        return steps;
    }
    std::string path_;
};

TEST_F(DeferredIndexes, AQueryFindsTheIndexesOfTheTablesItReadsAndNoOthersAreBuilt) {
    Database db = Database::open(path_);
    EXPECT_EQ(indexes(db, "リンクデータ"), 0);
    fill(db);
    EXPECT_NE(plan(db, "SELECT * FROM リンクデータ WHERE 起点メッシュコード = 5").find("USING"), std::string::npos);
    EXPECT_EQ(indexes(db, "リンクデータ"), 1);
    EXPECT_EQ(indexes(db, "ノードデータ"), 0);
    // A read through a subquery counts as a read of the table.
    EXPECT_NE(plan(db, "SELECT 1 WHERE EXISTS (SELECT 1 FROM ノードデータ WHERE メッシュコード = 5)").find("USING"),
              std::string::npos);
    EXPECT_EQ(indexes(db, "ノードデータ"), 1);
}

TEST_F(DeferredIndexes, TheCloseBuildsTheRestButNotForAFileToBeDeleted) {
    {
        Database db = Database::open(path_);
        fill(db);
        db.close();
    }
    Database db = Database::open(path_);
    EXPECT_EQ(indexes(db, "ノードデータ"), 1);
    db.close();

    create();
    db = Database::open(path_);
    fill(db);
    db.closeToDelete();
    db = Database::open(path_);
    EXPECT_EQ(indexes(db, "ノードデータ"), 0);
    EXPECT_EQ(indexes(db, "リンクデータ"), 0);
}

}  // namespace
