// The area ledger reader: the character cursor over "DA" records, row by row of its rules.
#include "convert/area/PolygonLoader.h"
#include "tests/convert/area/AreaJobFixture.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

using Items = std::vector<datagen::AreaLedgerItemDef>;

// A text padded with half-width blanks to `bytes` bytes of CP932 (UTF-8 in, UTF-8 out).
std::string padded(const std::string& utf8, int bytes) {
    std::string s = text::toCp932(utf8);
    s.resize(static_cast<std::size_t>(bytes), ' ');
    return text::fromCp932(s);
}

class PolygonLedgerTest : public AreaJobFixture {};

TEST_F(PolygonLedgerTest, CursorCases) {
    const std::string concept25 = "構想名称構想名称構想名称構想名称構想名称構想名称構";  // 25 characters, 50 bytes
    const std::string district25 = "地区名称地区名称地区名称地区名称地区名称地区名称地";
    struct Case {
        const char* what;
        int row;
        Items items;  // empty: the row's own items
        std::vector<std::string> records;
        Dump expected;
    };
    const std::vector<Case> cases = {
        {"double-byte text, the next item 16 characters on", 3, {{"名称", "Text", 20}, {"種別", "Integer", 2}},
         {daRecord(1, 1, padded("地区名称", 20) + "42")}, {"DA |1|1|地区名称|42"}},
        {"half-width characters in a text take a column each", 3, {{"名称", "Text", 20}, {"種別", "Integer", 2}},
         {daRecord(1, 1, padded("第2地区", 20) + "42")}, {"DA |1|1|第2地区|42"}},
        {"a half-width text longer than half the width stays whole", 3, {{"名称", "Text", 20}, {"種別", "Integer", 2}},
         {daRecord(1, 1, padded("ABCDEFGHIJKL", 20) + "42")}, {"DA |1|1|ABCDEFGHIJKL|42"}},
        {"a blank text steps its whole width", 3, {{"名称", "Text", 20}, {"種別", "Integer", 2}},
         {daRecord(1, 1, std::string(20, ' ') + "42")}, {"DA |1|1|NULL|42"}},
        {"Text1 letters read like a number stay empty", 3, {{"記号", "Text1", 2}, {"種別", "Integer", 2}},
         {daRecord(1, 1, "AB42")}, {"DA |1|1|NULL|42"}},
        {"Text2 digits keep their blanks", 3, {{"記号", "Text2", 4}}, {daRecord(1, 1, "  42")}, {"DA |1|1|  42"}},
        {"resort row, one line: the fifth item ends the record", 7, {},
         {daRecord(1234, 1, "13" "19900401" + concept25), district25 + "  99"},
         {"DA |1234|1|34|1|13|19900401|" + concept25 + "|NULL|NULL"}},
        {"resort row, two lines: items 6 on from column 1 of the second", 7, {},
         {daRecord(1234, 2, "13" "19900401" + concept25), district25 + "  99"},
         {"DA |1234|2|34|2|13|19900401|" + concept25 + "|" + district25 + "|99"}},
        {"resort row: a text of odd width steps the bytes it covers", 7, {{"名", "Text", 5}, {"面積", "Long", 2}},
         {daRecord(5, 1, padded("地区", 5) + "42")}, {"DA |5|1|地区|42"}},
        {"resort row: a short district name of both widths still leads to the area", 7, {},
         {daRecord(1234, 2, "13" "19900401" + padded("構想", 50)), padded("第2地区", 50) + "  99"},
         {"DA |1234|2|34|2|13|19900401|構想|第2地区|99"}},
        {"boundary row: codes from the attribute number, no columns taken", 8, {},
         {daRecord(13101, 1, padded("東京都", 16) + std::string(32, ' ') + padded("千代田区", 16))},
         {"DA |13101|1|13|101|東京都|NULL|NULL|千代田区"}},
        {"a repeated attribute number keeps the first record", 3, {{"種別", "Integer", 2}},
         {daRecord(1, 1, " 7"), daRecord(1, 1, " 8"), daRecord(2, 1, " 9")}, {"DA |1|1|7", "DA |2|1|9"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string key = datagen::area_row_header_key(c.row);
        setAreaRow(c.row, areaRowName(c.row), key, c.items.empty() ? datagen::area_ledger_items(c.row) : c.items);
        openDb(c.row);
        std::string bytes = text::toCp932(headerLine("H", key) + "\r\n" + areaCounts() + "\r\n");
        for (const std::string& r : c.records) bytes += text::toCp932(r) + "\r\n";
        ASSERT_TRUE(load(writeFile("ledger.txt", bytes)));
        EXPECT_EQ(dump("エリア台帳データ"), c.expected);
        EXPECT_TRUE(ui_.boxes().empty());
    }
}

TEST_F(PolygonLedgerTest, ResortRecordWithoutItsSecondLineFailsWithTheReadersBox) {
    const std::string key = datagen::area_row_header_key(7);
    openDb(7);
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(load(writeFile("cut.txt", crlf({headerLine("H", key), areaCounts(), daRecord(1, 2, "13")}))));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: ModPolygon (SetTextToTbl_Area)");
    EXPECT_EQ(ui_.boxes()[0].text.substr(0, 3), "62 ");
    EXPECT_TRUE(dump("エリア台帳データ").empty());
}

}  // namespace
