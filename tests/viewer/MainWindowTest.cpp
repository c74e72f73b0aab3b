// The main window as a user meets it, on Qt's offscreen platform: captions, shortcuts, bands, tool
// buttons and pointers, hints, coordinates, log clearing, help, the version box and closing.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTextBrowser>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QSplitterHandle>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

#include "convert/core/ConversionState.h"
#include "tests/viewer/ViewerTest.h"
#include "viewer/HelpWindow.h"
#include "viewer/PictureSurface.h"
#include "viewer/ToolBand.h"

using namespace velmora;
using namespace velmora::testsupport;
using namespace velmora::viewer;
namespace fs = std::filesystem;

namespace {

class MainWindow : public ViewerTest {
protected:
    QString hint() { return w().Panels[1]->text(); }
    void installCatalogue() {
        for (const char* name : {"DataDBF.csv", "DataDBFItem.csv"})
            fs::copy_file(fs::path(VELMORA_FIXTURES) / "catalogue" / "sample" / name, folder_.path() / name);
    }
    std::vector<bool> pressed() {
        std::vector<bool> p;
        for (int b = 1; b <= 6; ++b) p.push_back(w().tbrFunc[1]->button(b)->isChecked());
        return p;
    }
};

QStringList captions(QMenu* menu) {
    QStringList c;
    for (QAction* a : menu->actions()) c << (a->isSeparator() ? "-" : a->text());
    return c;
}

TEST_F(MainWindow, CaptionsShortcutsAndShortNames) {
    EXPECT_EQ(w().menuBar()->actions().size(), 4);
    struct Menu {
        QMenu* menu;
        QString title;
        QStringList items;
    };
    const Menu menus[] = {
        {w().mnuFile, "ファイル(&F)",
         {"テーマの追加(&A)" + QString(10, QChar(0x3000)), "テーマの削除(&R)", "-", "画面キャプチャ", "-",
          "変換ログフォルダのクリア", "-", "終了(&Q)"}},
        {w().mnuView, "表示(&V)",
         {"拡大(&I)       ", "縮小(&O)", "-", "移動(&M)", "-", "全体表示(&F)", "-", "ツールバー(&T)"}},
        {w().mnuTbrFuncMenu, "ツールバー(&T)", {"ファイル", "表示", "データ変換", "-", "全てＯＮ", "全てＯＦＦ"}},
        {w().mnuConv, "データ変換(&T)",
         {"ポイントデータの変換(&P)", "ラインデータの変換(&L)", "ポリゴンデータの変換(&A)",
          "メッシュデータの変換(&M)", "台帳データの変換(&Z)"}},
        {w().mnuHelp, "ヘルプ(&H)", {"ヘルプ(&H)", "-", "バージョン情報(&V)"}},
    };
    for (const Menu& m : menus) {
        EXPECT_EQ(m.menu->title(), m.title);
        EXPECT_EQ(captions(m.menu), m.items) << m.title.toStdString();
    }
    struct Shortcut {
        QAction* item;
        const char* keys;
    };
    const Shortcut shortcuts[] = {{w().mnuView1[1], "Ctrl+W"}, {w().mnuView1[2], "Ctrl+Q"}, {w().mnuConv1[1], "Ctrl+P"},
                                  {w().mnuConv1[2], "Ctrl+L"}, {w().mnuConv1[3], "Ctrl+A"}, {w().mnuConv1[4], "Ctrl+M"},
                                  {w().mnuConv1[5], "Ctrl+Z"}, {w().mnuHelpDisp, "F1"},     {w().mnuVer, "Ctrl+V"}};
    for (const Shortcut& s : shortcuts) EXPECT_EQ(s.item->shortcut().toString(), s.keys) << s.item->text().toStdString();
    EXPECT_EQ(w().mnuFile1[8], nullptr);
    EXPECT_EQ(w().mnuFile1[9]->property("index").toInt(), 9);
    for (int i : {0, 1, 2}) EXPECT_TRUE(w().mnuTbrFunc[i]->isChecked());

    const QStringList shortNames[3] = {
        {"テーマの追加", "テーマの削除", "画面キャプチャ"},
        {"拡大", "縮小", "移動", "全体表示", "個別属性表示", "属性テーブルを開く"},
        {"ポイントデータの変換", "ラインデータの変換", "ポリゴンデータの変換", "メッシュデータの変換", "台帳データの変換"}};
    for (int bar = 0; bar < 3; ++bar) {
        QStringList tips;
        for (int b = 1; b <= w().tbrFunc[bar]->buttonCount(); ++b) {
            QToolButton* button = w().tbrFunc[bar]->button(b);
            tips << button->toolTip();
            EXPECT_TRUE(button->statusTip().isEmpty());
            EXPECT_EQ(button->width(), 23);
            EXPECT_EQ(button->x(), 23 * (b - 1));
            EXPECT_TRUE(button->isVisible());
        }
        EXPECT_EQ(tips, shortNames[bar]);
    }
}

TEST_F(MainWindow, FirstPaintSizeAndLayout) {
    EXPECT_EQ(w().size(), QSize(690, 443));
    EXPECT_FALSE(w().FirstPaintPending);
    EXPECT_EQ(w().windowTitle(), "Velmora");
    EXPECT_EQ(w().Picture1->image().size(), QSize(23, 23));
    EXPECT_EQ(w().tbrFunc[2]->width(), 150);
    EXPECT_LE(w().CoolBar1->geometry().bottom(), w().SSSplitter2->geometry().top());
    EXPECT_EQ(w().SSSplitter2->widget(0), w().tvwThemeList);
    EXPECT_EQ(w().SSSplitter2->widget(1), w().MainMap);
    EXPECT_EQ(w().tvwThemeList->topLevelItemCount(), 2);
    // Later paints keep what the user made of the window; a smaller one snaps back to the minimum.
    w().resize(800, 500);
    w().repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(w().size(), QSize(800, 500));
    w().resize(100, 100);
    QCoreApplication::processEvents();
    EXPECT_GE(w().width(), 452);
    EXPECT_GE(w().height(), 181);
    EXPECT_EQ(w().pMapTool->CurrentTool(), maptool::None);
    EXPECT_EQ(pressed(), std::vector<bool>(6, false));
}

TEST_F(MainWindow, BandsComeAndGoWithTheToolbarMenu) {
    QWidget* cool = w().CoolBar1;
    const int splitterBelow = w().SSSplitter2->y();
    const auto shown = [&] {
        return std::vector<bool>{!w().tbrFunc[0]->isHidden(), !w().tbrFunc[1]->isHidden(), !w().tbrFunc[2]->isHidden()};
    };
    const auto marks = [&] {
        return std::vector<bool>{w().mnuTbrFunc[0]->isChecked(), w().mnuTbrFunc[1]->isChecked(), w().mnuTbrFunc[2]->isChecked()};
    };
    w().mnuTbrFunc[101]->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(cool->isHidden());
    EXPECT_EQ(shown(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(marks(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(w().SSSplitter2->y(), cool->y());
    w().mnuTbrFunc[100]->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(cool->isHidden());
    EXPECT_EQ(shown(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(marks(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(w().SSSplitter2->y(), splitterBelow);
    // One by one: the last one hides the cool bar, the first one back shows it.
    for (int i : {1, 0, 2}) w().mnuTbrFunc[i]->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(cool->isHidden());
    EXPECT_EQ(marks(), (std::vector<bool>{false, false, false}));
    w().mnuTbrFunc[1]->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(cool->isHidden());
    EXPECT_EQ(shown(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(marks(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(w().SSSplitter2->y(), splitterBelow);
}

TEST_F(MainWindow, ViewButtonsAndMenuSetToolPointerAndPressedButton) {
    addLayer("a");
    ToolBand& view = *w().tbrFunc[1];
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<bool> pressed;
        int pointer, tool;
    };
    const auto click = [&](int b) { return [&view, b] { QTest::mouseClick(view.button(b), Qt::LeftButton); }; };
    const Step steps[] = {
        {"zoom in", click(1), {true, false, false, false, false, false}, 51, maptool::ZoomIn},
        {"zoom out", click(2), {false, true, false, false, false, false}, 52, maptool::ZoomOut},
        {"pan", click(3), {false, false, true, false, false, false}, 53, maptool::Pan},
        {"full extent keeps the tool", click(4), {false, false, true, false, false, false}, 53, maptool::Pan},
        {"the pressed button again", click(3), {false, false, true, false, false, false}, 53, maptool::Pan},
        {"menu zoom in", [&] { w().mnuView1[1]->trigger(); }, {true, false, false, false, false, false}, 51, maptool::ZoomIn},
        {"menu zoom out", [&] { w().mnuView1[2]->trigger(); }, {false, true, false, false, false, false}, 52, maptool::ZoomOut},
        {"menu pan", [&] { w().mnuView1[4]->trigger(); }, {false, false, true, false, false, false}, 53, maptool::Pan},
        // Identify without a layer node selected: every button released, no tool.
        {"identify with the root", [&] { select(mapRoot()); click(5)(); }, {false, false, false, false, false, false}, 1, maptool::None},
        {"identify with a layer", [&] { select(mapRoot()->child(0)); click(5)(); }, {false, false, false, false, true, false}, 2, maptool::Identify},
        {"identify with a table root", [&] { select(tableRoot()); click(5)(); }, {false, false, false, false, false, false}, 1, maptool::None},
        {"identify with nothing", [&] { tree().clearSelection(); click(5)(); }, {false, false, false, false, false, false}, 1, maptool::None},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(pressed(), s.pressed);
        EXPECT_EQ(mapView().mousePointer(), s.pointer);
        EXPECT_EQ(w().pMapTool->CurrentTool(), s.tool);
    }
    // Full extent from the menu and the band.
    const map::MapRect full = mapView().fullExtent();
    mapView().setExtent({139.65, 139.66, 35.62, 35.63});
    w().mnuView1[6]->trigger();
    EXPECT_NEAR(mapView().extent().centre().x, full.centre().x, 1e-9);
    mapView().setExtent({139.65, 139.66, 35.62, 35.63});
    QTest::mouseClick(view.button(4), Qt::LeftButton);
    EXPECT_NEAR(mapView().extent().centre().y, full.centre().y, 1e-9);
    EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(MainWindow, HintsNameTheButtonUnderThePointer) {
    struct Case {
        int bar, x;
        QString hint;
    };
    const Case cases[] = {
        {0, 0, "マップにテーマを追加します"},
        {0, 22, "マップにテーマを追加します"},
        {0, 23, "現在選択中のテーマを削除します"},
        {0, 68, "現在表示中のマップをイメージファイルに出力します"},
        {0, 69, ""},
        {1, 100, "アクティブなレイヤの個別属性表示をします"},
        {1, 137, "アクティブなレイヤの属性表示をします"},
        {1, 140, ""},
        {2, 0, "データ変換（ポイント）を行います"},
        {2, 23, "データ変換（ライン）を行います"},
        {2, 46, "データ変換（ポリゴン）を行います"},
        {2, 69, "データ変換（メッシュ）を行います"},
        {2, 92, "データ変換（台帳）を行います"},
        {2, 115, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bar) + " at " + std::to_string(c.x));
        w().Panels[1]->setText("?");
        ToolBand* band = w().tbrFunc[c.bar];
        // Over a button the button has the pointer; past them the band.
        QWidget* under = band->childAt(c.x, 10);
        QWidget* target = under ? under : band;
        QTest::mouseMove(target, target->mapFrom(band, QPoint(c.x, 10)));
        EXPECT_EQ(hint(), c.hint);
    }
    // Leaving a band clears the hint, and so does the splitter's bar.
    QTest::mouseMove(w().tbrFunc[2]->button(1), QPoint(5, 5));
    EXPECT_EQ(hint(), "データ変換（ポイント）を行います");
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(w().tbrFunc[2], &leave);
    EXPECT_EQ(hint(), "");
    QTest::mouseMove(w().tbrFunc[0]->button(1), QPoint(5, 5));
    EXPECT_EQ(hint(), "マップにテーマを追加します");
    QSplitterHandle* handle = w().SSSplitter2->handle(1);
    QTest::mouseMove(handle, QPoint(1, handle->height() / 2));
    EXPECT_EQ(hint(), "");
}

TEST_F(MainWindow, ThePointerOnTheMapShowsItsCoordinates) {
    mapView().setExtent({139.69, 139.71, 35.64, 35.66});
    QCoreApplication::processEvents();
    const QPoint middle(mapView().width() / 2, mapView().height() / 2);
    QTest::mouseMove(&mapView(), middle);
    EXPECT_EQ(w().Panels[3]->text(), "X: 139.7000");
    EXPECT_EQ(w().Panels[4]->text(), "Y: 35.6500");
    mapView().setExtent({-0.5, 0.5, -0.5, 0.5});
    QTest::mouseMove(&mapView(), middle + QPoint(1, 0));
    EXPECT_TRUE(w().Panels[3]->text().startsWith("X: 0.00")) << w().Panels[3]->text().toStdString();
}

TEST_F(MainWindow, ClearingTheLogsDeletesOnlyLogFiles) {
    const fs::path log = folder_.path() / "Log";
    for (const char* f : {"a.log", "b.LOG", "c.Log", "keep.txt", "log"}) TempProgramFolder::write(log / f, "x");
    fs::create_directories(log / "folder.log");
    w().mnuFile1[6]->trigger();
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(log)) left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"folder.log", "keep.txt", "log"}));
    // Nothing to delete, or no folder at all: nothing is said.
    fs::remove_all(log);
    w().mnuFile1[6]->trigger();
    EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(MainWindow, ClosingDeletesTheAttributeCopiesOnceOneIsThere) {
    struct Case {
        std::vector<const char*> files;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {{"xxattr03.dbf", "xxattr07.dbf", "xxattr_x.dbf", "other.dbf"}, {"other.dbf"}},
        {{"xxattr99.dbf"}, {}},
        {{"xxattr_x.dbf", "xxattr100.dbf", "xxattr3.dbf"}, {"xxattr100.dbf", "xxattr3.dbf", "xxattr_x.dbf"}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files.empty() ? "none" : c.files[0]);
        const fs::path dir = folder_.path() / "copies";
        fs::remove_all(dir);
        fs::create_directories(dir);
        setProgramFolder(dir.string());
        for (const char* f : c.files) TempProgramFolder::write(dir / f, "x");
        w().CloseFormsAndTempFiles();
        std::vector<std::string> left;
        for (const auto& e : fs::directory_iterator(dir)) left.push_back(e.path().filename().string());
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, c.left);
    }
    setProgramFolder(folder_.path().string());
}

TEST_F(MainWindow, ClosingEmptiesTheMapAndClosesOtherWindows) {
    addLayer("a");
    QWidget other;
    other.setObjectName("frmIdentify");
    other.show();
    EXPECT_TRUE(w().close());
    EXPECT_EQ(mapView().layerCount(), 0);
    EXPECT_FALSE(other.isVisible());
}

TEST_F(MainWindow, HelpOpensItsWindowAndClosesWithTheMainWindow) {
    TempProgramFolder::write(folder_.path() / "Velmora600.html", "<html><body><h1>ヘルプ</h1></body></html>");
    conversionState().HelpFile = folder_.file("Velmora600.html");
    conversionState().HelpOpened = false;
    // Not opened: closing finds nothing to close.
    EXPECT_TRUE(w().close());
    EXPECT_EQ(w().findChild<HelpWindow*>(), nullptr);
    w().show();
    w().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w()));
    QTest::keyClick(&w(), Qt::Key_F1);
    EXPECT_TRUE(conversionState().HelpOpened);
    HelpWindow* help = nullptr;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<HelpWindow*>(t)) help = h;
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->browser()->toPlainText().contains("ヘルプ"));
    QPointer<HelpWindow> watched(help);
    EXPECT_TRUE(w().close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull() || !watched->isVisible());
}

TEST_F(MainWindow, VersionBox) {
    ui_.answer(ui::Answer::Ok);
    w().mnuVer->trigger();
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "バージョン情報");
    EXPECT_TRUE(ui_.boxes()[0].text.starts_with("Velmora")) << ui_.boxes()[0].text;
    EXPECT_EQ(ui_.boxes()[0].icon, ui::Icon::Information);
}

// With the tree focused, the window's shortcuts still reach the menu (Ctrl+A is no "select all" here).
TEST_F(MainWindow, ShortcutsReachTheMenuFromTheTree) {
    installCatalogue();
    w().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w()));
    tree().setFocus();
    std::vector<int> tabs;
    const auto record = [&tabs](QDialog& d) {
        tabs.push_back(d.findChild<QTabWidget*>("SSTabData")->currentIndex());
        return int(QDialog::Rejected);
    };
    ui_.answerModal(record).answerModal(record).answer(ui::Answer::Ok);
    QTest::keyClick(&tree(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&tree(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&tree(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(tabs, (std::vector<int>{2, 4}));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "バージョン情報");
}

}  // namespace
