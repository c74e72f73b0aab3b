#include <gtest/gtest.h>

#include "convert/core/ConversionRoutines.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Cp932.h"

namespace velmora::modCommon {
namespace {

struct Cut {
    const char* record;  // UTF-8, cut as CP932
    long start, length;
    const char* expected;
};

TEST(MidByteSjis, CutsByShiftJisBytes) {
    const Cut cases[] = {
        {"日本a", 3, 2, "本"},            // second double-byte character
        {"日本a", 5, 3, "a"},             // fewer bytes left than asked for
        {"日本a", 9, 1, ""},              // start past the end
        {"日本a", 1, 0, ""},
        {"日本a", 1, 32767, "日本a"},
        {"ｱｲｳ12", 2, 3, "ｲｳ1"},          // half-width kana are single bytes
        {"L001道路  ﾄﾞｳﾛ12", 5, 4, "道路"},
        {"L001道路  ﾄﾞｳﾛ12", 9, 2, "  "},
        {"L001道路  ﾄﾞｳﾛ12", 11, 4, "ﾄﾞｳﾛ"},
        // A double-byte character split by the cut is left out, at either end.
        {"日本a", 2, 2, ""},
        {"日本a", 1, 3, "日"},
        {"日本a", 2, 4, "本a"},
        {"ソa", 2, 2, "a"},               // ソ is 83 5C: its trail byte is not a backslash of its own
        {"表示", 2, 1, ""},
    };
    for (const Cut& c : cases) {
        const std::string record = text::toCp932(c.record);
        const std::string_view cut = MidByteSjis(record, c.start, c.length);
        EXPECT_EQ(text::fromCp932(cut), c.expected) << c.record << " " << c.start << " " << c.length;
        if (!cut.empty()) {
            EXPECT_TRUE(cut.data() >= record.data() && cut.data() + cut.size() <= record.data() + record.size());
        }
    }
}

TEST(MidByteSjis, StartBelowOneOrNegativeLengthIsARunTimeError) {
    const std::string record = text::toCp932("日本a");
    for (const auto& [start, length] : {std::pair{0L, 1L}, {-1L, 1L}, {1L, -1L}}) {
        try {
            MidByteSjis(record, start, length);
            ADD_FAILURE() << start << " " << length << " was accepted";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), err::InvalidProcedureCall);
        }
    }
}

}  // namespace
}  // namespace velmora::modCommon
