#include <gtest/gtest.h>

#include "platform/text/Cp932.h"
#include "polygon/core/TextUtil.h"

using namespace ostrand;

TEST(PolygonRemoveExtension, Cases) {
    const char* cases[][2] = {
        {"C:\\out\\area.shp", "C:\\out\\area"},
        {"C:\\out\\area.b.shp", "C:\\out\\area.b"},
        {"C:\\out\\area", "C:\\out\\area"},
        {"C:\\out.old\\area", "C:\\out.old\\area"},
        {"area.shp", "area"},
        {"/tmp/out/area.shp", "/tmp/out/area"},
        {"/tmp/out.old/area", "/tmp/out.old/area"},
        {"/tmp/out/area.b.shp", "/tmp/out/area.b"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(remove_extension(c[0]), c[1]) << c[0];
}

TEST(PolygonFullwidthSpace, Cases) {
    const std::string cases[][2] = {
        {"", ""},
        {"\x81", "\x81"},
        {"\x81\x40\x81\x40", "    "},
        {"a\x81\x40z", "a  z"},
        // the scan does not track character boundaries: the trail byte 0x81 of one character and the
        // next byte 0x40 form a space too
        {"\x88\x81\x40", "\x88  "},
    };
    for (const auto& c : cases) {
        std::string s = c[0];
        replace_fullwidth_space(s);
        EXPECT_EQ(s, c[1]);
    }
}

TEST(PolygonTrim, Cases) {
    const std::string cases[][2] = {
        {"\x81\x40\x81\x40", ""},
        {" a b ", "a b"},
        {"\t\na\n", "a"},
        {"a\r", "a\r"},
        {"", ""},
        {"   ", ""},
    };
    for (const auto& c : cases) {
        std::string s = c[0];
        trim(s);
        EXPECT_EQ(s, c[1]) << c[0];
    }
}

TEST(PolygonTrimUtf8, BlanksAtTheEndsAsWholeCharacters) {
    const std::string ideographic = "\xE3\x80\x80";
    const std::string cases[][2] = {
        {"\xC4\x81@", "\xC4\x81@"},  // its bytes 0x81 0x40 are no blank in UTF-8
        {ideographic + " a b\t" + ideographic + "\n", "a b"},
        {"a" + ideographic + "b", "a" + ideographic + "b"},
        {ideographic + ideographic, ""},
        {"\xE3\x80", "\xE3\x80"},  // a cut-off character is no blank
        {"a\r", "a\r"},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string s = c[0];
        trim_utf8(s);
        EXPECT_EQ(s, c[1]) << c[0];
    }
    std::vector<std::string> out;
    split_utf8(" x\xC4\x81@ ,," + ideographic, ',', out);
    EXPECT_EQ(out, (std::vector<std::string>{"x\xC4\x81@", "", ""}));
}

TEST(PolygonSplit, Cases) {
    struct Case {
        std::string text;
        std::vector<std::string> pieces;
    } cases[] = {
        {"a,,b,", {"a", "", "b", ""}},
        {" one ", {"one"}},
        {"", {}},
        {"x, y ,z", {"x", "y", "z"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> out = {"stale"};
        split(c.text, ',', out);
        EXPECT_EQ(out, c.pieces) << c.text;
    }
}

TEST(PolygonTimeStamp, TwoDigitFieldsFromTheInstalledClock) {
    set_clock([] { return LocalTime{2005, 2, 1, 9, 5, 3}; });
    EXPECT_EQ(make_time_stamp("T:"), "T:2005/02/01 09:05:03\n");
    set_clock([] { return LocalTime{2005, 11, 15, 23, 59, 59}; });
    const std::string prefix = velmora::text::toCp932("開始時刻：");
    EXPECT_EQ(make_time_stamp(prefix), prefix + "2005/11/15 23:59:59\n");
    set_clock({});
    EXPECT_GE(local_now().year, 2020);
}

TEST(PolygonReadNumbers, AsTheCLibraryReadsThem) {
    auto i = [](const std::string& s) { return read_integer(s.data(), s.data() + s.size()); };
    auto d = [](const std::string& s) { return read_double(s.data(), s.data() + s.size()); };
    EXPECT_EQ(i("  -12x"), -12);
    EXPECT_EQ(i("+7"), 7);
    EXPECT_EQ(i("abc"), 0);
    EXPECT_EQ(i(""), 0);
    EXPECT_EQ(i("99999999999999999999999"), kIntegerLimit);
    EXPECT_EQ(i("-99999999999999999999999"), -kIntegerLimit);
    EXPECT_EQ(i("999999999999999999"), 999999999999999999LL);  // the largest value below the limit
    EXPECT_EQ(d(" 4860000"), 4860000.0);
    EXPECT_EQ(d("-1.5e1x"), -15.0);
    EXPECT_EQ(d("--5"), 0.0);
    EXPECT_EQ(d("    "), 0.0);
    EXPECT_EQ(read_integer_at("DA0000000123", 3, 10), 123);
    EXPECT_EQ(read_integer_at("abc", 3, 2), 0);  // starts exactly at the end: empty
    EXPECT_THROW(read_integer_at("abc", 4, 2), std::out_of_range);
}
