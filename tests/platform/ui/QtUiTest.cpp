#include "platform/ui/QtUi.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QFileDialog>
#include <QFile>
#include <QHeaderView>
#include <QTreeView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QElapsedTimer>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <map>

#include "platform/ui/FileDialogColumns.h"
#include "platform/ui/QtTranslations.h"
#include "platform/ui/TestApplication.h"
#include "tests/platform/process/TestFolder.h"

namespace velmora::ui {
namespace {

struct Seen {
    QString title, nativeTitle, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::WindowModality modality = Qt::NonModal;
    QStringList buttons;  // as the user reads them (the mnemonic marks taken out), sorted
    int textWidth = 0;    // the width the box gives its text
    QFont textFont;
};

// Shows the box through QtUi and, once it is up, records it and clicks the given button.
Answer showAndClick(const MessageBoxRequest& request, QMessageBox::StandardButton click, Seen& seen) {
    testApplication();
    QTimer::singleShot(0, [&] {
        QCoreApplication::processEvents();  // what the box does once shown
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->windowHandle() ? box->windowHandle()->title() : QString(), box->text(),
                box->icon(), box->windowModality(), {}, 0, QFont()};
        for (QAbstractButton* b : box->buttons()) seen.buttons << QString(b->text()).remove(u'&');
        seen.buttons.sort();
        if (auto* label = box->findChild<QLabel*>("qt_msgbox_label")) {
            seen.textWidth = label->width();
            seen.textFont = label->font();
        }
        box->button(click)->click();
    });
    QtUi ui;
    return ui.messageBox(request);
}

// Runs the open dialog through QtUi and lets the driver act on the real dialog once it is up.
std::vector<std::string> openWith(const FileDialogRequest& request, std::function<void(QFileDialog&)> driver) {
    testApplication();
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        driver(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    QtUi ui;
    return ui.openFiles(request);
}

// Types the names into the dialog's file-name box and presses its open button, as a user would.
void typeAndOpen(QFileDialog& d, const QString& names) {
    d.findChild<QLineEdit*>("fileNameEdit")->setText(names);
    auto* buttons = d.findChild<QDialogButtonBox*>("buttonBox");
    ASSERT_NE(buttons, nullptr);
    buttons->button(QDialogButtonBox::Open)->click();
}

// The open dialog's tests start in a temporary folder of their own.
class OpenDialog : public testsupport::TestFolder {
protected:
    std::string file(const std::string& name) const { return (dir / name).string(); }
};

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

// The window system is given no text in place of the empty title either (Qt would hand it the program's
// name): only invisible characters.
TEST(QtUi, MessageBoxWithAnEmptyTitleShowsNoTitle) {
    Seen seen;
    EXPECT_EQ(showAndClick({"x", "", Icon::Exclamation, Buttons::Ok}, QMessageBox::Ok, seen), Answer::Ok);
    EXPECT_EQ(seen.title, QString());
    EXPECT_EQ(QString(seen.nativeTitle).remove(QChar(0x200B)), QString());
}

// Qt would break a line longer than half the screen anywhere; the box grows to keep it whole.
TEST(QtUi, MessageBoxKeepsTheCallersLinesWhole) {
    const QString longest = "ポリゴンを作成せずにライン・代表点の作成を行う場合は、「いいえ(N)」を押して下さい。";
    Seen seen;
    showAndClick({"短い行\r\n" + longest.toStdString(), "ﾎﾟﾘｺﾞﾝ作成ﾒｯｾｰｼﾞ", Icon::Exclamation, Buttons::Ok},
                 QMessageBox::Ok, seen);
    EXPECT_GE(seen.textWidth, QFontMetrics(seen.textFont).horizontalAdvance(longest));
}

TEST(QtUi, StandardButtonsAndFileDialogsSpeakJapaneseWhateverTheLocale) {
    testApplication();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // Not in the given folder: taken from Qt's translation path.
    ASSERT_TRUE(installJapaneseQtTexts("/nonexistent-folder"));
    Seen seen;
    EXPECT_EQ(showAndClick({"ポリゴンを作成しますか？", "ﾎﾟﾘｺﾞﾝ作成ﾒｯｾｰｼﾞ", Icon::Exclamation, Buttons::YesNoCancel},
                           QMessageBox::Cancel, seen),
              Answer::Cancel);
    EXPECT_EQ(seen.buttons, (QStringList{"いいえ(N)", "はい(Y)", "キャンセル"})) << seen.buttons.join(u'|').toStdString();
    EXPECT_EQ(showAndClick({"x", "ﾒｯｾｰｼﾞ", Icon::Information, Buttons::Ok}, QMessageBox::Ok, seen), Answer::Ok);
    EXPECT_EQ(seen.buttons, QStringList{"OK"});

    QStringList labels;
    openWith({}, [&](QFileDialog& d) {
        for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
            if (auto* l = d.findChild<QLabel*>(name)) labels << l->text().remove(u'&');
    });
    EXPECT_EQ(labels, (QStringList{"アドレス:", "ファイル名(N):", "ファイルの種類:"})) << labels.join(u'|').toStdString();
}

TEST_F(OpenDialog, TakesTypedNamesOfMissingFilesWhenAllowed) {
    FileDialogRequest request;
    request.folder = dir.string();
    request.multiple = true;
    request.mustExist = false;
    bool several = false;
    const auto chosen = openWith(request, [&](QFileDialog& d) {
        several = true;
        for (auto* view : d.findChildren<QAbstractItemView*>())
            if (view->objectName() == "listView" || view->objectName() == "treeView")
                several = several && view->selectionMode() == QAbstractItemView::ExtendedSelection;
        typeAndOpen(d, "\"N01-07.txt\" \"N01-08.txt\"");
    });
    EXPECT_TRUE(several);
    EXPECT_EQ(chosen, (std::vector<std::string>{file("N01-07.txt"), file("N01-08.txt")}));

    request.multiple = false;
    const auto one = openWith(request, [&](QFileDialog& d) {
        typeAndOpen(d, "N01-09.txt");
    });
    EXPECT_EQ(one, std::vector<std::string>{file("N01-09.txt")});
}

TEST(QtUi, FileSizesAndTimesInJapaneseFormats) {
    const std::pair<qint64, const char*> sizes[] = {
        {0, "0 バイト"},        {878, "878 バイト"},   {1023, "1023 バイト"},          {1024, "1 KB"},
        {1025, "2 KB"},         {5000000, "4,883 KB"}, {1234567890, "1,205,633 KB"},
    };
    for (const auto& [bytes, text] : sizes) EXPECT_EQ(japaneseFileSize(bytes).toStdString(), text) << bytes;
    EXPECT_EQ(japaneseFileTime(QDateTime(QDate(2026, 12, 11), QTime(0, 48, 59))).toStdString(), "2026/12/11 00:48");
    EXPECT_EQ(japaneseFileTime(QDateTime()).toStdString(), "");
}

TEST_F(OpenDialog, DetailColumnsShowJapaneseSizesAndTimesInFull) {
    testApplication();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QDateTime when(QDate(2026, 12, 11), QTime(0, 48));
    for (const auto& [name, size] : {std::pair{"small.dbf", 878}, std::pair{"large.shp", 5000000}}) {
        QFile f(QString::fromStdString(file(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.resize(size);
        f.setFileTime(when, QFileDevice::FileModificationTime);
    }
    FileDialogRequest request;
    request.folder = dir.string();
    request.multiple = true;
    std::map<QString, QStringList> rows;  // name: the texts of the other columns
    std::map<QString, bool> whole;        // every text fits its column
    openWith(request, [&](QFileDialog& d) {
        d.setViewMode(QFileDialog::Detail);
        auto* view = d.findChild<QTreeView*>("treeView");
        ASSERT_NE(view, nullptr);
        d.resize(800, 500);
        QElapsedTimer waited;
        waited.start();
        while (view->model()->rowCount(view->rootIndex()) < 2 && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        const QFontMetrics metrics(view->font());
        for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r) {
            const QString name = view->model()->index(r, 0, view->rootIndex()).data().toString();
            bool fits = true;
            for (int c = 1; c < 4; ++c) {
                const QString text = view->model()->index(r, c, view->rootIndex()).data().toString();
                rows[name] << text;
                fits = fits && metrics.horizontalAdvance(text) < view->header()->sectionSize(c);
            }
            whole[name] = fits;
        }
    });
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows["small.dbf"].at(0).toStdString(), "878 バイト");
    EXPECT_EQ(rows["small.dbf"].at(2).toStdString(), "2026/12/11 00:48");
    EXPECT_EQ(rows["large.shp"].at(0).toStdString(), "4,883 KB");
    EXPECT_EQ(rows["large.shp"].at(2).toStdString(), "2026/12/11 00:48");
    EXPECT_TRUE(whole["small.dbf"]);
    EXPECT_TRUE(whole["large.shp"]);
}

TEST_F(OpenDialog, RefusesMissingFilesByDefault) {
    FileDialogRequest request;
    request.folder = dir.string();
    request.multiple = true;
    const auto chosen = openWith(request, [&](QFileDialog& d) {
        // Qt's dialog may tell the user in a box of its own; it must not close.
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
        });
        typeAndOpen(d, "missing.txt");
    });
    EXPECT_TRUE(chosen.empty());
}

}  // namespace
}  // namespace velmora::ui
