// dBASE cells and field names: what a value of the pair becomes in the table.
#include <gtest/gtest.h>

#include <vector>

#include "brunhale/FieldNames.h"
#include "brunhale/TableOutput.h"
#include "platform/text/Cp932.h"

using namespace velmora;
using namespace velmora::brunhale;

namespace {

struct CellCase {
    const char* what;
    char type;
    int width;
    const char* value;  // UTF-8
    Cell expected;
    const char* cell;   // UTF-8, for Cell::Value
    int decimals = 0;
};

class CellTest : public ::testing::TestWithParam<CellCase> {};

TEST_P(CellTest, Cell) {
    const CellCase& c = GetParam();
    FieldDef f{"F", c.type, c.width, c.decimals};
    std::string cell;
    ASSERT_EQ(dbfCell(f, text::toCp932(c.value), cell), c.expected) << c.what;
    if (c.expected == Cell::Value) {
        EXPECT_EQ(text::fromCp932(cell), c.cell) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, CellTest,
    ::testing::Values(
        CellCase{"text as it stands", 'C', 8, "abc", Cell::Value, "abc"},
        CellCase{"text keeps its blanks", 'C', 8, " a ", Cell::Value, " a "},
        CellCase{"text cut at the width", 'C', 3, "abcdef", Cell::Value, "abc"},
        CellCase{"double-byte text cut where a character ends", 'C', 5, "東京都", Cell::Value, "東京"},
        CellCase{"half-width kana are one byte each", 'C', 3, "ｱｲｳｴ", Cell::Value, "ｱｲｳ"},
        CellCase{"empty text", 'C', 4, "", Cell::Value, ""},
        CellCase{"number right-aligned, not reformatted", 'N', 6, "012", Cell::Value, "   012"},
        CellCase{"number with blanks from a fixed column", 'N', 5, "   42", Cell::Value, "   42"},
        CellCase{"decimal number kept as written where the field has decimals", 'N', 6, "1.50", Cell::Value, "  1.50", 2},
        // A field of no decimals holds whole numbers; a reader would cut "8.5" to 8 and warn about it.
        CellCase{"fraction in a whole-number field rounded", 'N', 6, "1.50", Cell::Value, "     2"},
        CellCase{"a point without a fraction", 'N', 3, "8.", Cell::Value, "  8"},
        CellCase{"halves rounded to even", 'N', 3, "8.5", Cell::Value, "  8"},
        CellCase{"halves rounded to even, upwards", 'N', 3, "-9.5", Cell::Value, "-10"},
        CellCase{"exponent form with a fraction rounded", 'N', 3, "2.5E-1", Cell::Value, "  0"},
        CellCase{"rounded number wider than its field is refused", 'N', 3, "999.5", Cell::TooWide, ""},
        CellCase{"number beyond the range of any field is refused", 'N', 10, "2D413", Cell::TooWide, ""},
        CellCase{"negative number", 'N', 3, "-7", Cell::Value, " -7"},
        CellCase{"number filling its field", 'N', 3, "123", Cell::Value, "123"},
        CellCase{"exponent form laid out as plain decimal", 'N', 8, "1.5E3", Cell::Value, "    1500"},
        CellCase{"empty number is NULL", 'N', 5, "", Cell::Null, ""},
        CellCase{"blank number is NULL", 'N', 5, "    ", Cell::Null, ""},
        CellCase{"non-numeric number is NULL", 'N', 5, "12a", Cell::Null, ""},
        CellCase{"wider than its field is refused", 'N', 3, "1234", Cell::TooWide, ""},
        CellCase{"decimal wider than its field is refused", 'N', 4, "1.234", Cell::TooWide, "", 3}));

TEST(FieldName, CutToTenBytesWhereACharacterEnds) {
    struct {
        const char* name;
        const char* stored;
    } cases[] = {
        {"属性番号", "属性番号"},
        {"LinkKey", "LinkKey"},
        {"ABCDEFGHIJKL", "ABCDEFGHIJ"},
        {"あいうえおか", "あいうえお"},      // 12 bytes -> 10
        {"abcあいうえお", "abcあいう"},      // the fifth character would end at byte 11
        {"ｱｲｳｴｵｶｷｸｹｺｻ", "ｱｲｳｴｵｶｷｸｹｺ"},  // half-width kana: one byte each
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::fromCp932(dbfFieldName(text::toCp932(c.name))), c.stored) << c.name;
}

// Stored names must differ, letter case aside, or readers see one column twice.
TEST(FieldName, NamesAlikeAfterTheirCutGetANumberedTail) {
    struct {
        const char* what;
        std::vector<const char*> names;
        std::vector<const char*> stored;
    } cases[] = {
        {"two long names sharing their first 10 bytes", {"行政区域コード番号", "行政区域コード名称"}, {"行政区域コ", "行政区域_1"}},
        {"a third one takes the next number", {"行政区域コード番号", "行政区域コード名称", "行政区域コード区分"},
         {"行政区域コ", "行政区域_1", "行政区域_2"}},
        {"the tail cut where a character ends", {"abc行政区域コード", "abc行政区域名称"}, {"abc行政区", "abc行政_1"}},
        {"single-byte names", {"ABCDEFGHIJ1", "ABCDEFGHIJ2"}, {"ABCDEFGHIJ", "ABCDEFGH_1"}},
        {"letter case does not make a name unique", {"LinkKey", "LINKKEY", "linkkey"}, {"LinkKey", "LINKKEY_1", "linkkey_2"}},
        {"a second byte that looks like a letter is none: ア 0x8341, ヂ 0x8361", {"ア", "ヂ"}, {"ア", "ヂ"}},
        {"a numbered name already taken", {"ABCDEFGHIJK", "ABCDEFGH_1", "ABCDEFGHIJL"}, {"ABCDEFGHIJ", "ABCDEFGH_1", "ABCDEFGH_2"}},
        {"names unique after their cut stay as they are", {"行政区域コード", "都道府県名称コード", "ID"},
         {"行政区域コ", "都道府県名", "ID"}},
        {"ten numbered names need two digits", {"A", "A", "A", "A", "A", "A", "A", "A", "A", "A", "A", "A"},
         {"A", "A_1", "A_2", "A_3", "A_4", "A_5", "A_6", "A_7", "A_8", "A_9", "A_10", "A_11"}},
    };
    for (const auto& c : cases) {
        std::vector<FieldDef> fields;
        for (const char* n : c.names) fields.push_back({text::toCp932(n), 'C', 4, 0});
        std::vector<std::string> stored;
        for (const std::string& n : dbfFieldNames(fields)) stored.push_back(text::fromCp932(n));
        EXPECT_EQ(stored, std::vector<std::string>(c.stored.begin(), c.stored.end())) << c.what;
    }
}

}  // namespace
