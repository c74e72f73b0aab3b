// Shift-JIS files are read, UTF-8 files refused, though the two codings overlap: a line that reads both
// ways takes the coding its file shows.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/errors/RunTimeError.h"
#include "platform/text/LineReader.h"
#include "platform/text/TextCoding.h"

using namespace velmora::text;
namespace fs = std::filesystem;

namespace {

// Names of people and places whose Shift-JIS bytes are also valid UTF-8.
const char* const kNamesThatAreUtf8Too[] = {
    "\xED\x95\x8E\x52",  // 﨑山 (U+D54E and "R" as UTF-8)
    "\xED\x9E\x8E\x52",  // 德山
    "\xED\x81\x93\x63",  // 增田
    "\xEA\xA0\x93\x63",  // 槇田 (U+A813)
    "\xE7\xB2\x93\x63",  // 邊田 (U+7C93, an ideograph that Shift-JIS lacks)
};
// Shift-JIS 縺ゅ＞, whose bytes are あい in UTF-8: a line of it alone cannot tell.
const std::string kSjisReadingAsUtf8Kana = "\xE3\x81\x82\xE3\x81\x84";
const std::string kSjisTokyo = "\x93\x8C\x8B\x9E";         // 東京 in Shift-JIS: no UTF-8
const std::string kUtf8Tokyo = "\xE6\x9D\xB1\xE4\xBA\xAC";  // 東京 in UTF-8: CP932 pairs and kana too
const std::string kUtf8A = "\xE3\x81\x82";                  // あ in UTF-8: its last byte a lone lead byte

TEST(LineCoding, TellsEachCodingOnlyWhereALineReadsOneWay) {
    struct Case {
        std::string bytes;
        LineCoding coding;
    };
    std::vector<Case> cases = {
        {"P  533945 5000000 1300000", LineCoding::Plain},
        {"\xC3\xB1 \xB1\xB2\xB3", LineCoding::ShiftJis},  // ﾃｱ ｱｲｳ: the kana pair reads as ñ, the rest not at all
        {"\xC3\xB1", LineCoding::Plain},                  // ﾃｱ alone tells nothing
        {kSjisTokyo + " \xB1\xB2\xB3", LineCoding::ShiftJis},
        {kSjisReadingAsUtf8Kana + " 1234", LineCoding::Either},
        {kUtf8Tokyo, LineCoding::Either},
        {kUtf8A + " 1", LineCoding::Utf8},
        {"\xEF\xBB\xBFH  W07", LineCoding::Utf8},  // the UTF-8 byte order mark
        {"abc\x80xyz", LineCoding::NotCp932},
        {"abc\x93", LineCoding::NotCp932},  // a lead byte alone
        {"\x93\x20", LineCoding::NotCp932},  // a trail byte below 0x40
        {"\xFD\x40", LineCoding::NotCp932},
    };
    for (const char* name : kNamesThatAreUtf8Too) cases.push_back({std::string("T  ") + name + "  1200", LineCoding::ShiftJis});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(lineCoding(c.bytes), c.coding);
        if (c.coding != LineCoding::Utf8 && c.coding != LineCoding::NotCp932) EXPECT_TRUE(isCp932Text(c.bytes));
    }
}

class FileCoding : public ::testing::Test {
protected:
    ~FileCoding() override { fs::remove(path_); }

    // The lines read, or the refusal's text.
    std::string read(const std::vector<std::string>& lines) {
        {
            std::ofstream out(path_, std::ios::binary | std::ios::trunc);
            for (const std::string& l : lines) out << l << "\r\n";
        }
        std::string got;
        try {
            LineReader r(path_);
            for (std::string line; r.next(line);) got += line + "|";
        } catch (const velmora::RunTimeError& e) {
            return e.description();
        }
        return got;
    }
    std::string refusedAsUtf8(int line) const {
        return "入力ファイル " + path_ + " の " + std::to_string(line) +
               "行目はUTF-8の文字で書かれています。Shift-JIS（CP932）のファイルを指定してください。";
    }

    const std::string path_ = (fs::temp_directory_path() / ("velmora-coding-" + std::to_string(::getpid()))).string();
};

TEST_F(FileCoding, AShiftJisFileWhoseOnlyDoubleByteTextIsANameThatIsUtf8TooIsRead) {
    for (const char* name : kNamesThatAreUtf8Too) {
        SCOPED_TRACE(name);
        const std::string record = std::string("T  ") + name + "  1200";
        EXPECT_EQ(read({"H  W07", record, "T  x  1"}), "H  W07|" + record + "|T  x  1|");
    }
}

TEST_F(FileCoding, ALineThatReadsEitherWayIsShiftJisWhenAnyLineOfItsFileTellsShiftJis) {
    const std::string either = "T  " + kSjisReadingAsUtf8Kana;
    // The telling line after it, or before it.
    EXPECT_EQ(read({"H", either, "T  " + kSjisTokyo}), "H|" + either + "|T  " + kSjisTokyo + "|");
    EXPECT_EQ(read({"T  " + kSjisTokyo, either, either}), "T  " + kSjisTokyo + "|" + either + "|" + either + "|");
}

TEST_F(FileCoding, AFileWhoseDoubleByteTextIsUtf8ThroughoutIsRefusedAtItsFirstLineOfIt) {
    EXPECT_EQ(read({"H  W07", "T  " + kUtf8Tokyo, "T  " + kSjisReadingAsUtf8Kana}), refusedAsUtf8(2));
    // A later line that reads only as UTF-8 tells the file's coding for the earlier one.
    EXPECT_EQ(read({"H", "T  " + kUtf8Tokyo, "T", "T  " + kUtf8A + " 1", "T  " + kSjisTokyo}), refusedAsUtf8(2));
    EXPECT_EQ(read({"\xEF\xBB\xBFH  W07", "T  1"}), refusedAsUtf8(1));
    // A Shift-JIS file is still refused at a line that only UTF-8 reads.
    EXPECT_EQ(read({"T  " + kSjisTokyo, "T  " + kUtf8A + " 1"}), refusedAsUtf8(2));
}

}  // namespace
