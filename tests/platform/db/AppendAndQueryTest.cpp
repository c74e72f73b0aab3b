// Appending rows, unique keys, reading rows back by name, and what a failed load leaves.
#include "DbTestFolder.h"
#include "platform/db/DbErrors.h"
#include "platform/db/Transaction.h"
#include "platform/text/Cp932.h"

using namespace velmora::db;
using velmora::text::toCp932;

namespace {

class AppendAndQuery : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        db_ = Database::create(file("xxtmpMesh.mdb"));
        db_.createTable(TableDef("MESH").field("LINKNO", FieldType::Long).field("MESHCD", FieldType::Text, 10));
        db_.createTable(TableDef("台帳データ")
                            .field("属性番号", FieldType::Long)
                            .field("名称", FieldType::Text, 20)
                            .index("属性番号", "属性番号", true));
    }
    void addMesh(int link, const std::string& code) {
        Appender& a = db_.appender("MESH");
        a.newRow();
        a.set("LINKNO", link);
        a.set("MESHCD", code);
        a.save();
    }
    void addLedger(int key, const std::string& name) {
        Appender& a = db_.appender("台帳データ");
        a.newRow();
        a.set("属性番号", key);
        a.set("名称", name);
        a.save();
    }
    long long count(const std::string& table) {
        Query q = db_.query("SELECT count(*) AS n FROM " + table);
        q.next();
        return q.asLong("n");
    }
    Database db_;
};

TEST_F(AppendAndQuery, ARepeatedKeyIs3022AndTheFirstRowStays) {
    addLedger(1, "first");
    EXPECT_EQ(errorOf([&] { addLedger(1, "second"); }), err::DuplicateKey);
    addLedger(2, "next");  // appending goes on after the refused row
    Query q = db_.query("SELECT 名称 FROM 台帳データ ORDER BY 属性番号");
    std::vector<std::string> names;
    while (q.next()) names.push_back(q.asText("名称"));
    EXPECT_EQ(names, (std::vector<std::string>{"first", "next"}));
}

TEST_F(AppendAndQuery, DroppedRepeatedKeysLeaveTheFirstRowOfEachKeyInGroupsAndWithin) {
    db_.appender("台帳データ").dropRepeatedKeys();
    // 100 keys, each saved three times with its copies 1 and 40 rows later: repeats inside one group of
    // rows and across groups.
    for (int round = 0; round < 3; ++round)
        for (int key = 0; key < 100; ++key) {
            const int k = round == 2 ? (key * 37) % 100 : key;
            addLedger(k, "r" + std::to_string(round) + "k" + std::to_string(k));
            if (round == 0 && key % 2 == 0) addLedger(k, "repeat" + std::to_string(k));
        }
    Query q = db_.query("SELECT 属性番号, 名称 FROM 台帳データ ORDER BY rowid");
    int expected = 0;
    while (q.next()) {
        EXPECT_EQ(q.asLong("属性番号"), expected);
        EXPECT_EQ(q.asText("名称"), "r0k" + std::to_string(expected));
        ++expected;
    }
    EXPECT_EQ(expected, 100);
    // A key left Null is still refused where it is saved.
    Appender& a = db_.appender("台帳データ");
    a.newRow();
    a.set("名称", "no key");
    EXPECT_EQ(errorOf([&] { a.save(); }), err::NullInKey);
}

TEST_F(AppendAndQuery, RowsOfKeysTheLoaderNumbersAreWrittenInGroupsAndARepeatStillFails) {
    db_.appender("台帳データ").writeInGroups();
    for (int key = 1; key <= 100; ++key) addLedger(key, "k" + std::to_string(key));
    EXPECT_EQ(count("台帳データ"), 100);
    // A repeated key fails where its group is written (here: before the count reads the table), and the
    // rows written before stay.
    EXPECT_EQ(errorOf([&] {
                  addLedger(101, "new");
                  addLedger(7, "again");
                  count("台帳データ");
              }),
              err::DuplicateKey);
    Query q = db_.query("SELECT 名称 FROM 台帳データ WHERE 属性番号 = 7");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.asText("名称"), "k7");
    EXPECT_EQ(count("台帳データ"), 101);  // a group not yet full is written row by row: 101 got in
}

TEST_F(AppendAndQuery, RowsAreReadByNameInTheOrderAsked) {
    // Codes met as C, D, C, E: one row per code with its first shape number, in that order.
    const std::pair<int, const char*> rows[] = {{1, "533946"}, {2, "533947"}, {3, "533946"}, {4, "523900"}};
    for (auto [link, code] : rows) addMesh(link, code);
    Query q = db_.query("SELECT Min(LINKNO) AS MinLink,MESHCD From MESH GROUP BY MESHCD ORDER BY Min(LINKNO)");
    std::vector<std::pair<int, std::string>> got;
    while (q.next()) got.emplace_back(q.asLong("minlink"), q.asText("MESHCD"));
    EXPECT_EQ(got, (std::vector<std::pair<int, std::string>>{{1, "533946"}, {2, "533947"}, {4, "523900"}}));
    EXPECT_EQ(errorOf([&] { q.asText("MESHCD"); }), err::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { q.column("LINKNO"); }), err::ItemNotFound);
}

