#include <gtest/gtest.h>

#include "platform/errors/RunTimeError.h"
#include "platform/text/Cp932.h"

using namespace velmora::text;

TEST(Cp932, RoundTripsJapaneseAndHalfWidthKana) {
    const std::string utf8 = "道路ﾒｯｾｰｼﾞ１０abc";
    std::string sjis = toCp932(utf8);
    EXPECT_EQ(sjis.substr(0, 4), "\x93\xb9\x98\x48");  // 道路
    EXPECT_EQ(static_cast<unsigned char>(sjis[4]), 0xd2);  // ﾒ is one byte
    EXPECT_EQ(fromCp932(sjis), utf8);
}

TEST(Cp932, RefusesTextWithoutShiftJisForm) {
    EXPECT_FALSE(canEncodeCp932("emoji \xF0\x9F\x98\x80"));
    EXPECT_TRUE(canEncodeCp932("日本"));
    EXPECT_THROW(toCp932("\xF0\x9F\x98\x80"), velmora::RunTimeError);
    // Characters that share a code with another one would come back as the other: a path holding one
    // would name another file once it has passed through CP932.
    for (const char* c : {"2006〜2008", "−5", "‖", "¢", "£", "¬", "—"}) EXPECT_FALSE(canEncodeCp932(c)) << c;
    for (const char* c : {"2006～2008", "－5", "∥", "￠", "￡", "￢", "―"}) EXPECT_TRUE(canEncodeCp932(c)) << c;
}

TEST(Cp932, DecodesBrokenBytesAsReplacement) {
    EXPECT_EQ(fromCp932("a\x81"), "a\xEF\xBF\xBD");
}
