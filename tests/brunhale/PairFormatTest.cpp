// Splitting lines of the pair and reading coordinate values.
#include <gtest/gtest.h>

#include "brunhale/PairFormat.h"

using namespace velmora::brunhale;

TEST(PairFormat, KeyAndValues) {
    KeyLine k = splitKey("DBFITEM,1,,abc,");
    EXPECT_EQ(k.key, "DBFITEM");
    EXPECT_TRUE(k.hasComma);
    std::vector<std::string_view> v;
    splitValues(k.rest, v);
    EXPECT_EQ(v, (std::vector<std::string_view>{"1", "", "abc", ""}));

    splitValues("", v);
    EXPECT_EQ(v.size(), 1u) << "an empty value list is one empty value";

    KeyLine bare = splitKey("DBFITEM");
    EXPECT_EQ(bare.key, "DBFITEM");
    EXPECT_FALSE(bare.hasComma);
}

TEST(PairFormat, CoordinateValues) {
    struct {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"139.75", true, 139.75},
        {"35", true, 35},
        {" 139.5 ", true, 139.5},
        {"\"35.25\"", true, 35.25},
        {" \" 35.25 \" ", true, 35.25},
        {"-0.5", true, -0.5},
        {"", false, 0},
        {"\"\"", false, 0},
        {"abc", false, 0},
        {"\"\"1\"\"", false, 0},  // one pair of quotes only
        {"1,5", false, 0},
    };
    for (const auto& c : cases) {
        double v = -1;
        EXPECT_EQ(parseCoordinate(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}
