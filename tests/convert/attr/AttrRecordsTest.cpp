#include <gtest/gtest.h>

#include "convert/attr/AttrRecords.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Cp932.h"
#include "tests/tools/gen/AttrFileGen.h"

using velmora::RunTimeError;
using velmora::text::fromCp932;
using velmora::text::toCp932;

TEST(AttrRecords, TextItemsByTypeName) {
    for (const char* t : {"Text", "Text1", "Text2", "Text3", "MyText"}) EXPECT_TRUE(ModAttr::isTextItem(t)) << t;
    for (const char* t : {"Integer", "Long", "text", "TEXT", ""}) EXPECT_FALSE(ModAttr::isTextItem(t)) << t;
}

TEST(AttrRecords, LedgerRowFields) {
    auto row = ModAttr::parseLedgerRow(velmora::gen::attrDtRow("1234005", "2", "多摩川水系"));
    EXPECT_EQ(row.layerCode, "DT ");
    EXPECT_EQ(row.attributeNumber, 1234005);
    EXPECT_EQ(row.lineCount, 2);
    ASSERT_TRUE(row.title);
    EXPECT_EQ(fromCp932(*row.title), "多摩川水系");

    // The title is 20 characters from column 17, not 20 bytes: twelve double-byte characters all count.
    auto wide = ModAttr::parseLedgerRow(toCp932("DT          1  1一二三四五六七八九十壱弐"));
    ASSERT_TRUE(wide.title);
    EXPECT_EQ(fromCp932(*wide.title), "一二三四五六七八九十壱弐");

    auto blank = ModAttr::parseLedgerRow("DT          7  1                    ");
    EXPECT_FALSE(blank.title);
    EXPECT_FALSE(ModAttr::parseLedgerRow("DT          7  1").title);
}

TEST(AttrRecords, LedgerRowNumbersMustConvert) {
    const char* bad[] = {
        "DT    12x     1title",  // attribute number not a number
        "DT                1title",  // blank attribute number
        "DT          7 a title",     // line count not a number
        "DT",                        // nothing after the kind
    };
    for (const char* line : bad) {
        try {
            ModAttr::parseLedgerRow(line);
            ADD_FAILURE() << line;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), velmora::err::TypeMismatch) << line;
        }
    }
}

namespace {
struct KeyCase {
    const char* item1;
    const char* item2;
    double key;
};
}  // namespace

TEST(AttrRecords, LedgerKeyJoinsItemOneAndThreeDigitsOfItemTwo) {
    const KeyCase cases[] = {
        {"12", "5", 12005},   {"12", "123", 12123}, {"12", "1234", 121234}, {" 12", " 5 ", 12005},
        {"", "7", 7},         {"1", "0", 1000},     {"3", "4.5", 3005},
    };
    for (const auto& c : cases) EXPECT_EQ(ModAttr::ledgerKey(c.item1, c.item2), c.key) << c.item1 << "|" << c.item2;
}

TEST(AttrRecords, LedgerKeyThatIsNoNumberIsTypeMismatch) {
    // Each of these would have reached the ledger query as broken SQL text.
    const std::pair<std::string, std::string> bad[] = {
        {"12", "abc"}, {"1 2", "5"}, {"12", "-5"}, {"x", "5"}, {"1; DROP", "5"}, {toCp932("河川"), "1"}};
    for (const auto& [a, b] : bad) {
        try {
            ModAttr::ledgerKey(a, b);
            ADD_FAILURE() << a << "|" << b;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), velmora::err::TypeMismatch);
        }
    }
}
