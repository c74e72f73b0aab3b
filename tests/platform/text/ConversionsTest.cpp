#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <optional>
#include <vector>

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

TEST(Conversions, AppendNumberAddsTheFormattedTextWithoutDisturbingWhatStands) {
    std::string line = "LINKDATA,";
    for (double v : {139.004472, -0.5, 1e-300, 1e300, 36.0, -123456.789012345}) {
        const std::size_t before = line.size();
        appendNumber(line, v);
        EXPECT_EQ(line.substr(before), formatNumber(v)) << v;
        line += ',';
    }
    EXPECT_EQ(line.substr(0, 9), "LINKDATA,");
}

// Whole millionths written without the double give the text of the double's own digits, over the whole
// range the writers rely on (below 10^15) and at every number of decimals.
TEST(Conversions, MillionthsWriteTheTextOfTheirQuotient) {
    std::vector<std::int64_t> values = {0, 1, -1, 10, 500000, -500000, 1000000, -1000000, 1000001, 120000,
                                        999999999999999, -999999999999999, 100000000000000, 123456789012345};
    std::mt19937_64 random(7);
    for (int i = 0; i < 200000; ++i) {
        const std::int64_t limit = static_cast<std::int64_t>(std::pow(10.0, static_cast<double>(i % 16)));
        const auto v = static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(limit));
        values.push_back(i % 2 ? v : -v);
        values.push_back((v / 1000) * 1000);  // trailing zeros among the decimals
    }
    std::string fast;
    for (std::int64_t v : values) {
        fast = "x";
        appendMillionths(fast, v);
        ASSERT_EQ(fast, "x" + formatNumber(static_cast<double>(v) / 1e6)) << v;
    }
}

TEST(Conversions, PlainWholeNumbersAreReadStraightAndAgreeWithTheGeneralReading) {
    const std::pair<const char*, std::optional<std::int64_t>> cases[] = {
        {"12", 12},          {"  5040000 ", 5040000},  {"-7", -7},         {"+7", 7},
        {"007", 7},          {"999999999999999", 999999999999999},       {"1234567890123456", std::nullopt},
        {"-0", std::nullopt}, {"1.5", std::nullopt},   {"1e3", std::nullopt}, {"", std::nullopt},
        {"  ", std::nullopt}, {"1 2", std::nullopt},   {"-", std::nullopt}, {"\t3\t", 3},
        // Fewer than eight digits at the end of a field of eight bytes or more, and in shorter fields.
        {"       1", 1},      {"  -12345", -12345},    {"-      5", std::nullopt}, {"  12 345", std::nullopt},
        {"     1", 1},        {"+0000001", 1},          {"  0x1234", std::nullopt}, {"   1234567", 1234567},
    };
    for (auto [text, expected] : cases) {
        EXPECT_EQ(plainWholeNumber(text), expected) << text;
        if (expected) {
            EXPECT_EQ(toDouble(text), static_cast<double>(*expected)) << text;
        }
    }
    // Read eight digits at a time: every mix of digits, blanks, signs and other bytes reads as a plain
    // digit-by-digit reading does.
    auto reference = [](std::string_view t) -> std::optional<std::int64_t> {
        while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
        while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
        const bool negative = !t.empty() && t.front() == '-';
        if (!t.empty() && (t.front() == '-' || t.front() == '+')) t.remove_prefix(1);
        if (t.empty() || t.size() > 15) return std::nullopt;
        std::int64_t v = 0;
        for (char c : t) {
            if (c < '0' || c > '9') return std::nullopt;
            v = v * 10 + (c - '0');
        }
        if (negative && v == 0) return std::nullopt;
        return negative ? -v : v;
    };
    const char alphabet[] = "0123456789012345678901234567890123456789 -+./:9\x80\xff";
    std::uint32_t seed = 12345;
    for (int n = 0; n < 200000; ++n) {
        std::string text;
        seed = seed * 1103515245 + 12345;
        const std::size_t length = (seed >> 16) % 19;
        for (std::size_t i = 0; i < length; ++i) {
            seed = seed * 1103515245 + 12345;
            text += alphabet[(seed >> 16) % (sizeof alphabet - 1)];
        }
        ASSERT_EQ(plainWholeNumber(text), reference(text)) << text;
    }
    // What the reading leaves to the general path still reads as before.
    EXPECT_TRUE(std::signbit(toDouble("-0")));
    EXPECT_EQ(toDouble("1234567890123456"), 1234567890123456.0);
    EXPECT_EQ(toDouble(" 1.5e2 "), 150.0);
    // The reading in one pass: the value, or false leaving the value, or Overflow beyond the double range.
    struct Reading {
        std::string text;
        std::optional<double> value;
        bool overflow = false;
    };
    const Reading readings[] = {
        {"12", 12.0},     {" -3.25 ", -3.25}, {"1D3", 1000.0},  {"+.5", 0.5},      {"-.5", -0.5},
        {"7.", 7.0},      {"-0", -0.0},       {"0." + std::string(30, '0') + "15", 1.5e-31},
        {"1e", {}},       {"abc", {}},        {"", {}},         {"1.2.3", {}},     {"- 1", {}},
        {"1e400", {}, true}, {std::string(400, '9'), {}, true},
        {"000123", 123.0}, {" -999999999999999 ", -999999999999999.0}, {"1234567890123456", 1234567890123456.0},
    };
    for (const Reading& r : readings) {
        double v = 42;
        if (r.overflow) {
            EXPECT_THROW(readNumber(r.text, v), RunTimeError) << r.text;
            EXPECT_EQ(v, 42);
            continue;
        }
        EXPECT_EQ(readNumber(r.text, v), r.value.has_value()) << r.text;
        EXPECT_EQ(isNumeric(r.text), r.value.has_value()) << r.text;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(v), std::bit_cast<std::uint64_t>(r.value.value_or(42))) << r.text;
    }
    // Whole numbers read without from_chars give its value to the bit, up to 15 digits and past them.
    for (std::int64_t n = 1; n < 100000000000000000; n = n * 7 + 3) {
        for (const std::string& text : {std::to_string(n), "-" + std::to_string(n)}) {
            double quick = 0, general = 0;
            ASSERT_TRUE(readNumber(text, quick)) << text;
            std::from_chars(text.data(), text.data() + text.size(), general);
            EXPECT_EQ(std::bit_cast<std::uint64_t>(quick), std::bit_cast<std::uint64_t>(general)) << text;
        }
    }
    // So do plain decimals, on either side of 15 digits and with every number of decimals: the writers'
    // coordinates, and digits that round.
    std::mt19937_64 random(15);
    for (int n = 0; n < 200000; ++n) {
        const int digits = 1 + static_cast<int>(random() % 18);
        std::string text = random() % 2 ? "-" : "";
        const int point = static_cast<int>(random() % static_cast<std::uint64_t>(digits + 1));
        for (int d = 0; d < digits; ++d) {
            if (d == point) text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        if (point == digits) text += n % 2 ? "." : "";
        double quick = 0, general = 0;
        ASSERT_TRUE(readNumber(text, quick)) << text;
        std::from_chars(text.data(), text.data() + text.size(), general);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(quick), std::bit_cast<std::uint64_t>(general)) << text;
    }
    for (const char* text : {"-0.0", "0.000", "-.0", "139.123456", "0.1", "-0.3", "999999999999999.9"}) {
        double quick = 0, general = 0;
        ASSERT_TRUE(readNumber(text, quick)) << text;
        std::from_chars(text, text + std::strlen(text), general);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(quick), std::bit_cast<std::uint64_t>(general)) << text;
    }
}

