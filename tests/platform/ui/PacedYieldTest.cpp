#include "platform/ui/PacedYield.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/ui/TestUi.h"

namespace velmora::ui {
namespace {

using namespace std::chrono_literals;

TEST(PacedYield, TurnsTheLoopOnlyOnceTheIntervalHasPassed) {
    TestUi ui;
    PacedYield hourly(std::chrono::hours(1));
    for (int i = 0; i < 1000; ++i) hourly();
    EXPECT_EQ(ui.yieldCount(), 0);

    PacedYield always(PacedYield::Clock::duration::zero());
    for (int i = 0; i < 5; ++i) always();
    EXPECT_EQ(ui.yieldCount(), 5);
}

TEST(PacedYield, AJobThatRunsLongerThanTheIntervalStillYields) {
    TestUi ui;
    PacedYield paced(1ms);
    std::this_thread::sleep_for(5ms);
    paced();
    EXPECT_EQ(ui.yieldCount(), 1);
}

}  // namespace
}  // namespace velmora::ui
