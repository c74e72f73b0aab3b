// The map in a real window on a real (virtual) screen: a polygon, a line and a point layer, grabbed from the
// screen as a user would see them. The grab is kept in the build folder's "shots".
#include "MapFixtures.h"
#include "platform/map/MapLayer.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

using namespace velmora::map;
using namespace maptest;

namespace {

TEST(MapScreen, PolygonLineAndPointLayersInARealWindow) {
    TempFolder dir("map-screen");
    TestMap map(480, 360);
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    map.setWindowTitle("Velmora map");
    auto set = [](const std::shared_ptr<MapLayer>& l, int type, int style, unsigned rrggbb, double size) {
        Symbol s = l->symbol();
        s.type = type;
        s.style = style;
        s.color = colourFromRgb(rrggbb);
        s.outlineColor = 0;
        s.size = size;
        l->setSymbol(s);
    };
    auto polygons = std::make_shared<MapLayer>(twoSquares(dir));
    auto lines = std::make_shared<MapLayer>(lineLayer(dir, {{{-2, 12}, {15, 2}, {32, 12}}}));
    auto points = std::make_shared<MapLayer>(pointLayer(dir, {{2, 2}, {25, 8}}));
    set(polygons, symbol::Fill, symbol::FillSolid, 0x4E9A06, 0);
    set(lines, symbol::Line, symbol::Solid, 0x3465A4, 3);
    set(points, symbol::Marker, symbol::Circle, 0xCC0000, 14);
    map.addLayer(polygons);
    map.addLayer(lines);
    map.addLayer(points);
    map.setExtent(MapRect(-5, 35, -5, 15));
    map.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    QTest::qWait(200);

    const QPoint origin = map.mapToGlobal(QPoint(0, 0));
    const QImage screen = map.screen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage shot = screen.copy(QRect(origin, map.size()));
    std::filesystem::create_directories(VELMORA_SHOT_DIR);
    shot.save(QString(VELMORA_SHOT_DIR) + "/map-layers.png");

    auto at = [&](double x, double y) {
        const MapPoint p{x, y};
        const MapRect e = map.extent();
        const double s = map.width() / e.width();
        return shot.pixel(int((p.x - e.left) * s), int((e.top - p.y) * s));
    };
    EXPECT_EQ(at(8, 8), rgb(0x4E9A06));   // the fill inside the first square
    EXPECT_EQ(at(2, 2), rgb(0xCC0000));   // the marker on top of it
    EXPECT_EQ(at(5, 5), rgb(0xFFFFFF));   // the hole
    EXPECT_EQ(at(15, -3), rgb(0xFFFFFF)); // the background outside
    EXPECT_EQ(at(15, 2), rgb(0x3465A4));  // the line
}

}  // namespace
