// The navigation tools and the tool controller's tool side on a real map widget, driven by QTest as a user
// would: clicks and drags with the zoom tools, pans with the pan tool and the right button.
#include "tests/platform/map/MapFixtures.h"

#include <QTest>
#include <gtest/gtest.h>

#include "platform/ui/TestUi.h"
#include "viewer/MapPan.h"
#include "viewer/MapToolSelection.h"
#include "viewer/clsIdentifyTool.h"
#include "viewer/clsPanTool.h"
#include "viewer/clsZoomInTool.h"
#include "viewer/clsZoomOutTool.h"

using namespace velmora;
using namespace velmora::map;
using velmora::viewer::MapToolSelection;
using maptest::expectRect;

namespace {

struct NoSelection : viewer::ThemeSelection {
    std::optional<viewer::SelectedTheme> selectedTheme() const override { return {}; }
    QPoint windowTopLeft() const override { return {}; }
};

// A square map of 200 x 200 pixels showing 0..200 in both directions: pixel (x, y) is map (x, 200 - y).
struct ToolMap : maptest::TestMap {
    ToolMap() : TestMap(200, 200) { setExtent(MapRect(0, 200, 0, 200)); }
};

struct MapTools : ::testing::Test {
    ui::TestUi ui;  // any box fails the test
    ToolMap map;
    MapToolSelection tools;
    NoSelection noSelection;
    MapTools() { tools.MapControl(&map); }

    void drag(Qt::MouseButton b, QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}) {
        QTest::mousePress(&map, b, mods, from);
        QTest::mouseMove(&map, to);
        QTest::mouseRelease(&map, b, mods, to);
    }
    void click(QPoint at, Qt::KeyboardModifiers mods = {}) { drag(Qt::LeftButton, at, at, mods); }
};

TEST_F(MapTools, ClicksZoomInByHalfAndOutByTwoAboutThePoint) {
    tools.CurrentTool(std::make_unique<clsZoomInTool>());
    EXPECT_EQ(tools.ToolType(), 1);
    EXPECT_EQ(map.mousePointer(), pointer::ZoomIn);
    click({50, 150});  // map (50, 50)
    expectRect(map.extent(), MapRect(0, 100, 0, 100));

    map.setExtent(MapRect(0, 200, 0, 200));
    tools.CurrentTool(std::make_unique<clsZoomOutTool>());
    EXPECT_EQ(tools.ToolType(), 2);
    EXPECT_EQ(map.mousePointer(), pointer::ZoomOut);
    click({50, 150});
    expectRect(map.extent(), MapRect(-150, 250, -150, 250));
}

