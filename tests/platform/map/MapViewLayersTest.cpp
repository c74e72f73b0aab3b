// The map's layer list, drawing order and visibility, and its extents.
#include "MapFixtures.h"
#include "platform/errors/RunTimeError.h"
#include "platform/map/MapLayer.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::map;
using namespace maptest;

namespace {

constexpr unsigned Red = 0xFF0000, Blue = 0x0000FF, Green = 0x00FF00, White = 0xFFFFFF;

std::shared_ptr<MapLayer> solidLayer(const std::string& path, unsigned rrggbb) {
    auto l = std::make_shared<MapLayer>(path);
    Symbol s = l->symbol();
    s.color = colourFromRgb(rrggbb);
    s.outline = false;
    l->setSymbol(s);
    return l;
}

std::vector<std::string> names(const MapView& map) {
    std::vector<std::string> n;
    for (int i = 0; i < map.layerCount(); ++i) n.push_back(map.layer(i)->name());
    return n;
}

class MapLayers : public ::testing::Test {
protected:
    TempFolder dir{"map-layers"};
};

TEST_F(MapLayers, IndexZeroIsDrawnOnTopAndInvisibleLayersAreSkipped) {
    // Three overlapping squares: bottom-left 0..60, middle 20..80, top-right 40..100 (in a 100 x 100 view).
    auto square = [&](const std::string& name, double lo, double hi) {
        GenShapeFile f;
        f.shpType = SHPT_POLYGON;
        f.shapes = {{{rectangleRing(lo, lo, hi, hi)}}};
        return writeShapeFile(dir.file(name), f);
    };
    TestMap map(100, 100);
    map.addLayer(solidLayer(square("a", 0, 60), Red));
    map.addLayer(solidLayer(square("b", 20, 80), Green));
    map.addLayer(solidLayer(square("c", 40, 100), Blue));
    map.setExtent(MapRect(0, 100, 0, 100));
    EXPECT_EQ(names(map), (std::vector<std::string>{"c", "b", "a"}));
    const QPoint centre(50, 50);  // inside all three: the last added (index 0) wins
    EXPECT_EQ(drawn(map).pixel(centre), rgb(Blue));

    map.layer(0)->setVisible(false);
    EXPECT_EQ(drawn(map).pixel(centre), rgb(Green));

    map.moveLayer(2, 0);  // "a" to the top
    EXPECT_EQ(names(map), (std::vector<std::string>{"a", "c", "b"}));
    EXPECT_EQ(drawn(map).pixel(centre), rgb(Red));
    map.moveLayer(0, 2);  // removed, then inserted at the end
    EXPECT_EQ(names(map), (std::vector<std::string>{"c", "b", "a"}));

    EXPECT_EQ(map.layerByName("b"), map.layer(1));
    EXPECT_EQ(map.layerByName("B"), nullptr);
    map.removeLayer(1);
    EXPECT_EQ(names(map), (std::vector<std::string>{"c", "a"}));
    EXPECT_EQ(drawn(map).pixel(centre), rgb(Red));  // "c" is still invisible
    for (int bad : {-1, 2}) {
        EXPECT_THROW(map.layer(bad), RunTimeError);
        EXPECT_THROW(map.removeLayer(bad), RunTimeError);
        EXPECT_THROW(map.moveLayer(0, bad), RunTimeError);
    }
    map.clearLayers();
    EXPECT_EQ(map.layerCount(), 0);
    EXPECT_EQ(drawn(map).pixel(centre), rgb(White));
}

TEST_F(MapLayers, PolygonsAreFilledOddEven) {
    // Two rings of one polygon overlapping at 40..60: the overlap is outside by the odd-even rule.
    GenShapeFile f;
    f.shpType = SHPT_POLYGON;
    f.shapes = {{{rectangleRing(0, 0, 60, 100), rectangleRing(40, 0, 100, 100)}}};
    TestMap map(100, 100);
    map.addLayer(solidLayer(writeShapeFile(dir.file("overlap"), f), Red));
    map.setExtent(MapRect(0, 100, 0, 100));
    const QImage img = drawn(map);
    EXPECT_EQ(img.pixel(20, 50), rgb(Red));
    EXPECT_EQ(img.pixel(50, 50), rgb(White));
    EXPECT_EQ(img.pixel(80, 50), rgb(Red));
}

TEST_F(MapLayers, ShapesFarLargerThanTheWindowAreStillDrawnRight) {
    // A view a millionth of a unit wide on the left edge of a 10-unit square, crossed by a diagonal line:
    // the shapes' far ends lie some 10^9 pixels away.
    GenShapeFile f;
    f.shpType = SHPT_POLYGON;
    f.shapes = {{{rectangleRing(0, 0, 10, 10)}}};
    TestMap map(100, 100);
    auto square = solidLayer(writeShapeFile(dir.file("big"), f), Red);
    Symbol s = square->symbol();
    s.outline = true;
    s.outlineColor = colourFromRgb(Blue);
    square->setSymbol(s);
    map.addLayer(square);
    auto line = std::make_shared<MapLayer>(lineLayer(dir, {{{-10, -5}, {10, 15}}}));
    Symbol ls = line->symbol();
    ls.color = colourFromRgb(Green);
    line->setSymbol(ls);
    map.addLayer(line);
    map.setExtent(MapRect(-5e-7, 5e-7, 5 - 5e-7, 5 + 5e-7));
    const QImage img = drawn(map);
    // Where a line falls exactly on a pixel border, rounding puts it on either side.
    auto near = [&](int x, int y, unsigned colour) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (img.pixel(x + dx, y + dy) == rgb(colour)) return true;
        return false;
    };
    EXPECT_EQ(img.pixel(20, 20), rgb(White));  // left of the square
    EXPECT_EQ(img.pixel(80, 20), rgb(Red));    // inside
    EXPECT_TRUE(near(50, 20, Blue));           // its left edge at x = 0
    EXPECT_TRUE(near(50, 50, Green));          // the line through the centre,
    EXPECT_TRUE(near(10, 90, Green));          // rising from bottom left
    EXPECT_TRUE(near(90, 10, Green));          // to top right
}

