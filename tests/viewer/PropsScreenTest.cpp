// The property dialog and the map capture in real windows on a real (virtual) screen: the dialog's shot, a
// new fill colour seen inside the polygon, and the captured bitmap halved against the map on the screen.
// The shots are kept in the build folder's "screenshots".
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QPushButton>
#include <QLabel>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "brunhale/ProjectionFile.h"
#include "platform/map/MapLayer.h"
#include "platform/ui/TestUi.h"
#include "tests/viewer/PropFixtures.h"
#include "tests/viewer/PropsWindowFixture.h"
#include "viewer/LayerPropDialog.h"
#include "viewer/MapExport.h"
#include "viewer/frmProp.h"

using namespace velmora;
using namespace velmora::viewer;

namespace {

QImage grabOf(QWidget& w) {
    const QImage screen = w.screen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    return screen.copy(QRect(w.mapToGlobal(QPoint(0, 0)), w.size()));
}

void keep(const QImage& shot, const char* name) {
    std::filesystem::create_directories(VELMORA_SHOT_DIR);
    shot.save(QString(VELMORA_SHOT_DIR) + "/" + name);
}

TEST(PropsScreen, DialogNewFillColourAndCapture) {
    polygontest::TempFolder dir("props-screen");
    TestWindow window;
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    const std::string shp = writePolygonLayer(dir, "都道府県", false, 10, 10, 90, 60);
    std::ofstream(dir.file("都道府県.prj"), std::ios::binary) << brunhale::projectionWkt(2000);
    auto layer = std::make_shared<map::MapLayer>(shp);
    map::Symbol s;
    s.type = map::symbol::Fill;
    s.style = map::symbol::FillDiagonalCross;
    s.color = map::colourFromRgb(0x3465A4);
    s.size = 1;
    layer->setSymbol(s);
    window.view.addLayer(layer);
    window.view.setExtent(map::MapRect(0, 100, 0, 75));
    window.view.setWindowTitle("Velmora map");
    window.view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window.view));
    window.selected = {SelectedNode::Kind::Layer, layer->name(), ""};

    ui::TestUi ui;
    ui.answerModal([](QDialog& d) {
        auto& dialog = dynamic_cast<frmProp&>(d);
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QTest::qWait(200);
        keep(grabOf(dialog), "props-source.png");
        dialog.sstProperty->setCurrentIndex(2);
        QTest::qWait(200);
        keep(grabOf(dialog), "props-symbol.png");
        QTest::mouseClick(dialog.optASymType[0], Qt::LeftButton);
        QTest::mouseClick(dialog.picCol[0], Qt::LeftButton);
        QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        dialog.hide();
        return dialog.result();
    });
    ui.answerColour(0xE0A020);
    ShowLayerPropDialog(window, false);
    QTest::qWait(300);
    const QImage map = grabOf(window.view);
    keep(map, "props-map-after.png");
    EXPECT_EQ(map.pixel(200, 150), 0xFFE0A020u);

    std::string last;
    ui.answerSave(dir.file("capture.bmp"));
    ExportMapImage(window.view, 1, last, dir.path().string());
    const QImage captured(QString::fromStdString(last));
    ASSERT_EQ(captured.size(), window.view.size() * 2);
    const QImage halved = captured.scaled(window.view.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                              .convertToFormat(QImage::Format_RGB32);
    keep(halved, "props-capture-halved.png");
    int differing = 0;
    for (int y = 0; y < map.height(); ++y)
        for (int x = 0; x < map.width(); ++x) {
            const QRgb a = map.pixel(x, y), b = halved.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) > 60)
                ++differing;
        }
    // Every other pixel of the capture (nearest of each 2 x 2) is the screen's, the outline included; a
    // few edge pixels may round the other way.
    EXPECT_LT(differing, map.width() + map.height()) << differing;
}

// The real main window: a new fill colour through the pop-up's property command shows inside the polygon
// and in the layer's tree icon on the screen.
class PropsMainWindowScreen : public testsupport::PropsWindowTest {};

TEST_F(PropsMainWindowScreen, NewFillColourInThePolygonAndTheTreeIcon) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    solidAreaSelected();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w()));
    answerNewColour(0xC02080);
    w().ShowLayerPropDialog(false);
    // Unselected, so that the icon is drawn in its own colours.
    tree().clearSelection();
    QTest::qWait(300);
    const QImage shot = grabOf(w());
    keep(shot, "props-main-window.png");
    const QPoint mapCentre = mapView().mapTo(&w(), mapView().rect().center());
    EXPECT_EQ(shot.pixel(mapCentre) & 0xFFFFFF, 0xC02080u);
    // The icon stands in the node's row, left of its text.
    const QRect row = tree().visualItemRect(mapRoot()->child(0));
    const QPoint rowTopLeft = tree().viewport()->mapTo(&w(), row.topLeft());
    int iconPixels = 0;
    for (int y = rowTopLeft.y(); y < rowTopLeft.y() + row.height(); ++y)
        for (int x = rowTopLeft.x(); x < rowTopLeft.x() + 80; ++x)
            if ((shot.pixel(x, y) & 0xFFFFFF) == 0xC02080u) ++iconPixels;
    EXPECT_GE(iconPixels, 40);
}

}  // namespace
