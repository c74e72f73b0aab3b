// The line job's header reader: kind test, header-key test, code-13 log lines, header fields and counts.
#include "convert/line/LineHeader.h"
#include "tests/convert/line/LineJobFixture.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

const std::string kCounts = "      10       2       2       0       3       5       7";

class LineHeaderTest : public LineJobFixture {
protected:
    // Opens the bytes as the input file and runs the header reader.
    bool readHeader(const std::string& bytes, std::int16_t& skip) {
        conversionState().InFileNo.open(writeFile("in.txt", bytes));
        return ModLine::SetLineTextToTbl_Hed(skip);
    }
};

TEST_F(LineHeaderTest, AcceptedHeaderFillsHedFieldsAndCounts) {
    std::int16_t skip = 9;
    ASSERT_TRUE(readHeader(crlf({"H  abcdefghijN03-L       2006  12     345", kCounts}), skip));
    EXPECT_EQ(skip, 0);
    const ConversionState& s = conversionState();
    EXPECT_EQ(s.HedFields.Text, (std::array<std::string, 5>{"H  ", "abcdefghij", "N03-L     ", "  ", "2006"}));
    EXPECT_EQ(s.HedFields.Number, 12);
    EXPECT_EQ(s.HedCounts, (std::array<std::int32_t, 7>{10, 2, 5, 0, 3, 0, 7}));
    EXPECT_TRUE(logLines().empty());
}

TEST_F(LineHeaderTest, HeaderKeyAnywhereInLineOneAndTheSelectedRowsEmptyKeyTakesEveryHeader) {
    std::int16_t skip = 0;
    EXPECT_TRUE(readHeader(crlf({headerLine(" H", "xx", "   1", "      12 N03-L"), kCounts}), skip));
    EXPECT_EQ(skip, 0);
    conversionState().LineLayers[kOrdinaryRow].HeaderKey.clear();
    EXPECT_TRUE(readHeader(crlf({headerLine("H", "N02-RW"), kCounts}), skip));
    EXPECT_EQ(skip, 0);
    EXPECT_EQ(conversionState().HedCounts, (std::array<std::int32_t, 7>{10, 2, 5, 0, 3, 0, 7}));
    EXPECT_TRUE(logLines().empty());
}

TEST_F(LineHeaderTest, TheKindNameSearchPassesOverRowsWithoutAKey) {
    // Row 0 comes first in the search: without a key it must not claim the foreign file.
    conversionState().LineLayers[0].HeaderKey.clear();
    std::int16_t skip = 0;
    EXPECT_TRUE(readHeader(crlf({headerLine("H", "A99")}), skip));
    EXPECT_EQ(skip, 1);
    EXPECT_EQ(logLines().back(), "ファイルの種別が「海岸線」ではありません。 ファイル種別：不明");
}

TEST_F(LineHeaderTest, FileOfAnotherItemIsLoggedWithCodeThirteenAndSkipped) {
    struct Case { std::string line1; std::string kind; } cases[] = {
        {headerLine("H", "N02-RW"), "ファイル種別：鉄道"},
        {headerLine("H", "n03-l"), "ファイル種別：不明"},  // letter case matters
        {headerLine("H", "A99"), "ファイル種別：不明"},
        {headerLine("H", "KEY7X"), "ファイル種別：行7"},
    };
    for (const Case& c : cases) {
        conversionState().HedCounts = {1, 1, 1, 1, 1, 1, 1};
        std::int16_t skip = 0;
        // The counts line is never read: a file that ends after line 1 is still skipped cleanly.
        EXPECT_TRUE(readHeader(crlf({c.line1}), skip)) << c.line1;
        EXPECT_EQ(skip, 1);
        EXPECT_EQ(conversionState().HedCounts, (std::array<std::int32_t, 7>{1, 1, 1, 1, 1, 1, 1}));
        const auto lines = logLines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "ファイルの種別が「海岸線」ではありません。 " + c.kind);
    }
}

TEST_F(LineHeaderTest, LineOneThatIsNoHeaderShowsTheFormatMessage) {
    for (const std::string& line1 : {headerLine("HX", "N03-L"), std::string("N  533945"), std::string()}) {
        std::int16_t skip = 0;
        ui_.answer(ui::Answer::Ok);
        EXPECT_FALSE(readHeader(crlf({line1, kCounts}), skip)) << line1;
        ASSERT_FALSE(ui_.boxes().empty());
        const ui::BoxRecord& box = ui_.boxes().back();
        EXPECT_EQ(box.text, "ファイルの形式が正しくありません。");
        EXPECT_EQ(box.title, "ｴﾗｰﾒｯｾｰｼﾞ");
        EXPECT_EQ(box.icon, ui::Icon::Critical);
        EXPECT_FALSE(box.systemModal);
    }
}

TEST_F(LineHeaderTest, BrokenHeadersEndInTheRunTimeErrorBox) {
    struct Case { const char* what; std::string bytes; std::string box; } cases[] = {
        {"empty file", "", "入力ファイル " + program_.file("in.txt") + " にデータがありません。"},
        {"header shorter than 33 columns", crlf({headerLine("H", "N03-L", "", ""), kCounts}), "13 型が一致しません。"},
        {"blanks in columns 30-33", crlf({headerLine("H", "N03-L", "    "), kCounts}), "13 型が一致しません。"},
        {"file ends after line 1", crlf({headerLine("H", "N03-L")}), "62 ファイルの終わりを越えて読み込もうとしました。"},
        {"count that is no number", crlf({headerLine("H", "N03-L"), "      10       x"}), "13 型が一致しません。"},
    };
    for (const Case& c : cases) {
        ui_.clearRecords();
        ui_.answer(ui::Answer::Ok);
        std::int16_t skip = 0;
        EXPECT_FALSE(readHeader(c.bytes, skip)) << c.what;
        ASSERT_EQ(ui_.boxes().size(), 1u) << c.what;
        EXPECT_EQ(ui_.boxes()[0].title, "Error: ModLine (ModLine SetLineTextToTbl_Hed)");
        EXPECT_EQ(ui_.boxes()[0].text, c.box) << c.what;
        EXPECT_TRUE(ui_.boxes()[0].systemModal);
    }
}

}  // namespace