TEST_F(MapLayers, NewLayersTakePaletteColoursUnlessTheirSymbolWasSet) {
    TestMap map(50, 50);
    auto first = std::make_shared<MapLayer>(twoSquares(dir, "one"));
    auto second = std::make_shared<MapLayer>(twoSquares(dir, "two"));
    map.addLayer(first);
    map.addLayer(second);
    EXPECT_EQ(first->symbol().color, defaultSymbol(23, 0).color);
    EXPECT_EQ(second->symbol().color, defaultSymbol(23, 1).color);
    auto chosen = solidLayer(twoSquares(dir, "three"), Red);
    map.addLayer(chosen);
    EXPECT_EQ(chosen->symbol().color, colourFromRgb(Red));
    EXPECT_THROW(map.addLayer(chosen), RunTimeError);  // already on the map
}

TEST_F(MapLayers, ExtentIsFittedToTheWidgetAndCentred) {
    TestMap map(200, 100);
    struct Case {
        MapRect set, expected;
    } cases[] = {
        {{0, 10, 0, 10}, {-5, 15, 0, 10}},           // square into a wide widget: x widened
        {{0, 40, 0, 10}, {0, 40, -5, 15}},           // wider than the widget: y widened
        {{100, 100, 5, 7}, {98, 102, 5, 7}},         // zero width: 0.01 about the centre, then fitted
        {{3, 3, 4, 4}, {2.99, 3.01, 3.995, 4.005}},  // a point
    };
    for (const auto& c : cases) {
        map.setExtent(c.set);
        expectRect(map.extent(), c.expected);
    }
    // An empty rectangle is ignored.
    map.setExtent(MapRect(0, 40, 0, 10));
    map.setExtent(MapRect());
    map.setExtent(MapRect(5, 1, 0, 10));
    expectRect(map.extent(), MapRect(0, 40, -5, 15));
    // Pixel corners map onto the extent's corners.
    const MapPoint tl = map.toMapPoint(0, 0), br = map.toMapPoint(200, 100);
    EXPECT_NEAR(tl.x, 0, 1e-9);
    EXPECT_NEAR(tl.y, 15, 1e-9);
    EXPECT_NEAR(br.x, 40, 1e-9);
    EXPECT_NEAR(br.y, -5, 1e-9);
    // After a resize the same rectangle is still shown whole.
    map.resize(100, 100);
    expectRect(map.extent(), MapRect(0, 40, -15, 25));
}

TEST_F(MapLayers, FullExtentFollowsAddAndRemoveAndOnlyTheFirstLayerMovesTheView) {
    TestMap map(100, 100);
    // An empty map converts positions all the same.
    const MapPoint p = map.toMapPoint(10, 10);
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    EXPECT_TRUE(map.fullExtent().isEmpty());

    GenShapeFile empty;
    empty.shpType = SHPT_POLYGON;
    const MapRect before = map.extent();
    map.addLayer(std::make_shared<MapLayer>(writeShapeFile(dir.file("empty"), empty)));
    EXPECT_EQ(map.extent(), before);  // a layer without extent leaves the view
    map.clearLayers();

    map.addLayer(std::make_shared<MapLayer>(twoSquares(dir)));
    EXPECT_EQ(map.fullExtent(), MapRect(0, 30, 0, 10));
    expectRect(map.extent(), MapRect(0, 30, -10, 20));
    map.addLayer(std::make_shared<MapLayer>(pointLayer(dir, {{100, 50}})));
    EXPECT_EQ(map.fullExtent(), MapRect(0, 100, 0, 50));
    expectRect(map.extent(), MapRect(0, 30, -10, 20));  // the second layer does not move the view

    map.setFullExtent(MapRect(-5, 105, -5, 55));  // set in between (the viewer's margin)
    EXPECT_EQ(map.fullExtent(), MapRect(-5, 105, -5, 55));
    map.removeLayer(0);
    EXPECT_EQ(map.fullExtent(), MapRect(0, 30, 0, 10));
    map.clearLayers();
    EXPECT_TRUE(map.fullExtent().isEmpty());
}

TEST_F(MapLayers, ChangesAreDrawnOncePerTurnOfTheEventLoop) {
    TestMap map(100, 100);
    auto layer = std::make_shared<MapLayer>(twoSquares(dir));
    map.addLayer(layer);
    QCoreApplication::processEvents();
    const int before = map.renderCount();
    Symbol s = layer->symbol();
    s.color = colourFromRgb(Red);
    layer->setSymbol(s);
    layer->setVisible(false);
    layer->setVisible(true);
    map.setExtent(MapRect(0, 5, 0, 5));
    map.refresh();
    QCoreApplication::processEvents();
    EXPECT_EQ(map.renderCount(), before + 1);
    drawn(map);  // painting without a change draws from the cache
    EXPECT_EQ(map.renderCount(), before + 1);
}

}  // namespace