TEST_F(AppendAndQuery, ValuesReadAsTheWritersNeedThem) {
    db_.createTable(TableDef("V").field("n", FieldType::Long).field("d", FieldType::Double).field("t", FieldType::Text, 10));
    Appender& a = db_.appender("V");
    a.newRow();
    a.set("d", 35.0 + 2.0 / 3.0);
    a.set("t", " 12 ");
    a.save();
    Query q = db_.query("SELECT * FROM V");
    ASSERT_TRUE(q.next());
    EXPECT_TRUE(q.isNull("n"));
    EXPECT_EQ(q.asText("n"), "");  // empty when Null
    EXPECT_EQ(errorOf([&] { q.asLong("n"); }), err::InvalidUseOfNull);
    EXPECT_EQ(q.asText("d"), "35.6666666666667");
    EXPECT_EQ(q.asLong("d"), 36);
    EXPECT_EQ(q.asText("t"), " 12 ");  // as stored, untrimmed
    EXPECT_EQ(q.asLong("t"), 12);
    EXPECT_EQ(q.columnCount(), 3);
    EXPECT_EQ(q.columnName(2), "t");
}

TEST_F(AppendAndQuery, OneQueryServesManyLookUps) {
    const std::string names[] = {"", "n1", "n2", "n3", "n4", "n5"};
    for (int k = 1; k <= 5; ++k) addLedger(k * 10, names[k]);
    Query q = db_.query("SELECT 名称 FROM 台帳データ WHERE 属性番号 = ?");
    for (int k : {30, 10, 99, 50, 30}) {
        q.bind(1, k);
        if (k == 99) {
            EXPECT_FALSE(q.next());
        } else {
            ASSERT_TRUE(q.next()) << k;
            EXPECT_EQ(q.asText("名称"), names[k / 10]);
        }
    }
    // A value never becomes SQL: a text that looks like SQL is just a key that matches nothing.
    q.bind(1, "1 OR 1=1");
    EXPECT_FALSE(q.next());
}

TEST_F(AppendAndQuery, Cp932TextIsKeptRawAndComparedBytewise) {
    // ソ and 表 end in the byte 0x5C; half-width ｱ is the single byte 0xB1, above every lead byte 0x81-0x9F.
    const std::string so = toCp932("ソ"), hyo = toCp932("表"), kana = toCp932("ｱ");
    for (const std::string& t : {kana, hyo, so, std::string("A"), so + " "}) addMesh(1, t);
    Query q = db_.query("SELECT DISTINCT MESHCD FROM MESH ORDER BY MESHCD");
    std::vector<std::string> got;
    while (q.next()) got.push_back(q.asText("MESHCD"));
    EXPECT_EQ(got, (std::vector<std::string>{"A", so, so + " ", hyo, kana}));  // a trailing blank counts

    Query byCode = db_.query("SELECT count(*) AS n FROM MESH WHERE MESHCD = ?");
    byCode.bind(1, hyo);
    ASSERT_TRUE(byCode.next());
    EXPECT_EQ(byCode.asLong("n"), 1);
}

TEST_F(AppendAndQuery, AFailedLoadLeavesTheRowsSavedBeforeIt) {
    auto load = [&](int first, int rows, int badRow) {
        Transaction file(db_);
        for (int i = 0; i < rows; ++i) {
            Appender& a = db_.appender("MESH");
            a.newRow();
            a.set("LINKNO", first + i);
            a.set("MESHCD", i == badRow ? std::string("12345678901") : std::to_string(533900 + i));
            a.save();
        }
        file.commit();
    };
    load(1, 5, -1);
    EXPECT_EQ(errorOf([&] { load(6, 5, 3); }), err::FieldTooSmall);
    EXPECT_FALSE(db_.inTransaction());
    db_.close();

    db_ = Database::open(file("xxtmpMesh.mdb"));
    EXPECT_EQ(count("MESH"), 5 + 3);
    Query check = db_.query("PRAGMA integrity_check");
    ASSERT_TRUE(check.next());
    EXPECT_EQ(check.asText(0), "ok");
}

