// The progress display as converters drive it: whole maxima of a writer's n × 1.1, and the bar that
// counts in tenths.
#include <gtest/gtest.h>

#include <QProgressBar>

#include "convert/core/ConversionProgress.h"
#include "convert/core/ConversionState.h"
#include "platform/ui/TestApplication.h"

namespace {

using namespace velmora;

class ConversionProgressTest : public ::testing::Test {
protected:
    ConversionProgressTest() { conversionState().ConvProgressBar = &bar_; }
    ~ConversionProgressTest() override { resetConversionState(); }
    QApplication& app_ = ui::testApplication();
    QProgressBar bar_;
};

TEST_F(ConversionProgressTest, MaximaOfTenPercentMoreAreKeptWholeUpwards) {
    struct Case {
        double maximum;
        int bar;
    } cases[] = {{10 * 1.1, 11}, {1 * 1.1, 2}, {3 + 3 * 0.1, 4}, {0, 0}};
    for (const Case& c : cases) {
        progress::setMaximum(c.maximum);
        EXPECT_EQ(bar_.maximum(), c.bar) << c.maximum;
        EXPECT_EQ(bar_.value(), 0);
    }
}

TEST_F(ConversionProgressTest, TenthsStepWhileTheNewValueStaysBelowTheMaximum) {
    // 20 rows: a maximum of 20/10 × 1.1 = 2.2 is 22 tenths; each row adds one.
    progress::setMaximumInTenths(20 / 10.0 * 1.1);
    EXPECT_EQ(bar_.maximum(), 22);
    for (int i = 0; i < 20; ++i) progress::stepTenth();
    EXPECT_EQ(bar_.value(), 20);
    // The last tenth below the maximum is the end of the steps: a step would reach the maximum.
    progress::stepTenth();
    EXPECT_EQ(bar_.value(), 21);
    progress::stepTenth();
    EXPECT_EQ(bar_.value(), 21);
    progress::fill();
    EXPECT_EQ(bar_.value(), 22);
}

}  // namespace
