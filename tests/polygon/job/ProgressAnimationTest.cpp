// The progress bar's animation and finishing, tick by tick.
#include <gtest/gtest.h>

#include "polygon/lib/ProgressAnimation.h"

namespace {

using ostrand::ProgressAnimation;

TEST(ProgressAnimation, StopBeforeStartLeavesTheBarAtZero) {
    ProgressAnimation a;
    a.stop();
    EXPECT_EQ(a.position(), 0);
    EXPECT_TRUE(a.finish().empty());
    EXPECT_EQ(a.position(), 0);
}

TEST(ProgressAnimation, HalvesItsSpeedPastEachThreshold) {
    ProgressAnimation a;
    a.start(10000);
    EXPECT_EQ(a.maximum(), 10000);
    EXPECT_EQ(a.position(), 200);  // set to 100, then the first step
    std::vector<int> seen{a.position()};
    while (a.position() < 5100) {
        a.tick();
        seen.push_back(a.position());
    }
    EXPECT_EQ(seen.size(), 50u);   // 100 units a tick up to past half-way
    a.tick();
    EXPECT_EQ(a.position(), 5150);  // remaining 4900 < 5000: step 50, threshold 2500
    while (a.position() < 7550) a.tick();
    a.tick();
    EXPECT_EQ(a.position(), 7575);  // remaining 2450 < 2500: step 25
}

TEST(ProgressAnimation, StopKeepsThePosition) {
    ProgressAnimation a;
    a.start(10000);
    a.tick();
    a.stop();
    a.tick();
    EXPECT_EQ(a.position(), 300);
    EXPECT_FALSE(a.running());
}

TEST(ProgressAnimation, FinishRunsToTheEndInShrinkingSteps) {
    ProgressAnimation a;
    a.start(10000);  // position 200
    const std::vector<ProgressAnimation::Frame> frames = a.finish();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(a.position(), 10000);
    EXPECT_EQ(frames.back().position, 10000);
    // First run: steps of (10000 - 200) / 20 = 490 while the position is below 10000 - 490.
    EXPECT_EQ(frames[0].position, 690);
    EXPECT_EQ(frames[1].position, 1180);
    EXPECT_TRUE(frames[0].pause);
    int previous = 200;
    for (const auto& f : frames) {
        EXPECT_GT(f.position, previous);
        previous = f.position;
    }
    EXPECT_FALSE(a.running());
}

// With the maximum 1408 the animation comes to rest 10 units short of the end: too close for the
// shrinking steps, so the finish goes one unit at a time.
TEST(ProgressAnimation, FinishCloseToTheEndStepsOneUnitAtATime) {
    ProgressAnimation a;
    a.start(1408);
    for (int i = 0; i < 1000; ++i) a.tick();
    ASSERT_EQ(a.position(), 1398);
    const std::vector<ProgressAnimation::Frame> frames = a.finish();
    ASSERT_EQ(frames.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(frames[i].position, 1399 + i);
    EXPECT_TRUE(frames[8].pause);
    EXPECT_FALSE(frames[9].pause);  // the last unit is stepped without a pause
}

TEST(ProgressAnimation, RestsShortOfTheEndAfterHalfWayInFiveSeconds) {
    ProgressAnimation a;
    a.start(10000);
    int ticks = 0;
    while (a.position() <= 5000) {
        a.tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 49);  // about five seconds of tenths
    for (int i = 0; i < 100000; ++i) a.tick();
    EXPECT_EQ(a.position(), 9923);
}

}  // namespace
