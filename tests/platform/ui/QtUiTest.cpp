#include "platform/ui/QtUi.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>

#include "platform/ui/TestApplication.h"
#include <QMessageBox>
#include <QTimer>

namespace velmora::ui {
namespace {

struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::WindowModality modality = Qt::NonModal;
    QStringList buttons;
};

// Shows the box through QtUi and, once it is up, records it and clicks the button with the given text.
Answer showAndClick(const MessageBoxRequest& request, QMessageBox::StandardButton click, Seen& seen) {
    testApplication();
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), box->windowModality(), {}};
        for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
        box->button(click)->click();
    });
    QtUi ui;
    return ui.messageBox(request);
}

TEST(QtUi, MessageBoxShowsTitleTextIconAndGivesTheClickedAnswer) {
    Seen seen;
    const Answer a = showAndClick({"一行目\r二行目\r\n三行目", "ｴﾗｰﾒｯｾｰｼﾞ", Icon::Exclamation, Buttons::YesNoCancel, true},
                                  QMessageBox::No, seen);
    EXPECT_EQ(a, Answer::No);
    EXPECT_EQ(seen.title, QString("ｴﾗｰﾒｯｾｰｼﾞ"));
    EXPECT_EQ(seen.text, QString("一行目\n二行目\n三行目"));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);
    EXPECT_EQ(seen.buttons.size(), 3);
}

TEST(QtUi, MessageBoxWithoutTitleCarriesTheDefaultTitle) {
    Seen seen;
    EXPECT_EQ(showAndClick({"x", {}, Icon::Critical, Buttons::RetryCancel}, QMessageBox::Retry, seen), Answer::Retry);
    EXPECT_EQ(seen.title.toStdString(), defaultTitle());
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
}

}  // namespace
}  // namespace velmora::ui
