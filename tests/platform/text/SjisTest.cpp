#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/errors/RunTimeError.h"
#include "platform/text/Cp932.h"
#include "platform/text/Sjis.h"

using namespace velmora::text;

namespace {
struct ByteCut {
    const char* utf8;
    long start, length;
    const char* expected;
};
}  // namespace

TEST(Sjis, ByteCutTable) {
    const ByteCut cases[] = {
        {"日本a", 3, 2, "本"},     // second double-byte character
        {"日本a", 5, 3, "a"},      // runs out of bytes
        {"日本a", 9, 1, ""},       // past the end
        {"日本a", 1, 0, ""},       // zero width
        {"日本a", 2, 2, ""},       // trail byte at the start and lead byte at the end: both halves dropped
        {"日本a", 1, 3, "日"},     // split second character dropped
        {"ｱｲｳ12", 2, 3, "ｲｳ1"},  // half-width kana are single bytes
    };
    for (const auto& c : cases) {
        std::string s = toCp932(c.utf8);
        EXPECT_EQ(fromCp932(std::string(sjisByteCut(s, c.start, c.length))), c.expected)
            << c.utf8 << " " << c.start << " " << c.length;
    }
    EXPECT_THROW(sjisByteCut("abc", 0, 1), velmora::RunTimeError);
    EXPECT_THROW(sjisByteCut("abc", 1, -1), velmora::RunTimeError);
}

// Lines of single bytes are cut as bytes after a test of eight bytes at a time: a double-byte character
// anywhere before a cut's end, in or after any word of eight, must still count as one character.
TEST(Sjis, CharCutsAgreeWithAWalkOfCharactersWhereverADoubleByteCharacterStands) {
    auto walked = [](const std::vector<std::string>& chars, long start, long length) {
        std::string out;
        for (long c = start - 1; c < start - 1 + length && c < static_cast<long>(chars.size()); ++c)
            out += chars[static_cast<std::size_t>(c)];
        return out;
    };
    for (std::size_t at = 0; at <= 20; ++at) {
        std::vector<std::string> chars;
        for (std::size_t i = 0; i < 24; ++i) chars.push_back(i == at ? toCp932("道") : std::string(1, char('a' + i)));
        std::string line;
        for (const std::string& c : chars) line += c;
        for (long start = 1; start <= 26; ++start)
            for (long length = 0; length <= 12; ++length)
                ASSERT_EQ(std::string(sjisCharCut(line, start, length)), walked(chars, start, length))
                    << at << " " << start << " " << length;
    }
}

TEST(Sjis, CharCutCountAndFind) {
    std::string s = toCp932("H道路ｶﾅ,x");
    EXPECT_EQ(sjisCharCount(s), 7u);
    EXPECT_EQ(fromCp932(std::string(sjisCharCut(s, 2, 2))), "道路");
    EXPECT_EQ(fromCp932(std::string(sjisCharCut(s, 4))), "ｶﾅ,x");
    EXPECT_EQ(sjisCharCut(s, 20, 1), "");
    // "\x93\xb9\x98\x48" holds the byte 'H' (0x48) as a trail byte: it is not a character "H".
    std::string road = toCp932("道路");
    EXPECT_FALSE(sjisContains(road, "H"));
    EXPECT_TRUE(sjisContains(s, "H"));
    EXPECT_EQ(sjisFind(s, ","), 7u);
}
