#include <gtest/gtest.h>

#include <new>

#include "platform/errors/RunTimeError.h"
#include "platform/ui/TestUi.h"

namespace velmora::ui {
namespace {

TEST(ErrorBox, ShowsNumberBlankDescriptionCriticalSystemModal) {
    TestUi ui;
    ui.answer(Answer::Ok);
    showRunTimeError(RunTimeError(err::FileNotFound, "File not found"), "Error: modCommon (PutLogFileMsg)");
    ASSERT_EQ(ui.boxes().size(), 1u);
    const BoxRecord& box = ui.boxes()[0];
    EXPECT_EQ(box.text, "53 ファイルが見つかりません。");
    EXPECT_EQ(box.title, "Error: modCommon (PutLogFileMsg)");
    EXPECT_EQ(box.icon, Icon::Critical);
    EXPECT_EQ(box.buttons, Buttons::Ok);
    EXPECT_TRUE(box.systemModal);
}

TEST(ErrorBox, OtherExceptionsGetANumberToo) {
    TestUi ui;
    ui.answer(Answer::Ok).answer(Answer::Ok).answer(Answer::Ok);
    showError(RunTimeError(err::Overflow, "Overflow"), "t");
    showError(std::bad_alloc(), "t");
    showError(std::runtime_error("broken"), "t");
    ASSERT_EQ(ui.boxes().size(), 3u);
    EXPECT_EQ(ui.boxes()[0].text, "6 オーバーフローしました。");
    EXPECT_EQ(ui.boxes()[1].text, "7 メモリが不足しています。");
    EXPECT_EQ(ui.boxes()[2].text, "51 内部エラーが発生しました。（broken）");
}

}  // namespace
}  // namespace velmora::ui