// Rows of a table without a unique index are written several to a statement: every reader must still see
// each saved row, in the order saved, whatever the number of rows and wherever a row was abandoned.
TEST_F(AppendAndQuery, RowsWrittenInGroupsReachEveryReaderInTheirOrder) {
    Query early = db_.query("SELECT LINKNO, MESHCD FROM MESH ORDER BY rowid");  // made before any row
    std::vector<std::pair<std::string, std::string>> expected;
    auto rowsOf = [](Query& q) {
        std::vector<std::pair<std::string, std::string>> rows;
        while (q.next()) rows.emplace_back(q.asText("LINKNO"), q.isNull("MESHCD") ? "<null>" : q.asText("MESHCD"));
        return rows;
    };
    Appender& a = db_.appender("MESH");
    int saved = 0;
    for (int batch : {1, 31, 32, 33, 70}) {
        for (int i = 0; i < batch; ++i, ++saved) {
            a.newRow();
            a.set("LINKNO", saved);
            if (saved % 7 == 3) {  // a refused value abandons the row; the next one starts clean
                EXPECT_EQ(errorOf([&] { a.set("MESHCD", std::string("12345678901")); }), err::FieldTooSmall);
                a.newRow();
                a.set("LINKNO", saved);
            }
            if (saved % 5 != 0) a.set("MESHCD", std::to_string(533900 + saved));
            a.save();
            expected.emplace_back(std::to_string(saved), saved % 5 ? std::to_string(533900 + saved) : "<null>");
        }
        early.reset();
        EXPECT_EQ(rowsOf(early), expected) << "after " << saved << " rows";
    }
    {
        Transaction file(db_);
        a.newRow();
        a.set("LINKNO", saved);
        a.save();  // the file's commit writes it
    }
    db_.close();
    db_ = Database::open(file("xxtmpMesh.mdb"));
    EXPECT_EQ(count("MESH"), saved + 1);
}

TEST_F(AppendAndQuery, ARefusedKeyInsideATransactionLosesNoOtherRow) {
    // Without a journal a refused row must leave no trace, also in an index maintained before the unique one.
    db_.createTable(TableDef("エリア台帳データ")
                        .field("名称", FieldType::Text, 20)
                        .field("属性番号", FieldType::Long)
                        .index("名称", "名称")
                        .index("属性番号", "属性番号", true));
    auto add = [&](int key, const char* name) {
        Appender& a = db_.appender("エリア台帳データ");
        a.newRow();
        a.set("名称", name);
        a.set("属性番号", key);
        a.save();
    };
    {
        Transaction file(db_);
        add(1, "a");
        EXPECT_EQ(errorOf([&] { add(1, "b"); }), err::DuplicateKey);
        add(2, "c");
    }
    db_.close();
    db_ = Database::open(file("xxtmpMesh.mdb"));
    EXPECT_EQ(count("エリア台帳データ"), 2);
    Query byName = db_.query("SELECT count(*) AS n FROM エリア台帳データ WHERE 名称 = 'b'");
    ASSERT_TRUE(byName.next());
    EXPECT_EQ(byName.asLong("n"), 0);
    Query check = db_.query("PRAGMA integrity_check");
    ASSERT_TRUE(check.next());
    EXPECT_EQ(check.asText(0), "ok");
}

TEST_F(AppendAndQuery, AQueryOutlivingItsDatabaseReportsInsteadOfCrashing) {
    addMesh(1, "533946");
    Query q = db_.query("SELECT * FROM MESH");
    db_.close();
    EXPECT_EQ(errorOf([&] { q.next(); }), err::ObjectInvalid);
    EXPECT_EQ(errorOf([&] { db_.query("SELECT 1"); }), err::ObjectInvalid);
    EXPECT_EQ(errorOf([&] { db_.commit(); }), err::NotInTransaction);
}

TEST_F(AppendAndQuery, BadSqlIsAnErrorWithItsNumber) {
    EXPECT_EQ(errorOf([&] { db_.query("SELECT * FROM NOSUCH"); }), err::TableNotFound);
    EXPECT_EQ(errorOf([&] { db_.query("SELECT nosuch FROM MESH"); }), err::TooFewParameters);
    EXPECT_EQ(errorOf([&] { db_.query("SELECT * FROM MESH WHERE"); }), err::SyntaxError);
}

}  // namespace

TEST_F(AppendAndQuery, AnEmptyViewWithoutDataIsEmptyTextNotNull) {
    Appender& a = db_.appender("MESH");
    a.newRow();
    a.set("LINKNO", 1);
    a.set("MESHCD", std::string_view());  // a cut past the end of a line
    a.save();
    Query q = db_.query("SELECT MESHCD FROM MESH WHERE MESHCD = ?");
    q.bind(1, std::string_view());
    ASSERT_TRUE(q.next());
    EXPECT_FALSE(q.isNull("MESHCD"));
    EXPECT_EQ(q.asText("MESHCD"), "");
}
