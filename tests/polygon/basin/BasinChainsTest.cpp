// Preparation of catchments before ring building: chaining, the split at a wide gap into a
// pseudo-catchment, and what ring building then makes of both.
#include <gtest/gtest.h>

#include "tests/polygon/basin/BasinFixture.h"

using namespace basintest;

namespace {

const char* const kRemoved = "[000005]流域界を構成しない一部のリンクデータを削除しました。";
const char* const kNotSaved5 = "[000005]有効なポリゴンが作成できないためこの属性番号のデータは保存しません。\n";

const std::vector<Point> kSquare{{0, 0}, {0, 0.05}, {0.05, 0.05}, {0.05, 0}};

// The square as four links in walking order (1 up, 2 east, 3 down, 4 west).
void square_links(BasinCase& c) {
    c.link(1, {{0, 0}, {0, 0.05}});
    c.link(2, {{0, 0.05}, {0.05, 0.05}});
    c.link(3, {{0.05, 0.05}, {0.05, 0}});
    c.link(4, {{0.05, 0}, {0, 0}});
}

// Three sides of the square in two links: the outline that stays with catchment 5 when a far part is cut
// off after its second chain.
void three_sides(BasinCase& c) {
    c.link(1, {{0, 0}, {0, 0.05}});
    c.link(2, {{0, 0.05}, {0.05, 0.05}, {0.05, 0}});
}

}  // namespace

TEST(BasinChains, OutlineInFileOrderBecomesTheCatchmentsOnlyLinkAndArea) {
    BasinCase c;
    square_links(c);
    c.area(5, {1, 2}, 11);
    c.area(5, {3, 4}, 12);
    c.build();
    EXPECT_TRUE(c.log().empty());
    ASSERT_EQ(c.maker.polygons.size(), 1u);
    EXPECT_EQ(c.outline(0), kSquare);
    EXPECT_EQ(c.counts(), (std::array<int, 4>{1, 1, 0, 0}));
    ASSERT_EQ(c.maker.links.size(), 1u);
    EXPECT_EQ(c.maker.links.begin()->first.mesh_code, "xxxxxx");
    EXPECT_EQ(c.maker.links.begin()->first.link_no, 5);
    ASSERT_EQ(c.maker.area_links[5].size(), 1u);
    EXPECT_EQ(c.maker.area_links[5][0].size(), 1u);
}

TEST(BasinChains, ChainsStartingWhereAnEarlierOneStartsAreLeftOut) {
    // Link 5, a diagonal listed both ways, starts at the corners where links 1 and 3 start.
    BasinCase c;
    square_links(c);
    c.link(5, {{0, 0}, {0.02, 0.03}, {0.05, 0.05}});
    c.area(5, {1, 2, 3, 4});
    c.area(5, {5, -5}, 2);
    c.build();
    EXPECT_TRUE(c.log().empty());
    ASSERT_EQ(c.maker.polygons.size(), 1u);
    EXPECT_EQ(c.outline(0), kSquare);
}

TEST(BasinChains, FarPartAfterTheSecondChainBecomesAPseudoCatchment) {
    BasinCase c;
    three_sides(c);
    c.link(6, {{1, 0}, {1, 0.05}, {1.05, 0.05}});
    c.link(7, {{1.05, 0.05}, {1.05, 0}, {1, 0}});
    c.area(5, {1, 2, 6, 7}, 3);
    c.build();
    EXPECT_TRUE(c.log().empty());
    ASSERT_EQ(c.maker.polygons.size(), 2u);
    EXPECT_EQ(c.outline(0), kSquare);
    EXPECT_EQ(c.outline(1), (std::vector<Point>{{1, 0}, {1, 0.05}, {1.05, 0.05}, {1.05, 0}}));
    EXPECT_EQ(c.counts(), (std::array<int, 4>{2, 2, 0, 0}));
    EXPECT_EQ(c.maker.area_serials[900005], std::vector<int>{9999});
    std::string renumbered = velmora::datagen::basin_ledger(5, "81001");
    renumbered.replace(3, 10, "    900005");
    EXPECT_EQ(c.maker.attr_records[900005], renumbered);
    EXPECT_EQ(c.maker.attr_records[5], velmora::datagen::basin_ledger(5, "81001"));
    EXPECT_EQ(c.maker.links.size(), 2u);
}

TEST(BasinChains, PseudoCatchmentOfOneLinkThereAndBackIsDroppedWithTheCatchmentsMessage) {
    BasinCase c;
    three_sides(c);
    c.link(6, {{1, 0}, {1, 0.05}, {1.05, 0.05}});
    c.area(5, {1, 2});
    c.area(5, {6, -6}, 2);
    c.build();
    EXPECT_EQ(c.log(), std::vector<std::string>{kRemoved});
    ASSERT_EQ(c.maker.polygons.size(), 1u);
    EXPECT_EQ(c.outline(0), kSquare);
    EXPECT_EQ(c.counts(), (std::array<int, 4>{1, 1, 0, 1}));
    EXPECT_EQ(c.maker.attr_records.count(900005), 0u);
}

