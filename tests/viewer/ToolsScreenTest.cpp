// The identify and attribute table windows on a real X display (Xvfb): a screen grab while a found polygon
// flashes shows the highlight on its pixels and the identify window at the owning window's top-left; the
// table window's grid is grabbed too. The shots stay in the build folder's "screenshots".
#include "tests/platform/map/MapFixtures.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/map/CompanionFile.h"
#include "platform/map/MapLayer.h"
#include "viewer/MapToolSelection.h"
#include "viewer/TableViewOpening.h"
#include "viewer/clsIdentifyTool.h"
#include "viewer/frmIdentify.h"
#include "viewer/frmTableView.h"

using namespace velmora;
using namespace velmora::map;
using maptest::TempFolder;

namespace {

// A stand-in for the main window: a map in a window, the layer "squares" selected.
struct OwnerWindow : maptest::ApplicationFirst, QWidget, viewer::ThemeSelection {
    MapView* map = new MapView(this);
    OwnerWindow() {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(map);
        setWindowTitle("Velmora tools");
        resize(640, 480);
        move(300, 200);
    }
    std::optional<viewer::SelectedTheme> selectedTheme() const override {
        return viewer::SelectedTheme{true, "squares", "squares.dbf"};
    }
    QPoint windowTopLeft() const override { return frameGeometry().topLeft(); }
};

QImage grabScreen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

void keep(const QImage& shot, const char* name) {
    std::filesystem::create_directories(VELMORA_SHOT_DIR);
    shot.save(QString(VELMORA_SHOT_DIR) + "/" + name);
}

TEST(ToolsScreen, AFlashAndTheIdentifyWindowThenTheTableWindow) {
    TempFolder dir("tools-screen");
    OwnerWindow owner;
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    auto squares = std::make_shared<MapLayer>(maptest::twoSquares(dir));
    Symbol s = squares->symbol();
    s.type = symbol::Fill;
    s.style = symbol::FillSolid;
    s.color = colourFromRgb(0x4E9A06);
    s.outlineColor = 0;
    squares->setSymbol(s);
    owner.map->addLayer(squares);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    owner.map->setExtent(MapRect(-5, 35, -10, 20));
    QTest::qWait(200);

    viewer::MapToolSelection tools;
    tools.MapControl(owner.map);
    tools.CurrentTool(std::make_unique<clsIdentifyTool>(owner));
    const MapRect e = owner.map->extent();
    const double scale = owner.map->width() / e.width();
    auto pixel = [&](double x, double y) { return QPoint(int((x - e.left) * scale), int((e.top - y) * scale)); };
    QTest::mouseClick(owner.map, Qt::LeftButton, {}, pixel(25, 5));  // the second square
    frmIdentify* identify = frmIdentify::instance();
    ASSERT_NE(identify, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(identify));
    QTest::qWait(60);  // inside the flash's 150 ms
    const QImage during = grabScreen();
    keep(during, "identify-flash.png");

    const QPoint mapOrigin = owner.map->mapToGlobal(QPoint(0, 0));
    auto onScreen = [&](double x, double y) { return during.pixel(mapOrigin + pixel(x, y)); };
    EXPECT_EQ(onScreen(29, 1), maptest::rgb(0xFFFF00));  // the flashed square, uncovered by the window
    EXPECT_EQ(onScreen(33, 5), maptest::rgb(0xFFFFFF));  // beside it, the map's background
    EXPECT_EQ(identify->frameGeometry().topLeft(), owner.frameGeometry().topLeft());
    EXPECT_EQ(identify->lstRecSet->item(0)->text(), "001:ｶﾅ");
    QTest::qWait(300);
    EXPECT_EQ(grabScreen().pixel(mapOrigin + pixel(29, 1)), maptest::rgb(0x4E9A06));  // the flash is over

    identify->close();
    TempFolder program("tools-screen-program");
    viewer::openTableView(viewer::SelectedTheme{true, "squares", companionFile(squares->filePath(), ".dbf")},
                          program.path().string());
    frmTableView* table = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<frmTableView*>(w)) table = t;
    ASSERT_NE(table, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(table));
    QTest::qWait(200);
    const QImage tableShot = grabScreen().copy(table->frameGeometry());
    keep(tableShot, "table-window.png");
    EXPECT_EQ(table->tdbZokusei->model()->index(1, 0).data().toString(), "ｶﾅ");
    table->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(std::filesystem::is_empty(program.path()));
}

}  // namespace
