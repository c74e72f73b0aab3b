// A nationwide layer of mesh cells drawn by the map (index, pixel shortcut, clipping) against the plain
// drawing of every polygon: the same pixels in the same colours, within one pixel.
#include "MapFixtures.h"
#include "PlainDrawing.h"
#include "platform/map/MapLayer.h"
#include "platform/map/MapRenderer.h"

#include <gtest/gtest.h>

using namespace velmora::map;
using namespace maptest;

namespace {

// Pixels of `a` (not white) without a pixel of the same colour in `b` within one pixel.
int unmatched(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb c = a.pixel(x, y);
            if (c == 0xFFFFFFFF) continue;
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx) {
                    const int u = x + dx, v = y + dy;
                    found = u >= 0 && v >= 0 && u < b.width() && v < b.height() && b.pixel(u, v) == c;
                }
            n += !found;
        }
    return n;
}

TEST(MeshLayerDrawing, PaintsThePixelsOfThePlainDrawing) {
    TempFolder dir("map-mesh");
    const std::string path = writeMeshCellLayer(dir.file("mesh"), 20000);
    TestMap map(800, 600);
    auto layer = std::make_shared<MapLayer>(path);
    ASSERT_EQ(layer->shapeCount(), 20000);
    const MapRect full = layer->extent();
    EXPECT_GE(full.left, 122);
    EXPECT_LE(full.right, 154);
    EXPECT_GE(full.bottom, 20);
    EXPECT_LE(full.top, 46);
    map.addLayer(layer);
    const QColor fill = toQColor(layer->symbol().color), outline = toQColor(layer->symbol().outlineColor);
    const auto polygons = readPolygons(path);

    // Around a cell in the middle of the layer: a block of cells of several pixels each, and a few cells far
    // larger than the window.
    RecordSet all = layer->searchByDistance({137, 35}, 20, "");
    ASSERT_EQ(all.recordCount(), 20000);
    for (int i = 0; i < 10000; ++i) all.moveNext();
    const MapPoint c = all.shape().box.centre();
    const MapRect zoomed(c.x - 0.6, c.x + 0.6, c.y - 0.4, c.y + 0.4);
    const MapRect close(c.x - 0.03, c.x + 0.03, c.y - 0.02, c.y + 0.02);
    for (const MapRect& view : {full, zoomed, close}) {
        map.setExtent(view);
        const QImage widget = drawn(map);
        QImage plain(widget.size(), QImage::Format_RGB32);
        plainDrawing(plain, polygons, Viewport::fit(map.extent(), 800, 600), fill, outline);
        const int painted = 800 * 600 - countColour(plain, 0xFFFFFFFF);
        EXPECT_GT(painted, 1000) << view.left;
        EXPECT_EQ(unmatched(widget, plain), 0) << view.left;
        EXPECT_EQ(unmatched(plain, widget), 0) << view.left;
    }
}

}  // namespace
