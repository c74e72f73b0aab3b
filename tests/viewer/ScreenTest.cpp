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
#include <QTreeWidget>
#include <QWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTextBrowser>
#include <QTextDocument>
#include <filesystem>
#include <functional>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/Main.h"
#include "app/frmDataSelect.h"
#include "platform/ui/TestApplication.h"
#include "platform/ui/UiService.h"
#include "tests/convert/core/TempProgramFolder.h"
#include "platform/map/MapView.h"
#include "tests/tools/gen/ShapeFileGen.h"
#include "viewer/ThemeTree.h"
#include "viewer/HelpWindow.h"
#include "viewer/MainWindowServices.h"
#include "viewer/ToolBand.h"
#include "viewer/clsMapToolControl.h"
#include "viewer/frmMapMain.h"
#include "viewer/frmProp.h"

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
    const fs::path folder = fs::path(VELMORA_SHOT_DIR);
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

// The shipped help page in the help window, opened by the help command: it names every command of the
// menus and tool bands as the window shows it, and never a raw menu marker.
TEST_F(Screen, HelpWindowShowsTheShippedPage) {
    const fs::path source = fs::path(VELMORA_FIXTURES).parent_path().parent_path() / "help" / "Velmora600.html";
    fs::copy_file(source, folder_.path() / "Velmora600.html");
    ASSERT_TRUE(modCommon::Main());
    frmMapMain& w = *frmMapMain::instance();
    ASSERT_TRUE(waitExposed(w));
    w.mnuHelpDisp->trigger();
    viewer::HelpWindow* help = w.findChild<viewer::HelpWindow*>();
    for (QWidget* t : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<viewer::HelpWindow*>(t)) help = h;
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(waitExposed(*help));
    // Read down the page without scrolling sideways. The page is laid out again once the vertical scroll bar
    // takes its width, which a loaded machine may not have done yet: wait for that layout to settle.
    QElapsedTimer settle;
    settle.start();
    while (help->browser()->horizontalScrollBar()->maximum() != 0 && settle.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    shoot(*help, "help-window.png");
    EXPECT_EQ(help->browser()->horizontalScrollBar()->maximum(), 0);
    // The shots of two later parts.
    for (const auto& [anchor, name] : {std::pair{"kinds", "help-window-kinds.png"}, std::pair{"not", "help-window-limits.png"}}) {
        help->browser()->scrollToAnchor(QString::fromUtf8(anchor));
        QCoreApplication::processEvents();
        shoot(*help, name);
    }

    const QString text = help->browser()->document()->toPlainText();
    EXPECT_EQ(help->windowTitle(), "ヘルプ");
    EXPECT_FALSE(text.contains(QStringLiteral("(&"))) << "a raw menu marker";
    // Every command a user can find in the window, as it reads there.
    QStringList commands;
    std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
        for (QAction* a : actions) {
            if (a->isSeparator()) continue;
            QString caption = a->text();
            caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&|\\.\\.\\.$")));
            commands << caption.trimmed().remove(QChar(0x3000));
            if (a->menu()) walk(a->menu()->actions());
        }
    };
    walk(w.menuBar()->actions());
    for (ToolBand* band : w.tbrFunc)
        for (int b = 1; b <= band->buttonCount(); ++b) commands << band->button(b)->toolTip();
    for (const QString& command : commands) EXPECT_TRUE(text.contains(command)) << command.toStdString();
    // What the page must tell besides the commands.
    for (const char* topic : {"変換できるデータ項目", "DataDBF.csv", "DataDBFItem.csv", "ファイル一覧の変換",
                              "全国ファイルの変換", "日本測地系", "世界測地系", "出力しない", "Log",
                              "道路060315140509.log", "このプログラムでできないこと", "DataSyusui.csv"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(topic))) << topic;
}

// How far apart two colours are, channel by channel.
int distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

// Pixels of the grab within `area` close to the colour.
int near(const QImage& grab, const QRect& area, QRgb colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (grab.rect().contains(x, y) && distance(grab.pixel(x, y), colour) < 40) ++n;
    return n;
}

