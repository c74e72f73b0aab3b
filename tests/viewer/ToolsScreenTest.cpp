// The identify and attribute table windows over the real main window on a real X display (Xvfb): a screen
// grab while a found polygon flashes shows the highlight on its pixels and the identify window at the main
// window's top-left; the table window's grid is grabbed too. The shots stay in the build folder's
// "screenshots".
#include <QApplication>
#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/map/MapView.h"
#include "platform/ui/TestApplication.h"
#include "tests/convert/core/TempProgramFolder.h"
#include "tests/tools/gen/ShapeFileGen.h"
#include "viewer/ThemeTree.h"
#include "viewer/ToolBand.h"
#include "viewer/clsMapToolControl.h"
#include "viewer/frmIdentify.h"
#include "viewer/frmMapMain.h"
#include "viewer/frmTableView.h"

using namespace velmora;
using namespace velmora::map;

namespace {

QImage grabScreen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

void keep(const QImage& shot, const char* name) {
    std::filesystem::create_directories(VELMORA_SHOT_DIR);
    shot.save(QString(VELMORA_SHOT_DIR) + "/" + name);
}

QRgb rgb(unsigned rrggbb) { return 0xFF000000u | rrggbb; }

TEST(ToolsScreen, AFlashAndTheIdentifyWindowThenTheTableWindow) {
    ui::testApplication();
    testsupport::TempProgramFolder folder;
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    // Two squares side by side with a text and a number field.
    datagen::GenShapeFile f;
    f.shpType = 5;
    f.shapes = {{{datagen::rectangleRing(0, 0, 10, 10)}}, {{datagen::rectangleRing(20, 0, 30, 10)}}};
    f.fields = {{"NAME", 'C', 20, 0}, {"CODE", 'N', 5, 0}, {"AREA", 'N', 12, 3}};
    f.rows = {{"東京都", "13", "2194.050"}, {"ｶﾅ", "27", ""}};  // the second square's area is null
    const std::string shp = datagen::writeShapeFile(folder.file("squares"), f);

    auto* w = new frmMapMain;
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    ASSERT_TRUE(w->pMapTool->AddLayer(shp));
    MapView& map = *w->MainMap;
    Symbol s = map.layer(0)->symbol();
    s.type = symbol::Fill;
    s.style = symbol::FillSolid;
    s.color = colourFromRgb(0x4E9A06);
    s.outlineColor = 0;
    map.layer(0)->setSymbol(s);
    map.setExtent(MapRect(18, 32, -2, 12));
    QTreeWidgetItem* layerNode = viewer::root(w->tvwThemeList, viewer::kMapRootKey)->child(0);
    w->tvwThemeList->setCurrentItem(layerNode);
    layerNode->setSelected(true);
    QTest::mouseClick(w->tbrFunc[1]->button(5), Qt::LeftButton);
    QTest::qWait(200);

    const MapRect e = map.extent();
    const double scale = map.width() / e.width();
    auto pixel = [&](double x, double y) { return QPoint(int((x - e.left) * scale), int((e.top - y) * scale)); };
    QTest::mouseClick(&map, Qt::LeftButton, {}, pixel(25, 5));  // the second square
    frmIdentify* identify = frmIdentify::instance();
    ASSERT_NE(identify, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(identify));
    QTest::qWait(60);  // inside the flash's 150 ms
    const QImage during = grabScreen();
    keep(during, "identify-flash.png");

    const QPoint mapOrigin = map.mapToGlobal(QPoint(0, 0));
    auto onScreen = [&](double x, double y) { return during.pixel(mapOrigin + pixel(x, y)); };
    EXPECT_EQ(onScreen(29.5, 0.5), rgb(0xFFFF00));  // the flashed square, beside the identify window
    EXPECT_EQ(onScreen(31, 5), rgb(0xFFFFFF));      // beside it, the map's background
    EXPECT_EQ(identify->frameGeometry().topLeft(), w->frameGeometry().topLeft());
    EXPECT_EQ(identify->lstRecSet->item(0)->text(), "001:ｶﾅ");
    // The null number is an empty value, not the table's asterisks.
    ASSERT_EQ(identify->lvwIdentifyResults->topLevelItemCount(), 3);
    EXPECT_EQ(identify->lvwIdentifyResults->topLevelItem(1)->text(1), "27");
    EXPECT_EQ(identify->lvwIdentifyResults->topLevelItem(2)->text(0), "AREA");
    EXPECT_EQ(identify->lvwIdentifyResults->topLevelItem(2)->text(1), "");
    keep(grabScreen().copy(identify->frameGeometry()), "identify-window.png");
    QTest::qWait(300);
    EXPECT_EQ(grabScreen().pixel(mapOrigin + pixel(29.5, 0.5)), rgb(0x4E9A06));  // the flash is over

    identify->close();
    QTest::mouseClick(w->tbrFunc[1]->button(6), Qt::LeftButton);
    frmTableView* table = nullptr;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (auto* tv = qobject_cast<frmTableView*>(t)) table = tv;
    ASSERT_NE(table, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(table));
    QTest::qWait(200);
    keep(grabScreen().copy(table->frameGeometry()), "table-window.png");
    EXPECT_EQ(table->tdbZokusei->model()->index(1, 0).data().toString(), "ｶﾅ");
    EXPECT_EQ(table->tdbZokusei->model()->index(0, 2).data().toString().trimmed(), "2194.050");
    EXPECT_EQ(table->tdbZokusei->model()->index(1, 2).data().toString(), "");
    w->close();  // closes the table window, which deletes its copy
    delete w;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(std::filesystem::exists(folder.file("xxattr01.dbf")));
}

}  // namespace
