#include <gtest/gtest.h>

#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"

using namespace velmora::text;
using velmora::RunTimeError;

TEST(Conversions, IsNumericTable) {
    const std::pair<const char*, bool> cases[] = {
        {"12", true},   {" 12 ", true}, {"-1", true},   {"+3.5", true}, {".5", true}, {"5.", true},
        {"1E3", true},  {"1d-2", true}, {"", false},    {"  ", false},  {"1a", false}, {"--1", false},
        {"1.2.3", false}, {"E3", false}, {"1E", false},
    };
    for (auto [text, expected] : cases) EXPECT_EQ(isNumeric(text), expected) << text;
}

TEST(Conversions, WholeNumbersRoundHalfToEvenWithRangeErrors) {
    EXPECT_EQ(cInt(2.5), 2);
    EXPECT_EQ(cInt(3.5), 4);
    EXPECT_EQ(cInt(-2.5), -2);
    EXPECT_EQ(cInt(std::string_view("12.5")), 12);
    EXPECT_EQ(cInt(32767.4), 32767);
    EXPECT_EQ(cLng(std::string_view(" 2147483647 ")), 2147483647);
    try {
        cInt(32767.5);
        FAIL();
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    EXPECT_THROW(cLng(2147483648.0), RunTimeError);
    try {
        cInt(std::string_view(""));
        FAIL();
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 13);
    }
}

TEST(Conversions, LeadingNumberSkipsBlanksAnywhereAndStopsAtTheFirstOtherCharacter) {
    const std::pair<const char*, long long> cases[] = {
        {"     0", 0}, {"     7", 7}, {"      ", 0}, {"abc", 0},      {"  6x  ", 6},   {"   -3", -3},
        {"", 0},       {"1 2", 12},   {" 3 0 0 ", 300}, {"- 4", -4}, {"12.9", 12},  {"  1200  ", 1200},
        {"-2147483648", -2147483648LL},
    };
    for (auto [text, n] : cases) EXPECT_EQ(leadingNumber(text), n) << text;
    EXPECT_THROW(leadingNumber("2147483648"), RunTimeError);
    EXPECT_THROW(leadingNumber("99999999999"), RunTimeError);
}

TEST(Conversions, BooleanWordsAndNumbers) {
    EXPECT_TRUE(cBool("True"));
    EXPECT_TRUE(cBool("TRUE"));
    EXPECT_FALSE(cBool("false"));
    EXPECT_TRUE(cBool("-1"));
    EXPECT_FALSE(cBool("0"));
    EXPECT_THROW(cBool("yes"), RunTimeError);
}

TEST(Conversions, FormatNumberIsPlainDecimal) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"}, {1, "1"}, {-1, "-1"}, {0.000028, "0.000028"}, {135.5, "135.5"},
        {277.77775, "277.77775"}, {1e20, "100000000000000000000"}, {1e-7, "0.0000001"},
        {0.1 + 0.2, "0.3"}, {123456789012345678.0, "123456789012346000"},
    };
    for (auto [v, expected] : cases) EXPECT_EQ(formatNumber(v), expected) << v;
}