// The window with a polygon, a line and a point layer and a table, as the screen shows it: each layer's
// colour in the map and in its swatch beside its node.
TEST_F(Screen, MainWindowWithLayersAndATable) {
    ASSERT_TRUE(modCommon::Main());
    frmMapMain& w = *frmMapMain::instance();
    const fs::path data = folder_.path() / "data";
    fs::create_directories(data);
    const auto layer = [&](const char* name, int shpType, std::vector<std::vector<std::pair<double, double>>> parts) {
        datagen::GenShapeFile f;
        f.shpType = shpType;
        for (auto& part : parts) f.shapes.push_back({{part}});
        return datagen::writeShapeFile((data / name).string(), f);
    };
    ASSERT_TRUE(w.pMapTool->AddLayer(layer("area", 5, {datagen::rectangleRing(139.6, 35.6, 139.8, 35.7)})));
    ASSERT_TRUE(w.pMapTool->AddLayer(layer("coast", 3, {{{139.6, 35.6}, {139.8, 35.7}}})));
    ASSERT_TRUE(w.pMapTool->AddLayer(layer("ports", 1, {{{139.70, 35.66}}, {{139.76, 35.69}}})));
    testsupport::TempProgramFolder::write(data / "ledger.dbf", "table");
    ASSERT_TRUE(w.pMapTool->AddTable((data / "ledger.dbf").string()));
    ASSERT_TRUE(waitExposed(w));
    map::MapView& map = *w.MainMap;
    map::MapRect view = map.fullExtent();
    view.scaleAboutCentre(1.1);
    map.setExtent(view);
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    shoot(w, "main-window-layers.png");
    const QImage grab = w.screen()->grabWindow(w.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(grab.isNull());
    const double ratio = double(grab.width()) / w.width();
    const auto onScreen = [&](QWidget* widget, QPoint p) {
        const QPoint at = widget->mapTo(&w, p);
        return QPoint(int(at.x() * ratio), int(at.y() * ratio));
    };
    // Map to pixel from two readings of the pixel to map conversion.
    const map::MapPoint origin = map.toMapPoint(0, 0), unit = map.toMapPoint(1, 1);
    const auto pixelOf = [&](double x, double y) {
        return QPoint(int((x - origin.x) / (unit.x - origin.x)), int((y - origin.y) / (unit.y - origin.y)));
    };
    const auto colourOf = [&](const char* name) {
        return QRgb(map::colourToRgb(map.layerByName(name)->symbol().color) | 0xFF000000u);
    };
    // Inside the polygon away from the others; on the line's middle; on a point.
    const QPoint inArea = onScreen(&map, pixelOf(139.62, 35.69));
    EXPECT_LT(distance(grab.pixel(inArea), colourOf("area")), 40);
    EXPECT_GT(near(grab, QRect(onScreen(&map, pixelOf(139.7, 35.65)) - QPoint(3, 3), QSize(7, 7)), colourOf("coast")), 0);
    EXPECT_GT(near(grab, QRect(onScreen(&map, pixelOf(139.76, 35.69)) - QPoint(4, 4), QSize(9, 9)), colourOf("ports")), 0);

    QTreeWidget* tree = w.tvwThemeList;
    const QTreeWidgetItem* layers = viewer::root(tree, viewer::kMapRootKey);
    ASSERT_EQ(layers->childCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const QTreeWidgetItem* node = layers->child(i);
        const QRect row = tree->visualItemRect(node);
        const QRect area(onScreen(tree->viewport(), row.topLeft()), onScreen(tree->viewport(), row.bottomRight()));
        EXPECT_GT(near(grab, area, colourOf(node->text(0).toUtf8().constData())), 2) << node->text(0).toStdString();
    }
    EXPECT_EQ(viewer::root(tree, viewer::kTableRootKey)->child(0)->text(0), "ledger.dbf");
}

// The box around the pixels of `area` in about the colour given.
QRect colourBox(const QImage& grab, const QRect& area, QRgb colour) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (grab.rect().contains(x, y) && distance(grab.pixel(x, y), colour) < 60) box |= QRect(x, y, 1, 1);
    return box;
}

