// The program as a user sees it on a real X display (run under Xvfb): the main window at its first size
// and the polygon question of the data-kind dialog, each saved as a screenshot into the build folder, and
// the titles the window manager is given (read back with xprop).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "app/Main.h"
#include "app/frmDataSelect.h"
#include "platform/ui/TestApplication.h"
#include "platform/ui/UiService.h"
#include "tests/convert/core/TempProgramFolder.h"
#include "viewer/ToolBand.h"
#include "viewer/frmMapMain.h"

using velmora::viewer::ToolBand;

namespace fs = std::filesystem;
using namespace velmora;

namespace {

bool exposed(QWidget* w) { return w && w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed(); }

// Runs the event loop until the window is on the screen (or a while has passed).
bool waitExposed(QWidget& w) {
    QElapsedTimer clock;
    clock.start();
    while (!exposed(&w) && clock.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QCoreApplication::processEvents();
    return exposed(&w);
}

// Saves what the X server shows of the window.
void shoot(QWidget& w, const char* name) {
    const fs::path folder = fs::path(VELMORA_BINARY_DIR) / "screenshots";
    fs::create_directories(folder);
    const QPixmap shot = w.screen()->grabWindow(w.winId());
    EXPECT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(QString::fromStdString((folder / name).string()))) << name;
}

// Once find() gives a window that is on the screen, act on it from the event loop (modal runs included).
void when(std::function<QWidget*()> find, std::function<void(QWidget&)> act, int tries = 500) {
    QTimer::singleShot(20, [find, act, tries] {
        QWidget* w = find();
        if (exposed(w)) {
            QCoreApplication::processEvents();
            act(*w);
        } else if (tries > 0) {
            when(find, act, tries - 1);
        } else {
            ADD_FAILURE() << "the window did not show";
            QApplication::closeAllWindows();
        }
    });
}

template <class T>
T* activeModal(const char* objectName = nullptr) {
    auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
    return w && (!objectName || w->objectName() == objectName) ? w : nullptr;
}

class Screen : public ::testing::Test {
protected:
    void SetUp() override {
        ui::testApplication();
        for (const char* name : {"DataDBF.csv", "DataDBFItem.csv"})
            fs::copy_file(fs::path(VELMORA_FIXTURES) / "catalogue" / "sample" / name, folder_.path() / name);
    }
    void TearDown() override {
        delete frmMapMain::instance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    testsupport::TempProgramFolder folder_;
};

TEST_F(Screen, MainWindowShowsEveryConversionButton) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    ASSERT_TRUE(modCommon::Main());
    frmMapMain& w = *frmMapMain::instance();
    ASSERT_TRUE(waitExposed(w));
    shoot(w, "main-window.png");
    for (ToolBand* band : w.tbrFunc)
        for (int b = 1; b <= band->buttonCount(); ++b) {
            QWidget* button = band->button(b);
            EXPECT_TRUE(button->isVisible()) << button->toolTip().toStdString();
            EXPECT_TRUE(w.rect().contains(QRect(button->mapTo(&w, QPoint(0, 0)), button->size())))
                << button->toolTip().toStdString();
        }
}

// The question tells the user which buttons to press; the buttons must read so.
TEST_F(Screen, PolygonQuestionNamesTheButtonsItShows) {
    ASSERT_TRUE(modCommon::Main());
    frmMapMain& w = *frmMapMain::instance();
    ASSERT_TRUE(waitExposed(w));
    QStringList buttons;
    QString text;
    when([] { return activeModal<frmDataSelect>("frmDataSelect"); },
         [&](QWidget& dialog) {
             auto* select = static_cast<frmDataSelect*>(&dialog);
             shoot(dialog, "data-kind-dialog.png");
             // The tabs with the longest captions and with the most lines.
             select->SSTabData->setCurrentIndex(1);
             QCoreApplication::processEvents();
             shoot(dialog, "data-kind-dialog-lines.png");
             select->SSTabData->setCurrentIndex(3);
             QCoreApplication::processEvents();
             shoot(dialog, "data-kind-dialog-meshes.png");
             select->SSTabData->setCurrentIndex(2);
             when([] { return activeModal<QMessageBox>(); },
                  [&](QWidget& widget) {
                      auto& box = static_cast<QMessageBox&>(widget);
                      shoot(box, "polygon-question.png");
                      text = box.text();
                      for (QAbstractButton* b : box.buttons()) buttons << QString(b->text()).remove(u'&');
                      buttons.sort();
                      box.button(QMessageBox::Cancel)->click();
                      when([] { return activeModal<frmDataSelect>("frmDataSelect"); },
                           [](QWidget& d) { static_cast<QDialog&>(d).reject(); });
                  });
             QTimer::singleShot(0, select, [select] { select->CmdPolygonKind[0]->click(); });
         });
    // The conversion button of area data opens the data-kind dialog on its tab; the steps above run there.
    w.tbrFunc[2]->button(3)->click();
    EXPECT_TRUE(text.startsWith("都市計画区域には、ポリゴンを作成できないデータが存在します。")) << text.toStdString();
    EXPECT_EQ(buttons, (QStringList{"いいえ(N)", "はい(Y)", "キャンセル"})) << buttons.join(u'|').toStdString();
}

// What the window manager is given as the title of a box: an empty title must not become the program's name.
TEST_F(Screen, BoxTitlesReachTheWindowSystemAsGiven) {
    struct Case {
        std::optional<std::string> title;
        QString shown;
    };
    const Case cases[] = {{"", ""}, {"ﾒｯｾｰｼﾞ", "ﾒｯｾｰｼﾞ"}, {std::nullopt, "Velmora"}};
    for (const Case& c : cases) {
        QString name = "?";
        when([] { return activeModal<QMessageBox>(); },
             [&name](QWidget& box) {
                 QProcess xprop;
                 xprop.start("xprop", {"-id", QString::number(box.winId()), "-notype", "_NET_WM_NAME"});
                 xprop.waitForFinished();
                 // _NET_WM_NAME = "text"
                 const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
                 const qsizetype quote = out.indexOf(u'"');
                 name = quote < 0 ? out : out.mid(quote + 1).chopped(1);
                 static_cast<QMessageBox&>(box).button(QMessageBox::Ok)->click();
             });
        ui::message("タイトルの確認", c.title, ui::Icon::Exclamation);
        // An empty title is given as a zero-width space, which no window manager draws.
        EXPECT_EQ(name.remove(QChar(0x200B)), c.shown) << c.title.value_or("(none)");
    }
}

}  // namespace
