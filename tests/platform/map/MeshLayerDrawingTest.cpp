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

// Pixels painted in `a` (not white) without a pixel painted in `b` within one pixel; with `sameColour`, one
// of the same colour.
int unmatched(const QImage& a, const QImage& b, bool sameColour) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb c = a.pixel(x, y);
            if (c == 0xFFFFFFFF) continue;
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx) {
                    const int u = x + dx, v = y + dy;
                    if (u < 0 || v < 0 || u >= b.width() || v >= b.height()) continue;
                    const QRgb o = b.pixel(u, v);
                    found = sameColour ? o == c : o != 0xFFFFFFFF;
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

    // Views around the layer's middle cell.
    RecordSet all = layer->searchByDistance({137, 35}, 20, "");
    ASSERT_EQ(all.recordCount(), 20000);
    for (int i = 0; i < 10000; ++i) all.moveNext();
    const MapPoint c = all.shape().box.centre();
    struct View {
        MapRect rect;
        bool sameColour;  // cells of a pixel or two show outline or fill by how the rasteriser rounds
    } views[] = {
        {full, false},
        {MapRect(c.x - 3.3, c.x + 3.3, c.y - 2.5, c.y + 2.5), false},  // cells of one to two pixels
        {MapRect(c.x - 0.6, c.x + 0.6, c.y - 0.4, c.y + 0.4), true},   // cells of several pixels
        {MapRect(c.x - 0.03, c.x + 0.03, c.y - 0.02, c.y + 0.02), true},  // cells of over 100 pixels
    };
    for (const auto& [view, sameColour] : views) {
        map.setExtent(view);
        const QImage widget = drawn(map);
        QImage plain(widget.size(), QImage::Format_RGB32);
        plainDrawing(plain, polygons, Viewport::fit(map.extent(), 800, 600), fill, outline);
        const int painted = 800 * 600 - countColour(plain, 0xFFFFFFFF);
        EXPECT_GT(painted, 1000) << view.left;
        EXPECT_EQ(unmatched(widget, plain, sameColour), 0) << view.left;
        EXPECT_EQ(unmatched(plain, widget, sameColour), 0) << view.left;
    }
}

}  // namespace