// Point layers of each marker, at the default size and at a size of their own: the swatch beside each
// node is the marker the map draws, as large, whether the tree drew it when the layer was added or the
// property dialog renewed it.
TEST_F(Screen, PointSwatchesAreAsLargeAsTheMapsMarkers) {
    ASSERT_TRUE(modCommon::Main());
    frmMapMain& w = *frmMapMain::instance();
    const fs::path data = folder_.path() / "data";
    fs::create_directories(data);
    struct Marker {
        const char* name;
        int style;
        double size;
        double x;
    };
    const Marker markers[] = {{"circle", map::symbol::Circle, 0, 139.60},   {"square", map::symbol::Square, 0, 139.64},
                              {"triangle", map::symbol::Triangle, 0, 139.68}, {"cross", map::symbol::Cross, 0, 139.72},
                              {"big", map::symbol::Circle, 11, 139.76},     {"small", map::symbol::Square, 6, 139.80}};
    for (const Marker& m : markers) {
        datagen::GenShapeFile f;
        f.shpType = 1;
        f.shapes.push_back({{{{m.x, 35.65}}}});
        ASSERT_TRUE(w.pMapTool->AddLayer(datagen::writeShapeFile((data / m.name).string(), f)));
    }
    viewer::MainWindowServices services(w);
    for (const Marker& m : markers) {
        if (m.style == map::symbol::Circle && m.size == 0) continue;  // the swatch drawn when it was added
        map::Symbol s = w.MainMap->layerByName(m.name)->symbol();
        s.style = m.style;
        s.size = m.size;
        w.MainMap->layerByName(m.name)->setSymbol(s);
        services.renewLayerIcon(m.name, 50, 50);
    }
    ASSERT_TRUE(waitExposed(w));
    QTreeWidget* tree = w.tvwThemeList;
    tree->clearSelection();
    tree->setCurrentItem(nullptr);
    map::MapView& map = *w.MainMap;
    map.setExtent(map::MapRect(139.58, 139.82, 35.60, 35.70));
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    shoot(w, "main-window-markers.png");
    const QImage grab = w.screen()->grabWindow(w.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(grab.size(), w.size());
    const map::MapPoint origin = map.toMapPoint(0, 0), unit = map.toMapPoint(1, 1);
    const QTreeWidgetItem* layers = viewer::root(tree, viewer::kMapRootKey);
    for (const Marker& m : markers) {
        SCOPED_TRACE(m.name);
        const QPoint onMap = map.mapTo(&w, QPoint(int((m.x - origin.x) / (unit.x - origin.x)),
                                                 int((35.65 - origin.y) / (unit.y - origin.y))));
        const QRgb colour = QRgb(map::colourToRgb(map.layerByName(m.name)->symbol().color) | 0xFF000000u);
        const QRect marker = colourBox(grab, QRect(onMap - QPoint(12, 12), QSize(25, 25)), colour);
        const QTreeWidgetItem* node = nullptr;
        for (int i = 0; i < layers->childCount(); ++i)
            if (layers->child(i)->text(0) == m.name) node = layers->child(i);
        ASSERT_NE(node, nullptr);
        // The node's icon, where the tree's style puts it in the row (after the check box, before the text).
        QStyleOptionViewItem option;
        option.initFrom(tree);
        option.rect = tree->visualItemRect(node);
        option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration |
                          QStyleOptionViewItem::HasCheckIndicator;
        option.decorationSize = tree->iconSize();
        option.text = node->text(0);
        const QRect icon = tree->style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, tree);
        // A little wider: the tree may place it a pixel or two off the style's rectangle.
        const QRect iconArea(tree->viewport()->mapTo(&w, icon.topLeft()), icon.size());
        const QRect swatch = colourBox(grab, iconArea.adjusted(-2, 0, 2, 0), colour);
        EXPECT_GE(marker.width(), m.size > 0 ? m.size - 2 : 5);
        EXPECT_EQ(swatch.size(), marker.size()) << "map " << marker.width() << " x " << marker.height()
                                                << ", swatch " << swatch.width() << " x " << swatch.height();
    }

    // The symbol tab of the circle's properties gives the size the map draws it at.
    for (int i = 0; i < layers->childCount(); ++i)
        if (layers->child(i)->text(0) == "circle") tree->setCurrentItem(layers->child(i));
    QString shownSize;
    when([] { return activeModal<frmProp>(); },
         [&](QWidget& d) {
             auto& dialog = static_cast<frmProp&>(d);
             shownSize = dialog.txtSize->text();
             shoot(dialog, "props-marker-size.png");
             dialog.cmdCancel->click();
         });
    w.ShowLayerPropDialog(true);
    EXPECT_EQ(shownSize.toStdString(), "7");
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
