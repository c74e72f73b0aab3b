// The size budget that keeps an output within the format's 2 GB limit.
#include <gtest/gtest.h>

#include "brunhale/SizeLimits.h"

using namespace velmora::brunhale;

TEST(SizeLimits, ShapeRecordSizes) {
    EXPECT_EQ(pointShapeBytes(), 28u);
    EXPECT_EQ(nullShapeBytes(), 12u);
    // 8 header + 4 type + 32 box + 4 parts + 4 points + 2 * 4 part starts + 5 * 16 vertices
    EXPECT_EQ(multiPointShapeBytes(2, 5), 140u);
}

TEST(SizeLimits, BudgetStopsAtTheLimitWithoutWrapping) {
    SizeBudget b(100, 1000);
    EXPECT_TRUE(b.add(900));
    EXPECT_EQ(b.used(), 1000u);
    EXPECT_FALSE(b.add(1));
    EXPECT_EQ(b.used(), 1000u) << "a refused addition adds nothing";

    SizeBudget big(MaxFileBytes - 28);
    EXPECT_TRUE(big.add(pointShapeBytes()));
    EXPECT_FALSE(big.add(pointShapeBytes()));
    EXPECT_FALSE(SizeBudget(0).add(~0ULL)) << "a huge addition must not wrap around";
}
