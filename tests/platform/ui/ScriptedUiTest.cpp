#include "platform/ui/ScriptedUi.h"

#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <QApplication>

#include "platform/ui/TestApplication.h"
#include <QDialog>
#include <QLineEdit>

#include "platform/ui/TestUi.h"

namespace velmora::ui {
namespace {

FileDialogRequest request(std::string title, bool multiple = false) {
    FileDialogRequest r;
    r.title = std::move(title);
    r.multiple = multiple;
    return r;
}

TEST(ScriptedUi, RecordsEveryBoxAsShownAndAnswersInOrder) {
    TestUi ui;
    ui.answer(Answer::Yes).answer(Answer::Cancel);
    EXPECT_EQ(message("上書きしますか？", "ﾒｯｾｰｼﾞ", Icon::Question, Buttons::YesNo), Answer::Yes);
    EXPECT_EQ(message("二行目\rです", {}, Icon::Exclamation, Buttons::OkCancel, true), Answer::Cancel);

    ASSERT_EQ(ui.boxes().size(), 2u);
    const BoxRecord& first = ui.boxes()[0];
    EXPECT_EQ(first.text, "上書きしますか？");
    EXPECT_EQ(first.title, "ﾒｯｾｰｼﾞ");
    EXPECT_EQ(first.icon, Icon::Question);
    EXPECT_EQ(first.buttons, Buttons::YesNo);
    EXPECT_FALSE(first.systemModal);
    const BoxRecord& second = ui.boxes()[1];
    EXPECT_EQ(second.text, "二行目\rです");
    EXPECT_EQ(second.title, defaultTitle());
    EXPECT_TRUE(second.systemModal);
    EXPECT_EQ(second.answer, Answer::Cancel);
}

// No title and an empty title are two things: the first shows the program's name, the second nothing.
TEST(ScriptedUi, RecordsAnEmptyTitleAsEmpty) {
    TestUi ui;
    ui.answer(Answer::Ok).answer(Answer::Ok);
    message("空のタイトル", "", Icon::Exclamation);
    message("既定のタイトル", std::nullopt, Icon::Exclamation);
    ASSERT_EQ(ui.boxes().size(), 2u);
    EXPECT_EQ(ui.boxes()[0].title, "");
    EXPECT_EQ(ui.boxes()[1].title, defaultTitle());
}

TEST(ScriptedUi, DialogsAndMenusTakeTheirSteps) {
    TestUi ui;
    ui.answerOpen({"/d/a.txt", "/d/b.txt"}).answerSave("/d/out.shp").answerSave(std::nullopt)
        .answerColour(0x102030u).answerPopup(2);
    EXPECT_EQ(service().openFiles(request("開く", true)),
              (std::vector<std::string>{"/d/a.txt", "/d/b.txt"}));
    EXPECT_EQ(service().saveFile(request("保存")), std::optional<std::string>("/d/out.shp"));
    EXPECT_EQ(service().saveFile({}), std::nullopt);
    EXPECT_EQ(service().chooseColour(0), std::optional<unsigned>(0x102030u));
    EXPECT_EQ(service().popupMenu({"削除", "-", "プロパティ"}), 2);
    ASSERT_EQ(ui.dialogs().size(), 5u);
    EXPECT_EQ(ui.dialogs()[0].kind, DialogRecord::Kind::Open);
    EXPECT_TRUE(ui.dialogs()[0].request.multiple);
    EXPECT_EQ(ui.dialogs()[1].title, "保存");
    EXPECT_EQ(ui.dialogs()[4].items.size(), 3u);
}

// Boxes and dialogs with no step: recorded, answered with the choice that changes nothing, reported.
TEST(ScriptedUi, UnexpectedEventsAreReportedAndAnsweredSafely) {
    std::vector<std::string> reported;
    ScriptedUi ui([&](const std::string& d) { reported.push_back(d); });
    ui.install();
    EXPECT_EQ(message("追加しますか？", {}, Icon::Question, Buttons::YesNo), Answer::No);
    EXPECT_EQ(service().openFiles(request("開く")), std::vector<std::string>{});
    EXPECT_EQ(service().popupMenu({"a"}), -1);
    ASSERT_EQ(reported.size(), 3u);
    EXPECT_NE(reported[0].find("追加しますか？"), std::string::npos);
    EXPECT_EQ(ui.boxes().at(0).answer, Answer::No);
    EXPECT_EQ(ui.unexpected(), reported);
}

// A headless runner gives no handler: events are recorded only.
TEST(ScriptedUi, WithoutHandlerUnexpectedEventsAreOnlyRecorded) {
    ScriptedUi ui;
    ui.install();
    EXPECT_EQ(message("x", {}, Icon::None, Buttons::YesNoCancel), Answer::No);
    EXPECT_EQ(ui.unexpected().size(), 1u);
}

TEST(ScriptedUi, StepOfAnotherKindIsReportedAndKept) {
    std::vector<std::string> reported;
    ScriptedUi ui([&](const std::string& d) { reported.push_back(d); });
    ui.install();
    ui.answerSave("/x.shp");
    EXPECT_EQ(message("先に箱", {}, Icon::None, Buttons::OkCancel), Answer::Cancel);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_NE(reported[0].find("save dialog"), std::string::npos);
    EXPECT_EQ(service().saveFile({}), std::optional<std::string>("/x.shp"));
}

TEST(TestUi, UnexpectedBoxFailsTheTestWithItsText) {
    EXPECT_NONFATAL_FAILURE(
        {
            TestUi ui;
            message("指定されたファイルが存在しません");
        },
        "指定されたファイルが存在しません");
    EXPECT_NONFATAL_FAILURE(
        {
            TestUi ui;
            ui.answer(Answer::Ok);
        },
        "never asked for");
}

TEST(ScriptedUi, InstallsForItsLifetime) {
    UiService* before = &service();
    {
        TestUi ui;
        EXPECT_EQ(&service(), &ui);
    }
    EXPECT_EQ(&service(), before);
}

TEST(ScriptedUi, ModalDriverFillsTheDialogAndItsBoxesTakeTheNextSteps) {
    testApplication();
    TestUi ui;
    ui.answerModal([](QDialog& d) {
          d.findChild<QLineEdit*>("txtName")->setText("道路");
          EXPECT_EQ(message("よろしいですか？", {}, Icon::Question, Buttons::YesNo), Answer::Yes);
          d.accept();
          return d.result();
      })
        .answer(Answer::Yes);
    QDialog dialog;
    dialog.setObjectName("frmTest");
    dialog.setWindowTitle("変換情報設定");
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName("txtName");
    EXPECT_EQ(service().runModal(dialog), QDialog::Accepted);
    EXPECT_EQ(edit->text(), "道路");
    ASSERT_EQ(ui.dialogs().size(), 1u);
    EXPECT_EQ(ui.dialogs()[0].title, "変換情報設定");
    EXPECT_EQ(ui.dialogs()[0].objectName, "frmTest");
}

TEST(ScriptedUi, BusyCursorEndsAlsoWhenWorkThrows) {
    TestUi ui;
    try {
        BusyCursor busy;
        EXPECT_TRUE(ui.busy());
        throw std::runtime_error("x");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(ui.busy());
}

TEST(DefaultAnswer, IsTheChoiceThatChangesNothing) {
    const std::pair<Buttons, Answer> cases[] = {
        {Buttons::Ok, Answer::Ok},           {Buttons::OkCancel, Answer::Cancel},
        {Buttons::AbortRetryIgnore, Answer::Abort}, {Buttons::YesNoCancel, Answer::No},
        {Buttons::YesNo, Answer::No},        {Buttons::RetryCancel, Answer::Cancel}};
    for (const auto& [buttons, answer] : cases) EXPECT_EQ(defaultAnswer(buttons), answer);
}

}  // namespace
}  // namespace velmora::ui