TEST(BasinChains, PseudoCatchmentThatDoesNotCloseIsReportedUnderItsOwnNumber) {
    BasinCase c;
    three_sides(c);
    c.link(6, {{1, 0}, {1, 0.05}, {1.05, 0.05}, {1.05, 0.02}});
    c.area(5, {1, 2, 6});
    c.build();
    EXPECT_EQ(c.log(), (std::vector<std::string>{
                           "[900005]エリアを構成するリンクの起終点が一致しません。エリア一連番号=9999",
                           "[900005]エリアを構成するリンク間の不連続ヶ所が1ヶ所あるためポリゴンが作成できません。"
                           "エリア一連番号=9999",
                           "[900005]有効なポリゴンが作成できないためこの属性番号のデータは保存しません。\n"}));
    ASSERT_EQ(c.maker.polygons.size(), 1u);
    EXPECT_EQ(c.counts(), (std::array<int, 4>{2, 1, 0, 1}));
    EXPECT_EQ(c.maker.attr_records.count(900005), 0u);
}

TEST(BasinChains, WideGapRightAfterTheFirstChainKeepsTheSequenceWhole) {
    BasinCase c;
    c.link(1, {{0, 0}, {0, 0.05}, {0.05, 0.05}, {0.05, 0}});
    c.link(2, {{1, 0}, {1, -0.05}, {0.5, -0.05}});
    c.area(5, {1, 2});
    c.build();
    EXPECT_TRUE(c.log().empty());
    ASSERT_EQ(c.maker.polygons.size(), 1u);
    EXPECT_EQ(c.outline(0),
              (std::vector<Point>{{0, 0}, {0, 0.05}, {0.05, 0.05}, {0.05, 0}, {1, 0}, {1, -0.05}, {0.5, -0.05}}));
    EXPECT_EQ(c.maker.attr_records.count(900005), 0u);
    EXPECT_EQ(c.counts(), (std::array<int, 4>{1, 1, 0, 0}));
}

TEST(BasinChains, CatchmentWithoutAnyChainGetsNoRing) {
    // Its only reference names a link that no file holds.
    BasinCase c;
    square_links(c);
    c.area(5, {99});
    c.area(6, {1, 2, 3, 4});
    c.build();
    EXPECT_EQ(c.log(), std::vector<std::string>{kNotSaved5});
    ASSERT_EQ(c.maker.polygons.size(), 1u);
    EXPECT_EQ(c.counts(), (std::array<int, 4>{2, 1, 0, 1}));
    EXPECT_EQ(c.maker.attr_records.count(5), 0u);
}

TEST(BasinChains, DetourIsMendedByMovingTheLastChainToItsBestPlace) {
    // After the square has closed, the spur 9 is the only chain left: a detour. Its best place is between
    // links 3 and 4, where its ends lie next to theirs.
    BasinCase c;
    square_links(c);
    c.link(9, {{0.0501, 0}, {0.03, -0.01}, {0.02, -0.01}});
    c.area(5, {1, 2, 3, 4, 9});
    c.build();
    ASSERT_EQ(c.maker.polygons.size(), 1u);
    EXPECT_EQ(c.outline(0), (std::vector<Point>{{0, 0}, {0, 0.05}, {0.05, 0.05}, {0.05, 0}, {0.0501, 0}, {0.03, -0.01},
                                                {0.02, -0.01}, {0.05, 0}}));
}

TEST(RelocateLastChain, TakesThePlaceWithTheSmallestTotalGap) {
    auto chain = [](double x0, double x1) { return Ring(std::vector<Point>{{x0, 0}, {x1, 0}}); };
    auto starts = [](const ChainList& chains) {
        std::vector<double> out;
        for (const Ring& r : chains) out.push_back(r.points.front().x);
        return out;
    };
    struct Case {
        const char* name;
        ChainList chains;
        std::vector<double> expected_starts;
    };
    const std::vector<Case> cases = {
        {"fits between the second and the third", {chain(0, 1), chain(1, 2), chain(3, 4), chain(2, 3)}, {0, 1, 2, 3}},
        {"would fit only in front: never index 0, and a tie keeps it last", {chain(0, 1), chain(1, 2), chain(-1, 0)},
         {0, 1, -1}},
        {"two chains stay as they are", {chain(1, 2), chain(0, 1)}, {1, 0}},
    };
    for (const Case& t : cases) {
        ChainList chains = t.chains;
        relocate_last_chain(chains);
        EXPECT_EQ(starts(chains), t.expected_starts) << t.name;
    }
    EXPECT_DOUBLE_EQ(chain_gap_length({chain(0, 1), chain(1, 2), chain(3, 4), chain(2, 3)}), 3.0);
}

TEST(BasinChains, FailureWhileSplittingReachesTheJobAsThePreparationsText) {
    // A ledger text too short to hold an attribute number cannot be renumbered.
    auto thrown = [](auto&& step) -> std::string {
        try {
            step();
        } catch (const std::string& text) {
            return text;
        }
        return "";
    };
    BasinCase c;
    three_sides(c);
    c.link(6, {{1, 0}, {1, 0.05}, {1.05, 0.05}});
    c.link(7, {{1.05, 0.05}, {1.05, 0}, {1, 0}});
    c.area(5, {1, 2, 6, 7});
    c.maker.attr_records[5] = "DA";
    EXPECT_EQ(thrown([&] { c.build(); }), "Error. KsPolygonMakerBasin::modify_before()");

    ChainList chains{Ring(std::vector<Point>{{0, 0}, {0, 1}}), Ring(std::vector<Point>{{0, 1}, {1, 1}}),
                     Ring(std::vector<Point>{{5, 5}, {6, 6}})};
    std::map<LinkRef, Ring> new_links;
    std::map<int, std::vector<std::vector<LinkRef>>> new_areas;
    EXPECT_EQ(thrown([&] { c.maker.separate(chains, "DA", new_links, new_areas); }),
              "Error. KsPolygonMakerBasin::separate()");
}
