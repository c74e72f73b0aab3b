#include <gtest/gtest.h>

#include "platform/text/Cp932.h"
#include "polygon/core/DataItems.h"
#include "polygon/core/MessageLog.h"

using namespace ostrand;
using velmora::text::fromCp932;
using velmora::text::toCp932;

TEST(PolygonMessageLog, NumberedPrefix) {
    const struct {
        int number;
        const char* line;
    } cases[] = {{0, "[000000]m"}, {-5, "[0000-5]m"}, {123, "[000123]m"}, {1234567, "[1234567]m"}};
    for (const auto& c : cases) {
        std::vector<std::string> lines;
        MessageLog log(&lines);
        log.add_numbered(c.number, "m");
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], c.line);
    }
}

TEST(PolygonMessageLog, LineFormatsOfTheMakers) {
    std::vector<std::string> lines;
    MessageLog log(&lines);
    log.add_area_link(123, message_text(msg_link_has_no_node), 45, "533945", 12);
    log.add_discontinuity(123, 2, message_text(msg_gaps_cannot_build), 45);
    log.add_area(7, "x", 8);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(fromCp932(lines[0]),
              "[000123]リンクにノードがないためこのリンク情報は使いません。エリア一連番号=45/リンクメッシュコード=533945/リンク番号=12");
    EXPECT_EQ(fromCp932(lines[1]),
              "[000123]エリアを構成するリンク間の不連続ヶ所が2ヶ所あるためポリゴンが作成できません。エリア一連番号=45");
    EXPECT_EQ(fromCp932(lines[2]), "[000007]xエリア一連番号=8");
}

TEST(PolygonMessageLog, OpenLineIsContinuedByTheNextWrite) {
    std::vector<std::string> lines;
    MessageLog log(&lines);
    log.add_numbered(1, "a", false);
    log.add_area(2, "b", 3, false);
    EXPECT_TRUE(lines.empty());
    log.add("c");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(fromCp932(lines[0]), "[000001]a[000002]bエリア一連番号=3c");
}

TEST(PolygonMessageLog, UnboundLogDoesNothing) {
    MessageLog log;
    log.add("x");
    log.add_numbered(1, "y");
    log.flush_line();
    EXPECT_FALSE(log.bound());
}
