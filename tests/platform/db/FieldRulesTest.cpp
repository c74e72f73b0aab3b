// The conversions a field applies to what is stored into it, and the errors of the values it refuses.
#include <cstdint>
#include <variant>

#include "DbTestFolder.h"
#include "platform/db/DbErrors.h"
#include "platform/text/Cp932.h"

using namespace velmora::db;
using velmora::text::toCp932;

namespace {

using Input = std::variant<std::string, double, std::int64_t>;

struct Case {
    const char* field;
    Input value;
    const char* stored;  // as read back with asText; nullptr when refused
    int error;           // the refusal's number
};

class FieldRules : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        db_ = Database::create(file("rules.mdb"));
        db_.createTable(TableDef("T")
                            .field("i", FieldType::Integer)
                            .field("l", FieldType::Long)
                            .field("d", FieldType::Double)
                            .field("t", FieldType::Text, 4));
    }

    // The last row's value of the field, or nullptr when it is Null.
    std::optional<std::string> lastValue(const std::string& field) {
        Query q = db_.query("SELECT * FROM T ORDER BY rowid DESC LIMIT 1");
        EXPECT_TRUE(q.next());
        if (q.isNull(field)) return std::nullopt;
        return q.asText(field);
    }
    long long rowCount() {
        Query q = db_.query("SELECT count(*) AS n FROM T");
        q.next();
        return q.asLong("n");
    }

    Database db_;
};

TEST_F(FieldRules, ValuesAreStoredOrRefusedAsTheFieldDemands) {
    const std::string nihongo4 = toCp932("日本語テ");   // 4 characters in 8 bytes
    const std::string nihongo5 = toCp932("日本語テス");
    const std::string kana = toCp932("ｱｲｳｴ");           // half-width kana: one byte each
    const Case cases[] = {
        {"i", std::string("123"), "123", 0},
        {"i", std::string(" -12 "), "-12", 0},
        {"i", std::string("12.5"), "12", 0},  // half to even
        {"i", std::string("13.5"), "14", 0},
        {"i", std::string("32767"), "32767", 0},
        {"i", std::string("32768"), nullptr, err::NumericFieldOverflow},
        {"i", std::string("-32769"), nullptr, err::NumericFieldOverflow},
        {"i", std::string(""), nullptr, err::DataTypeConversion},
        {"i", std::string("   "), nullptr, err::DataTypeConversion},
        {"i", std::string("1a"), nullptr, err::DataTypeConversion},
        {"i", std::int64_t{40000}, nullptr, err::NumericFieldOverflow},
        {"i", 2.5, "2", 0},
        {"l", std::string("2147483647"), "2147483647", 0},
        {"l", std::string("-2147483648"), "-2147483648", 0},
        {"l", std::string("2147483648"), nullptr, err::NumericFieldOverflow},
        {"l", std::string("1E3"), "1000", 0},
        {"l", std::string("0000123"), "123", 0},
        {"l", std::int64_t{3000000000}, nullptr, err::NumericFieldOverflow},
        {"l", 2147483647.4, "2147483647", 0},
        {"l", 2147483647.5, nullptr, err::NumericFieldOverflow},
        {"d", std::string("1.25"), "1.25", 0},
        {"d", std::string(" 35.6666666666667 "), "35.6666666666667", 0},
        {"d", std::string(""), nullptr, err::DataTypeConversion},
        {"d", std::string("x"), nullptr, err::DataTypeConversion},
        {"d", std::string("1E999"), nullptr, err::NumericFieldOverflow},
        {"d", std::int64_t{3000000000}, "3000000000", 0},
        {"t", std::string("abcd"), "abcd", 0},
        {"t", std::string("abcde"), nullptr, err::FieldTooSmall},
        {"t", nihongo4, nihongo4.c_str(), 0},
        {"t", nihongo5, nullptr, err::FieldTooSmall},
        {"t", kana, kana.c_str(), 0},
        {"t", std::string("  "), "  ", 0},  // untrimmed, not Null
        {"t", std::int64_t{12345}, nullptr, err::FieldTooSmall},
        {"t", 1.5, "1.5", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " #" + std::to_string(&c - cases));
        Appender& a = db_.appender("T");
        long long before = rowCount();
        a.newRow();
        a.set("t", "ok");
        int error = errorOf([&] {
            std::visit([&](const auto& v) { a.set(c.field, v); }, c.value);
            a.save();
        });
        EXPECT_EQ(error, c.error);
        if (c.stored) {
            EXPECT_EQ(lastValue(c.field), std::optional<std::string>(c.stored));
        } else {
            EXPECT_EQ(rowCount(), before);  // the refused row never reaches the table
        }
    }
}

TEST_F(FieldRules, OnlyNumbersAreStoredWhenTheCallerAsksSoTheRestStaysNull) {
    const std::pair<const char*, const char*> cases[] = {
        {"  ", nullptr}, {"", nullptr}, {"12x", nullptr}, {" 7 ", "7"}, {"-0.5", "0"}, {"3e2", "300"},
    };
    Appender& a = db_.appender("T");
    for (auto [text, stored] : cases) {
        SCOPED_TRACE(text);
        a.newRow();
        EXPECT_EQ(a.setIfNumeric("l", text), stored != nullptr);
        a.save();
        EXPECT_EQ(lastValue("l"), stored ? std::optional<std::string>(stored) : std::nullopt);
    }
}

TEST_F(FieldRules, ARefusedValueLeavesNothingBehindForTheNextRow) {
    Appender& a = db_.appender("T");
    a.newRow();
    a.set("l", 5);
    EXPECT_EQ(errorOf([&] { a.set("i", "big 1"); }), err::DataTypeConversion);
    // The loader gives up on that record; the next one starts afresh.
    a.newRow();
    a.set("i", 1);
    a.save();
    EXPECT_EQ(lastValue("l"), std::nullopt);
    EXPECT_EQ(lastValue("i"), std::optional<std::string>("1"));
}

TEST_F(FieldRules, AFieldThatIsNotThereIs3265) {
    Appender& a = db_.appender("T");
    a.newRow();
    EXPECT_EQ(errorOf([&] { a.set("missing", 1); }), err::ItemNotFound);
    EXPECT_EQ(errorOf([&] { a.setIfNumeric("missing", "x"); }), err::ItemNotFound);
    a.set("L", 3);  // ASCII letters without regard to case
    a.save();
    EXPECT_EQ(lastValue("l"), std::optional<std::string>("3"));
}

}  // namespace
