// Mouse events, rectangle tracking and pan, driven by QTest as a user would.
#include "MapFixtures.h"
#include "platform/map/MapLayer.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora::map;
using namespace maptest;

namespace {

// A 200 x 100 map showing 0..200 x 0..100: one pixel per map unit, y upwards.
struct UnitMap : TestMap {
    UnitMap() : TestMap(200, 100) { setExtent(MapRect(0, 200, 0, 100)); }
};

TEST(MapMouse, ReportsButtonAndShiftCodes) {
    UnitMap map;
    QSignalSpy down(&map, &MapView::mouseDown);
    QSignalSpy move(&map, &MapView::mouseMove);
    struct Case {
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
        int buttonCode, shiftCode;
    } cases[] = {
        {Qt::LeftButton, Qt::NoModifier, 1, 0},
        {Qt::RightButton, Qt::NoModifier, 2, 0},
        {Qt::LeftButton, Qt::ShiftModifier, 1, 1},
        {Qt::LeftButton, Qt::ControlModifier, 1, 2},
        {Qt::RightButton, Qt::AltModifier, 2, 4},
        {Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, 1, 7},
    };
    for (const auto& c : cases) {
        down.clear();
        QTest::mousePress(&map, c.button, c.modifiers, QPoint(30, 40));
        QTest::mouseRelease(&map, c.button, c.modifiers, QPoint(30, 40));
        ASSERT_EQ(down.count(), 1);
        EXPECT_EQ(down[0], (QList<QVariant>{c.buttonCode, c.shiftCode, 30, 40}));
    }
    // Moves without a button reach a shown widget (the coordinate display).
    map.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    move.clear();
    QTest::mouseMove(&map, QPoint(12, 34));
    ASSERT_GE(move.count(), 1);
    EXPECT_EQ(move.last()[2].toInt(), 12);
    EXPECT_EQ(move.last()[3].toInt(), 34);
    const MapPoint p = map.toMapPoint(12, 34);
    EXPECT_NEAR(p.x, 12, 1e-9);
    EXPECT_NEAR(p.y, 66, 1e-9);
}

TEST(MapMouse, TracksARectangleFromPressToRelease) {
    UnitMap map;
    std::vector<MapRect> results;
    QObject::connect(&map, &MapView::mouseDown, [&](int, int, int, int) {
        map.trackRectangle([&](const MapRect& r) { results.push_back(r); });
    });
    QTest::mousePress(&map, Qt::LeftButton, {}, QPoint(10, 20));
    QTest::mouseMove(&map, QPoint(40, 50));
    // The rubber band is drawn over the map while the button is held.
    const QImage during = drawn(map);
    EXPECT_NE(during.pixel(10, 35), rgb(0xFFFFFF));
    EXPECT_TRUE(results.empty());
    QTest::mouseMove(&map, QPoint(60, 70));
    QTest::mouseRelease(&map, Qt::LeftButton, {}, QPoint(60, 70));
    ASSERT_EQ(results.size(), 1u);
    expectRect(results[0], MapRect(10, 60, 30, 80));
    EXPECT_EQ(drawn(map).pixel(10, 35), rgb(0xFFFFFF));  // gone after the release

    // Dragged up and left: the same rectangle, normalised.
    QTest::mousePress(&map, Qt::LeftButton, {}, QPoint(60, 70));
    QTest::mouseRelease(&map, Qt::LeftButton, {}, QPoint(10, 20));
    ASSERT_EQ(results.size(), 2u);
    expectRect(results[1], MapRect(10, 60, 30, 80));

    // A click gives a rectangle of width 0.
    QTest::mouseClick(&map, Qt::LeftButton, {}, QPoint(100, 50));
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[2].width(), 0);
    EXPECT_FALSE(results[2].isEmpty());

    // A release that never reached the map (the pointer was grabbed elsewhere) ends the tracking with
    // nothing at the next press, which starts afresh.
    QTest::mousePress(&map, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(7, 7), QPointF(7, 7), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&map, &press);
    ASSERT_EQ(results.size(), 4u);
    EXPECT_TRUE(results[3].isEmpty());
    QTest::mouseRelease(&map, Qt::LeftButton, {}, QPoint(9, 9));
    ASSERT_EQ(results.size(), 5u);
    expectRect(results[4], MapRect(7, 9, 91, 93));

    // Without a button held there is nothing to track.
    MapRect outside(1, 2, 3, 4);
    map.trackRectangle([&](const MapRect& r) { outside = r; });
    EXPECT_TRUE(outside.isEmpty());
}

TEST(MapMouse, PansWithTheDragAndCallsBackOnRelease) {
    TempFolder dir("map-pan");
    UnitMap map;
    auto layer = std::make_shared<MapLayer>(pointLayer(dir, {{100, 50}}));
    Symbol s = layer->symbol();
    s.style = symbol::Square;
    s.size = 9;
    s.color = colourFromRgb(0xFF0000);
    s.outline = false;
    layer->setSymbol(s);
    map.addLayer(layer);
    map.setExtent(MapRect(0, 200, 0, 100));
    int done = 0;
    QObject::connect(&map, &MapView::mouseDown, [&](int button, int, int, int) {
        if (button == 2) map.pan([&] { ++done; });
    });
    ASSERT_EQ(drawn(map).pixel(100, 50), rgb(0xFF0000));
    QTest::mousePress(&map, Qt::RightButton, {}, QPoint(100, 50));
    QTest::mouseMove(&map, QPoint(130, 40));
    // While dragging, the drawn map follows the pointer.
    const QImage during = drawn(map);
    EXPECT_EQ(during.pixel(130, 40), rgb(0xFF0000));
    EXPECT_EQ(during.pixel(100, 50), rgb(0xFFFFFF));
    EXPECT_EQ(done, 0);
    QTest::mouseRelease(&map, Qt::RightButton, {}, QPoint(130, 40));
    EXPECT_EQ(done, 1);
    // The map moved with the pointer: 30 units east, 10 north.
    expectRect(map.extent(), MapRect(-30, 170, -10, 90));
    EXPECT_EQ(drawn(map).pixel(130, 40), rgb(0xFF0000));
}

TEST(MapMouse, PointerCodesSetCursorShapes) {
    UnitMap map;
    struct Case {
        int code;
        Qt::CursorShape shape;
    } cases[] = {{0, Qt::ArrowCursor}, {1, Qt::ArrowCursor}, {2, Qt::CrossCursor}, {51, Qt::BitmapCursor},
                 {52, Qt::BitmapCursor}, {53, Qt::OpenHandCursor}, {54, Qt::ClosedHandCursor}};
    for (const auto& c : cases) {
        map.setMousePointer(c.code);
        EXPECT_EQ(map.mousePointer(), c.code);
        EXPECT_EQ(map.cursor().shape(), c.shape) << c.code;
    }
}

}  // namespace
