// The fixed-column cuts of the records shared by line and area-structure files.
#include <gtest/gtest.h>

#include "convert/line/LineRecords.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Cp932.h"

using namespace ModLine;
using velmora::text::toCp932;

namespace {

std::string find(std::span<const RecordColumn> cols, std::string_view line, std::string_view field) {
    for (const RecordColumn& c : cols)
        if (c.field == field) return std::string(CharColumns(line, c.start, c.width));
    ADD_FAILURE() << "no column " << field;
    return {};
}

}  // namespace

TEST(LineRecords, RecordKindIsColumnsOneToThreeWithoutBlanks) {
    struct Case { const char* line; const char* kind; } cases[] = {
        {"H  rest", "H"}, {" H ", "H"}, {"HX ", "HX"}, {"DS 123", "DS"}, {"", ""}, {"L", "L"}, {"h", "h"},
        {"N", "N"}, {"DPX", "DPX"},
    };
    for (const Case& c : cases) EXPECT_EQ(RecordKind(c.line), c.kind) << c.line;
}

TEST(LineRecords, HeaderKeyIsAnExactSubstringAnywhereInLineOne) {
    const std::string line = toCp932("H         N01-07L     2006   1     100 鉄道");
    EXPECT_TRUE(HasHeaderKey(line, "N01-07L"));
    EXPECT_TRUE(HasHeaderKey(line, toCp932("鉄道")));   // not only in the data-code columns
    EXPECT_FALSE(HasHeaderKey(line, "n01-07l"));       // letter case matters
    EXPECT_TRUE(HasHeaderKey(line, ""));               // the selected row's empty key takes every file
    EXPECT_FALSE(HasHeaderKey("H", "N01"));
    // The kind-name search: an empty key names no file.
    EXPECT_TRUE(KeyNamesFile(line, "N01-07L"));
    EXPECT_FALSE(KeyNamesFile(line, ""));
    EXPECT_FALSE(KeyNamesFile(line, "n01-07l"));
}

TEST(LineRecords, HeaderColumns) {
    const std::string line = "H  abcdefghijN01-07L   xx2006  12     345";
    const HeaderColumns h = CutHeader(line);
    EXPECT_EQ(h.text1, "H  ");
    EXPECT_EQ(h.text2, "abcdefghij");
    EXPECT_EQ(h.text3, "N01-07L   ");
    EXPECT_EQ(h.text4, "xx");
    EXPECT_EQ(h.text5, "2006");
    EXPECT_EQ(h.number, "  12");
    EXPECT_EQ(h.records, "     345");
}

TEST(LineRecords, CountSixTakesPlaceThreeAndPlaceSixKeepsItsValue) {
    const std::string line = "      10       2       2       0       3       5       7";
    std::array<std::int32_t, 7> places{0, 0, 0, 0, 0, -99, 0};
    ReadCounts(line, places);
    EXPECT_EQ(places, (std::array<std::int32_t, 7>{10, 2, 5, 0, 3, -99, 7}));
}

TEST(LineRecords, CountsThatAreNoNumbersAreRunTimeErrors) {
    std::array<std::int32_t, 7> places{};
    // Count 3 is converted although place 3 receives count 6.
    EXPECT_THROW(ReadCounts("      10       2     abc       0       3       5       7", places), velmora::RunTimeError);
    EXPECT_THROW(ReadCounts("      10", places), velmora::RunTimeError);  // the line ends after count 1
}

TEST(LineRecords, ContinuationLines) {
    struct Case { int n; int lines; } cases[] = {{0, 0}, {7, 2}, {5, 1}, {10, 2}, {11, 3}, {-3, 0}};
    for (const Case& c : cases) EXPECT_EQ(ContinuationLineCount(c.n), c.lines) << c.n;
}

