// The link points kept beside the work database: read back per link, in reading order, across the
// store's blocks (a nationwide job fills many).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/line/LinkVertexStore.h"

namespace {

using ModLine::LinkPoint;
using ModLine::LinkVertexStore;

std::vector<LinkPoint> pointsOf(const LinkVertexStore& store, std::int32_t linkIdx) {
    std::vector<LinkPoint> points;
    store.forEach(linkIdx, [&](LinkPoint p) { points.push_back(p); });
    return points;
}

TEST(LinkVertexStore, PointsOfEveryLinkComeBackAcrossBlocks) {
    // 300,000 links of three points: more links and more points than one block of either holds.
    constexpr std::int32_t kLinks = 300000;
    LinkVertexStore store;
    for (std::int32_t idx = 1; idx <= kLinks; ++idx) {
        store.beginLink(idx);
        for (int i = 0; i < 3; ++i) store.add(std::to_string(idx * 10 + i), std::to_string(-idx - i));
    }
    EXPECT_EQ(store.lastLinkIdx(), kLinks);
    for (std::int32_t idx : {1, 2, 43690, 43691, 87381, 131072, 131073, 262144, kLinks}) {
        const std::vector<LinkPoint> points = pointsOf(store, idx);
        ASSERT_EQ(points.size(), 3u) << idx;
        EXPECT_EQ(store.count(idx), 3u);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(points[i].x, idx * 10 + i) << idx;
            EXPECT_EQ(points[i].y, -idx - i) << idx;
        }
    }
    EXPECT_EQ(store.count(kLinks + 1), 0u);
    EXPECT_TRUE(pointsOf(store, 0).empty());
}

TEST(LinkVertexStore, ALinkNumberGivenAgainKeepsItsFirstPoints) {
    LinkVertexStore store;
    store.beginLink(2);  // link 1 never begun: no points
    store.add("1", "2");
    store.beginLink(2);
    store.add("3", "4");
    EXPECT_EQ(store.count(1), 0u);
    ASSERT_EQ(store.count(2), 1u);
    EXPECT_EQ(pointsOf(store, 2)[0].x, 1);
}

}  // namespace
