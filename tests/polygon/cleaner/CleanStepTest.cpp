// The clean step of the cleaning and repairing makers over the polygons that build left.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/text/Cp932.h"
#include "polygon/core/KsPolygonMaker.h"
#include "tests/polygon/cleaner/CleanerTestSupport.h"

namespace {

using namespace cleaner_test;
using ostrand::KsPolygonMaker;
using ostrand::LayerRecord;

const Points kFigureEight{{0, 0}, {0, 2}, {2, 2}, {2, 1}, {3, 1.5}, {3, 0.5}, {2, 1}, {2, 0}};
const Points kSquare{{0, 0}, {1, 0}, {1, 1}, {0, 1}};  // counter-clockwise
// Two rings that overlap along their edges: the cleaner runs out of passes.
const std::vector<Points> kUnresolvable{{{0, 0}, {0, 1}, {2, 1}, {2, 0}}, {{1.5, 0}, {1.5, 1}, {3.5, 1}, {3.5, 0}}};

std::unique_ptr<KsPolygonMaker> make_maker(bool repairing, std::vector<std::string>* log_lines) {
    if (repairing) return std::make_unique<ostrand::KsPolygonMakerRepair>(LayerRecord(0, "", "A09-02A"), nullptr, log_lines);
    return std::make_unique<ostrand::KsPolygonMakerClean>(LayerRecord(1, "", "A10-60A"), nullptr, log_lines);
}

TEST(CleanStep, CleansEveryPolygonAndLogsTheOnesItCannot) {
    for (bool repairing : {false, true}) {
        SCOPED_TRACE(repairing ? "repairing maker" : "cleaning maker");
        std::vector<std::string> log_lines;
        std::unique_ptr<KsPolygonMaker> maker = make_maker(repairing, &log_lines);
        maker->polygons = {closed_polygon({kFigureEight}), closed_polygon({kSquare}), closed_polygon(kUnresolvable)};
        const AreaPolygon unresolvable_as_built = maker->polygons[2];

        maker->modify_after();

        ASSERT_EQ(maker->polygons.size(), 3u);
        ASSERT_EQ(maker->polygons[0].rings.size(), 2u);
        EXPECT_EQ(describe(maker->polygons[0].rings[0].points), describe(closed({{0, 0}, {0, 2}, {2, 2}, {2, 1}, {2, 0}})));
        EXPECT_EQ(describe(maker->polygons[0].rings[1].points), describe(closed({{2, 1}, {3, 1.5}, {3, 0.5}})));
        ASSERT_EQ(maker->polygons[1].rings.size(), 1u);
        // Given counter-clockwise, reversed whole: the last point comes first.
        EXPECT_EQ(describe(maker->polygons[1].rings[0].points), describe(closed({{0, 1}, {1, 1}, {1, 0}, {0, 0}})));
        ASSERT_EQ(maker->polygons[2].rings.size(), 2u);
        for (std::size_t r = 0; r < 2; ++r)
            EXPECT_EQ(describe(maker->polygons[2].rings[r].points), describe(unresolvable_as_built.rings[r].points));
        ASSERT_EQ(log_lines.size(), 1u);
        EXPECT_EQ(log_lines[0], velmora::text::toCp932("レコード番号：2 トポロジー修正に失敗しました。"));
    }
}

TEST(CleanStep, WithoutALogAFailureIsSilent) {
    std::unique_ptr<KsPolygonMaker> maker = make_maker(false, nullptr);
    maker->polygons = {closed_polygon(kUnresolvable)};
    EXPECT_NO_THROW(maker->modify_after());
    EXPECT_EQ(maker->polygons[0].rings.size(), 2u);
}

TEST(CleanStep, CleanerFailureTextIsThrownOn) {
    std::vector<std::string> log_lines;
    std::unique_ptr<KsPolygonMaker> maker = make_maker(true, &log_lines);
    maker->polygons = {closed_polygon({kSquare}),
                       closed_polygon({{{-10, 0}, {-10, 10}, {10, 10}, {10, 0}},
                                       {{-12, -6e-7}, {12, 6e-7}, {12, -5}, {-12, -5}}})};
    try {
        maker->modify_after();
        FAIL() << "no exception";
    } catch (const std::string& e) {
        EXPECT_EQ(e, "Error : enum_intersections()");
    }
    EXPECT_TRUE(log_lines.empty());
}

// Enough polygons that the step shares them out over several threads: the log tells the polygons it could
// not clean in their order, a cleaner failure is the first one's in order with only what came before it
// logged, and polygons still invalid are refused in order with their ledger records.
TEST(CleanStep, ManyPolygonsAreToldInTheirOrder) {
    const AreaPolygon failing = closed_polygon({{{-10, 0}, {-10, 10}, {10, 10}, {10, 0}},
                                                {{-12, -6e-7}, {12, 6e-7}, {12, -5}, {-12, -5}}});
    const std::vector<std::size_t> unresolvable{5, 100, 101, 250, 299};
    auto polygons = [&](std::vector<std::size_t> failing_at) {
        std::vector<AreaPolygon> all;
        for (std::size_t i = 0; i < 300; ++i) {
            Points square;
            for (const ostrand::Point& p : kSquare) square.push_back({p.x + 3.0 * static_cast<double>(i), p.y});
            all.push_back(closed_polygon({square}));
        }
        for (std::size_t i : unresolvable) all[i] = closed_polygon(kUnresolvable);
        for (std::size_t i : failing_at) all[i] = failing;
        return all;
    };
    auto failure_line = [](std::size_t i) {
        return velmora::text::toCp932("レコード番号：" + std::to_string(i) + " トポロジー修正に失敗しました。");
    };

    for (bool repairing : {false, true}) {
        SCOPED_TRACE(repairing ? "repairing maker" : "cleaning maker");
        std::vector<std::string> log_lines;
        std::unique_ptr<KsPolygonMaker> maker = make_maker(repairing, &log_lines);
        maker->polygons = polygons({});
        for (int a = 0; a < 300; ++a) maker->attr_records[1000 + a] = "ledger";
        maker->modify_after();
        // Then those still invalid are refused with their ledger records, each under its own number.
        std::vector<std::string> expected;
        for (std::size_t i : unresolvable) expected.push_back(failure_line(i));
        for (std::size_t i : unresolvable) {
            const std::string number = "[00" + std::to_string(1000 + i) + "]";
            expected.push_back(velmora::text::toCp932(number + "ポリゴンの境界線が交差しています。"));
            expected.push_back(velmora::text::toCp932(number + "有効なポリゴンが作成できないためこの属性番号のデータは保存しません。\n"));
            EXPECT_EQ(maker->attr_records.count(1000 + static_cast<int>(i)), 0u);
        }
        EXPECT_EQ(log_lines, expected);
        EXPECT_EQ(maker->polygons.size(), 295u);
        EXPECT_EQ(maker->attr_records.size(), 295u);
        EXPECT_EQ(maker->polygons[0].rings[0].points, closed({{0, 1}, {1, 1}, {1, 0}, {0, 0}}));

        log_lines.clear();
        maker = make_maker(repairing, &log_lines);
        maker->polygons = polygons({200, 120, 280});
        try {
            maker->modify_after();
            ADD_FAILURE() << "no exception";
        } catch (const std::string& e) {
            EXPECT_EQ(e, "Error : enum_intersections()");
        }
        EXPECT_EQ(log_lines, (std::vector<std::string>{failure_line(5), failure_line(100), failure_line(101)}));
    }
}

}  // namespace