TEST(LineRecords, NodeColumns) {
    //                  1  4     10    16      24      32 34        44 47 49    55
    const std::string line = "N  533945000012 5040000 1272000 1       123  2 0533946000013";
    ASSERT_EQ(line.size(), 60u);
    EXPECT_EQ(find(NodeColumns(), line, "レイヤコード"), "N  ");
    EXPECT_EQ(find(NodeColumns(), line, "メッシュコード"), "533945");
    EXPECT_EQ(find(NodeColumns(), line, "ノード一連番号"), "000012");
    EXPECT_EQ(find(NodeColumns(), line, "Ｘ座標"), " 5040000");
    EXPECT_EQ(find(NodeColumns(), line, "Ｙ座標"), " 1272000");
    EXPECT_EQ(find(NodeColumns(), line, "ノード台帳の有無"), " 1");
    EXPECT_EQ(find(NodeColumns(), line, "ノード属性番号"), "       123");
    EXPECT_EQ(find(NodeColumns(), line, "接続リンク数"), "  2");
    EXPECT_EQ(find(NodeColumns(), line, "図郭情報"), " 0");
    EXPECT_EQ(find(NodeColumns(), line, "対応点メッシュコード"), "533946");
    EXPECT_EQ(find(NodeColumns(), line, "対応点番号"), "000013");
    EXPECT_EQ(CharColumns(line, kNodeStartMeshColumn.start, kNodeStartMeshColumn.width), "533945");
}

TEST(LineRecords, LinkAndLineColumns) {
    const std::string link = "L  533945    12533945    13    12 1       555     7";
    ASSERT_EQ(link.size(), 51u);
    EXPECT_EQ(find(LinkColumns(), link, "リンク一連番号"), "    12");
    EXPECT_EQ(find(LinkColumns(), link, "リンク台帳の有無"), " 1");
    EXPECT_EQ(find(LinkColumns(), link, "リンク属性番号"), "       555");
    EXPECT_EQ(find(LinkColumns(), link, "リンク構成中間点数"), "     7");

    const std::string line = std::string("S  ") + "533945" + "    12" + "533946" + "     1" + "      42" + "12" +
                             "    200004" + "     3";
    ASSERT_EQ(line.size(), 53u);
    EXPECT_EQ(find(LineColumns(), line, "ライン一連番号"), "      42");
    EXPECT_EQ(find(LineColumns(), line, "ライン台帳の有無"), "12");
    EXPECT_EQ(find(LineColumns(), line, "ライン属性番号"), "    200004");
    EXPECT_EQ(find(LineColumns(), line, "ライン構成リンク数"), "     3");
}

TEST(LineRecords, VertexAndReferenceColumns) {
    const std::string v = " 5040000 1272000 5040010 1272010        ";
    EXPECT_EQ(CutVertex(v, 0).x, " 5040000");
    EXPECT_EQ(CutVertex(v, 1).y, " 1272010");
    EXPECT_EQ(CutVertex(v, 2).x, "        ");
    EXPECT_EQ(CutVertex(v, 3).x, "");  // past the end of the line

    const std::string r = "533945   -12 1533946    13 0";
    EXPECT_EQ(CutReference(r, 0).mesh, "533945");
    EXPECT_EQ(CutReference(r, 0).number, "   -12");
    EXPECT_EQ(CutReference(r, 0).flag, " 1");
    EXPECT_EQ(CutReference(r, 1).number, "    13");
    EXPECT_EQ(CutReference(r, 2).mesh, "");
}

TEST(LineRecords, CharacterColumnsCountADoubleByteCharacterOnce) {
    // The station name stands at characters 17-44, whatever its bytes.
    const std::string dp = toCp932("DP     900001  1東京駅") + std::string(25, ' ');
    EXPECT_EQ(CharColumns(dp, kStationNameColumn.start, kStationNameColumn.width),
              toCp932("東京駅") + std::string(25, ' '));
    // After a double-byte character, byte and character positions part.
    const std::string s = toCp932("あいう") + "abc";
    EXPECT_EQ(CharColumns(s, 4, 2), "ab");
}
