#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "convert/core/ConversionRoutines.h"
#include "platform/text/Conversions.h"
#include "platform/ui/TestUi.h"

namespace velmora::ModPolygon {
namespace {

struct Xy {
    const char* text;
    double degrees;
};

// Expected values are the six-decimal results written as literals: the routine must give exactly the
// double that the decimal text reads as.
TEST(XYtoData, RoundsTheQuotientToSixDecimalsHalfAwayFromZero) {
    const Xy cases[] = {
        {"36000", 1},
        {"-36000", -1},
        {"1", 0.000028},
        {"-1", -0.000028},
        {"12", 0.000333},
        {"0", 0},
        {"9999999", 277.77775},
        {"4860000", 135},
        {"1234567", 34.293528},
        {"5039999", 139.999972},
        {"-5039999", -139.999972},
        {" 12 ", 0.000333},
        {"+36000", 1},
        {"1.2E3", 0.033333},
        {"1D3", 0.027778},
        {"0.018", 0.000001},    // exactly halfway: away from zero
        {"-0.018", -0.000001},
        {"0.0179", 0},
        {"123456.5", 3.429347},
    };
    ui::TestUi ui;
    for (const Xy& c : cases) {
        double fromText = -999;
        EXPECT_TRUE(XYtoData(c.text, fromText)) << c.text;
        EXPECT_EQ(fromText, c.degrees) << c.text;
    }
}

// A number with a fraction is rounded as the decimal it is written as (0.018 is exactly halfway).
TEST(XYtoData, NumberGivesTheSameAsItsText) {
    const std::pair<double, const char*> cases[] = {
        {36000, "36000"}, {-36000, "-36000"}, {1, "1"},         {12, "12"},        {9999999, "9999999"},
        {1234567, "1234567"}, {-5039999, "-5039999"}, {0.018, "0.018"}, {-0.018, "-0.018"}, {123456.5, "123456.5"},
    };
    ui::TestUi ui;
    for (const auto& [number, text] : cases) {
        double fromNumber = -999, fromText = -998;
        EXPECT_TRUE(XYtoData(number, fromNumber));
        EXPECT_TRUE(XYtoData(text, fromText));
        EXPECT_EQ(fromNumber, fromText) << text;
    }
}

// Writers of stored coordinates skip the double: the millionths and their text must be those of XYtoData's
// degrees as appendNumber writes them, for every Long value (edges, and a sweep of pseudo-random values).
TEST(XYtoData, MillionthsOfStoredCoordinatesWriteTheDegreesText) {
    std::vector<std::int64_t> units = {0, 1, -1, 4, 5, -5, 17, 18, -18, 36000, -36000, 4860000, 5039999, -5039999,
                                       2147483647, -2147483647 - 1, 2147483646, -2147483647};
    std::mt19937_64 random(20261224);
    for (int i = 0; i < 300000; ++i) {
        const auto u = static_cast<std::int32_t>(random());
        units.push_back(u);
        units.push_back(u % 10000000);  // the range of real coordinates
    }
    ui::TestUi ui;
    std::string fast, slow;
    for (std::int64_t u : units) {
        double degrees = 0;
        ASSERT_TRUE(XYtoData(static_cast<double>(u), degrees));
        const std::int64_t millionths = XYtoMillionths(u);
        ASSERT_EQ(static_cast<double>(millionths) / 1e6, degrees) << u;
        fast.clear();
        slow.clear();
        text::appendMillionths(fast, millionths);
        text::appendNumber(slow, degrees);
        ASSERT_EQ(fast, slow) << u;
    }
}

TEST(XYtoData, TextThatIsNoNumberShowsTheErrorBoxAndKeepsTheValue) {
    for (const char* bad : {"", " ", "abc", "12a", "1,000", "--1"}) {
        SCOPED_TRACE(bad);
        ui::TestUi ui;
        ui.answer(ui::Answer::Ok);
        double degrees = 42;
        EXPECT_FALSE(XYtoData(bad, degrees));
        EXPECT_EQ(degrees, 42);
        ASSERT_EQ(ui.boxes().size(), 1u);
        EXPECT_EQ(ui.boxes()[0].text, "13 型が一致しません。");
        EXPECT_EQ(ui.boxes()[0].title, "Error: ModPolygon (XYtoData)");
        EXPECT_EQ(ui.boxes()[0].icon, ui::Icon::Critical);
        EXPECT_TRUE(ui.boxes()[0].systemModal);
    }
}

}  // namespace
}  // namespace velmora::ModPolygon