// The number's 15 significant digits laid out plainly, the slow way, as the reference for the quick one.
std::string referenceNumber(double v) {
    if (v == 0 || !std::isfinite(v)) return "0";
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    std::string sci(buf, r.ptr);
    const bool negative = sci[0] == '-';
    if (negative) sci.erase(0, 1);
    const std::size_t e = sci.find('e');
    const int exponent = std::stoi(sci.substr(e + 1));
    std::string digits;
    for (char c : sci.substr(0, e))
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int pointAfter = exponent + 1;
    std::string out = negative ? "-" : "";
    if (pointAfter <= 0) out += "0." + std::string(static_cast<std::size_t>(-pointAfter), '0') + digits;
    else if (static_cast<std::size_t>(pointAfter) >= digits.size())
        out += digits + std::string(static_cast<std::size_t>(pointAfter) - digits.size(), '0');
    else out += digits.substr(0, static_cast<std::size_t>(pointAfter)) + "." + digits.substr(static_cast<std::size_t>(pointAfter));
    return out;
}

TEST(Conversions, FormattedNumbersAgreeWithFifteenDigitRoundingAcrossMagnitudes) {
    std::mt19937_64 random(22);
    std::uniform_int_distribution<std::int64_t> units(-6480000, 6480000);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int i = 0; i < 200000; ++i) {
        // Degrees of 1/36000-degree units, as the writers make them, and doubles of every magnitude.
        const double degrees = static_cast<double>(units(random) * 250 / 9) / 1e6;
        const double any = (unit(random) - 0.5) * std::pow(10.0, static_cast<int>(unit(random) * 40) - 20);
        const double bits = std::bit_cast<double>(random() & 0x7fefffffffffffffULL);
        for (double v : {degrees, any, bits, 0.1 * i, 1.0 / (i + 1)}) ASSERT_EQ(formatNumber(v), referenceNumber(v)) << v;
    }
}