TEST_F(MapTools, DraggedRectangles) {
    struct Case {
        const char* what;
        bool zoomIn;
        QPoint from, to;
        Qt::KeyboardModifiers mods;
        MapRect expected;
    } cases[] = {
        {"zoom in: the rectangle becomes the extent", true, {20, 20}, {60, 60}, {}, MapRect(20, 60, 140, 180)},
        {"zoom in with Shift still zooms", true, {20, 20}, {60, 60}, Qt::ShiftModifier, MapRect(20, 60, 140, 180)},
        // A quarter of the width: four times as wide, about the rectangle's centre (27, 173).
        {"zoom out: the view shrinks into the rectangle", false, {2, 2}, {52, 52}, {}, MapRect(-373, 427, -227, 573)},
        {"zoom out with Ctrl still zooms", false, {2, 2}, {52, 52}, Qt::ControlModifier, MapRect(-373, 427, -227, 573)},
        // Straight down: no width at all, so a click at the press point (50, 50).
        {"zoom in: a rectangle without width is a click", true, {50, 150}, {50, 100}, {}, MapRect(0, 100, 0, 100)},
        {"zoom out: a rectangle without width is a click", false, {50, 150}, {50, 100}, {}, MapRect(-150, 250, -150, 250)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        map.setExtent(MapRect(0, 200, 0, 200));
        if (c.zoomIn)
            tools.CurrentTool(std::make_unique<clsZoomInTool>());
        else
            tools.CurrentTool(std::make_unique<clsZoomOutTool>());
        drag(Qt::LeftButton, c.from, c.to, c.mods);
        expectRect(map.extent(), c.expected);
    }
}

TEST_F(MapTools, ARectangleNarrowerThanTheLimitIsAClick) {
    // A view 0.001 units wide: a drag of 2 pixels is 0.00001 units; of 1 pixel, less.
    map.setExtent(MapRect(0, 0.001, 0, 0.001));
    tools.CurrentTool(std::make_unique<clsZoomInTool>());
    drag(Qt::LeftButton, {100, 100}, {101, 140});
    expectRect(map.extent(), MapRect(0.00025, 0.00075, 0.00025, 0.00075));
}

TEST_F(MapTools, RightDragPansWithEveryToolAndNone) {
    const std::function<std::unique_ptr<viewer::MapTool>()> makers[] = {
        [] { return nullptr; },
        [] { return std::make_unique<clsZoomInTool>(); },
        [] { return std::make_unique<clsZoomOutTool>(); },
        [] { return std::make_unique<clsPanTool>(); },
        [this] { return std::make_unique<clsIdentifyTool>(noSelection); },
    };
    for (const auto& make : makers) {
        tools.CurrentTool(make());
        SCOPED_TRACE(tools.ToolType());
        map.setExtent(MapRect(0, 200, 0, 200));
        const int pointerBefore = map.mousePointer();
        QTest::mousePress(&map, Qt::RightButton, {}, {100, 100});
        EXPECT_EQ(map.mousePointer(), pointer::Panning);
        QTest::mouseMove(&map, {130, 80});
        QTest::mouseRelease(&map, Qt::RightButton, {}, {130, 80});
        // The map followed the pointer 30 right and 20 up.
        expectRect(map.extent(), MapRect(-30, 170, -20, 180));
        EXPECT_EQ(map.mousePointer(), pointerBefore);
    }
    // A right drag with a modifier does not pan.
    map.setExtent(MapRect(0, 200, 0, 200));
    drag(Qt::RightButton, {100, 100}, {130, 80}, Qt::ShiftModifier);
    expectRect(map.extent(), MapRect(0, 200, 0, 200));
}

TEST_F(MapTools, LeftDragPansOnlyWithThePanToolAndWithoutModifiers) {
    tools.CurrentTool(std::make_unique<clsPanTool>());
    EXPECT_EQ(tools.ToolType(), 3);
    EXPECT_EQ(map.mousePointer(), pointer::Pan);
    QTest::mousePress(&map, Qt::LeftButton, {}, {100, 100});
    EXPECT_EQ(map.mousePointer(), pointer::Panning);
    QTest::mouseMove(&map, {90, 110});
    QTest::mouseRelease(&map, Qt::LeftButton, {}, {90, 110});
    expectRect(map.extent(), MapRect(10, 210, 10, 210));
    EXPECT_EQ(map.mousePointer(), pointer::Pan);

    map.setExtent(MapRect(0, 200, 0, 200));
    drag(Qt::LeftButton, {100, 100}, {90, 110}, Qt::ShiftModifier);
    expectRect(map.extent(), MapRect(0, 200, 0, 200));
    EXPECT_EQ(map.mousePointer(), pointer::Pan);

    tools.CurrentTool(nullptr);
    drag(Qt::LeftButton, {100, 100}, {90, 110});
    expectRect(map.extent(), MapRect(0, 200, 0, 200));
}

TEST_F(MapTools, NoToolMeansTypeZeroAndTheArrow) {
    tools.CurrentTool(std::make_unique<clsZoomInTool>());
    tools.CurrentTool(nullptr);
    EXPECT_EQ(tools.ToolType(), 0);
    EXPECT_EQ(tools.currentTool(), nullptr);
    EXPECT_EQ(map.mousePointer(), pointer::Arrow);
    click({50, 150});
    expectRect(map.extent(), MapRect(0, 200, 0, 200));
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(MapTools, OnlyTheCurrentToolListens) {
    tools.CurrentTool(std::make_unique<clsZoomInTool>());
    tools.CurrentTool(std::make_unique<clsZoomOutTool>());
    click({100, 100});
    expectRect(map.extent(), MapRect(-100, 300, -100, 300));  // out by two, not in and out
}

TEST_F(MapTools, AToolWithoutAMapLeavesNoTool) {
    MapToolSelection unbound;
    unbound.CurrentTool(std::make_unique<clsPanTool>());
    EXPECT_EQ(unbound.ToolType(), 0);
    EXPECT_EQ(unbound.currentTool(), nullptr);
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(MapTools, AToolReplacedWhileTheButtonIsHeldDoesNotZoom) {
    tools.CurrentTool(std::make_unique<clsZoomInTool>());
    QTest::mousePress(&map, Qt::LeftButton, {}, {20, 20});
    tools.CurrentTool(std::make_unique<clsPanTool>());
    QTest::mouseRelease(&map, Qt::LeftButton, {}, {60, 60});
    expectRect(map.extent(), MapRect(0, 200, 0, 200));
}

TEST_F(MapTools, MapPanWithoutAMapShowsItsErrorBox) {
    ui.answer(ui::Answer::Ok);
    modCommon::MapPan(nullptr, 1);
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].title, "Error: modMbCommon (MapPan)");
    EXPECT_EQ(ui.boxes()[0].text, "91 オブジェクト変数または With ブロック変数が設定されていません。");
    EXPECT_EQ(ui.boxes()[0].icon, ui::Icon::Critical);
}

}  // namespace
