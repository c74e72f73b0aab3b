// Pixels of each symbol style, drawn by a real map widget at one pixel per map unit.
#include "MapFixtures.h"
#include "platform/map/MapLayer.h"
#include "platform/map/Symbol.h"

#include <gtest/gtest.h>

using namespace velmora::map;
using namespace maptest;

namespace {

constexpr unsigned Red = 0xFF0000, Blue = 0x0000FF, White = 0xFFFFFF;

class SymbolDrawing : public ::testing::Test {
protected:
    QImage draw(const std::string& path, const Symbol& s) {
        TestMap map(100, 100);
        auto layer = std::make_shared<MapLayer>(path);
        layer->setSymbol(s);
        map.addLayer(layer);
        map.setExtent(MapRect(0, 100, 0, 100));
        return drawn(map);
    }
    TempFolder dir{"map-symbols"};
};

Symbol fill(int style, bool outline = true) {
    Symbol s;
    s.type = symbol::Fill;
    s.style = style;
    s.color = colourFromRgb(Red);
    s.outlineColor = colourFromRgb(Blue);
    s.outline = outline;
    return s;
}

TEST_F(SymbolDrawing, FillStyles) {
    GenShapeFile f;
    f.shpType = SHPT_POLYGON;
    f.shapes = {{{rectangleRing(10, 10, 90, 90)}}};
    const std::string path = writeShapeFile(dir.file("square"), f);
    // Inside the square, away from its outline: pixels 20..79.
    auto interior = [](const QImage& img) { return img.copy(20, 20, 60, 60); };

    const QImage solid = draw(path, fill(symbol::FillSolid));
    EXPECT_EQ(countColour(interior(solid), rgb(Red)), 3600);
    EXPECT_EQ(solid.pixel(10, 50), rgb(Blue));  // outline on the left edge (x = 10)
    EXPECT_EQ(solid.pixel(5, 50), rgb(White));

    const QImage clear = draw(path, fill(symbol::FillTransparent));
    EXPECT_EQ(countColour(interior(clear), rgb(White)), 3600);
    EXPECT_EQ(clear.pixel(10, 50), rgb(Blue));

    const QImage noOutline = draw(path, fill(symbol::FillSolid, false));
    EXPECT_EQ(countColour(noOutline, rgb(Blue)), 0);

    // Hatches: colour at (x, y) repeats along the direction of the lines, and both colours occur.
    struct Hatch {
        int style;
        int dx, dy;  // a step along the lines (y downwards on the image)
    } hatches[] = {{symbol::FillHorizontal, 1, 0}, {symbol::FillVertical, 0, 1},
                   {symbol::FillUpwardDiagonal, 1, -1}, {symbol::FillDownwardDiagonal, 1, 1}};
    for (const auto& h : hatches) {
        const QImage img = interior(draw(path, fill(h.style)));
        int along = 0, total = 0;
        for (int y = 1; y < 59; ++y)
            for (int x = 1; x < 59; ++x) {
                ++total;
                if (img.pixel(x, y) == img.pixel(x + h.dx, y + h.dy)) ++along;
            }
        EXPECT_EQ(along, total) << h.style;
        const int red = countColour(img, rgb(Red));
        EXPECT_GT(red, 0) << h.style;
        EXPECT_EQ(red + countColour(img, rgb(White)), 3600) << h.style;
        EXPECT_LT(red, 1800) << h.style;
    }
    // Cross hatches hold both directions of lines; the shades grow darker from 8 to 10.
    const int cross = countColour(interior(draw(path, fill(symbol::FillCross))), rgb(Red));
    const int horizontal = countColour(interior(draw(path, fill(symbol::FillHorizontal))), rgb(Red));
    EXPECT_GT(cross, horizontal);
    EXPECT_GT(countColour(interior(draw(path, fill(symbol::FillDiagonalCross))), rgb(Red)),
              countColour(interior(draw(path, fill(symbol::FillUpwardDiagonal))), rgb(Red)));
    const int light = countColour(interior(draw(path, fill(symbol::FillLightShade))), rgb(Red));
    const int medium = countColour(interior(draw(path, fill(symbol::FillMediumShade))), rgb(Red));
    const int dark = countColour(interior(draw(path, fill(symbol::FillDarkShade))), rgb(Red));
    EXPECT_LT(0, light);
    EXPECT_LT(light, medium);
    EXPECT_LT(medium, dark);
    EXPECT_LT(dark, 3600);

    // Outline width follows the size, at most 100 pixels.
    Symbol wide = fill(symbol::FillTransparent);
    wide.size = 5;
    const QImage w5 = draw(path, wide);
    int run = 0;
    for (int x = 0; x < 30; ++x) run += w5.pixel(x, 50) == rgb(Blue);
    EXPECT_EQ(run, 5);
}

TEST_F(SymbolDrawing, LineStylesAndWidths) {
    const std::string path = lineLayer(dir, {{{5, 50}, {95, 50}}});
    auto lineSymbol = [](int style, double size) {
        Symbol s;
        s.type = symbol::Line;
        s.style = style;
        s.size = size;
        s.color = colourFromRgb(Red);
        return s;
    };
    // Gaps along the line and the longest dash.
    auto measure = [&](int style) {
        const QImage img = draw(path, lineSymbol(style, 0));
        int gaps = 0, longest = 0, run = 0;
        for (int x = 10; x < 90; ++x) {
            if (img.pixel(x, 50) == rgb(Red)) longest = std::max(longest, ++run);
            else {
                if (run > 0) ++gaps;
                run = 0;
            }
        }
        return std::pair{gaps, longest};
    };
    EXPECT_EQ(measure(symbol::Solid).first, 0);
    const auto dash = measure(symbol::Dash), dot = measure(symbol::Dot);
    EXPECT_GT(dash.first, 3);
    EXPECT_GT(dot.first, dash.first);
    EXPECT_LT(dot.second, dash.second);
    EXPECT_GT(measure(symbol::DashDot).first, dash.first);
    EXPECT_GT(measure(symbol::DashDotDot).first, measure(symbol::DashDot).first);

    auto thickness = [&](double size) {
        const QImage img = draw(path, lineSymbol(symbol::Solid, size));
        int n = 0;
        for (int y = 0; y < 100; ++y) n += img.pixel(50, y) == rgb(Red);
        return n;
    };
    EXPECT_EQ(thickness(0), 1);
    EXPECT_EQ(thickness(4), 4);
    EXPECT_EQ(thickness(500), 100);  // drawn at most 100 pixels wide

    // A line shorter than a pixel still shows its pen's width.
    const QImage shortLine = draw(lineLayer(dir, {{{50, 50}, {50.2, 50}}}, "short"), lineSymbol(symbol::Solid, 9));
    EXPECT_GE(countColour(shortLine, rgb(Red)), 64);
}

TEST_F(SymbolDrawing, MarkerStyles) {
    const std::string path = pointLayer(dir, {{50, 50}});
    auto marker = [](int style, bool outline) {
        Symbol s;
        s.type = symbol::Marker;
        s.style = style;
        s.size = 21;
        s.color = colourFromRgb(Red);
        s.outlineColor = colourFromRgb(Blue);
        s.outline = outline;
        return s;
    };
    const QImage square = draw(path, marker(symbol::Square, false));
    const QImage circle = draw(path, marker(symbol::Circle, false));
    const QImage triangle = draw(path, marker(symbol::Triangle, false));
    const QImage cross = draw(path, marker(symbol::Cross, false));
    for (const QImage* img : {&square, &circle, &triangle})
        EXPECT_EQ(img->pixel(50, 50), rgb(Red));
    // The square reaches its corners, the circle does not; the triangle is narrow at the top.
    EXPECT_EQ(square.pixel(42, 42), rgb(Red));
    EXPECT_EQ(circle.pixel(42, 42), rgb(White));
    EXPECT_EQ(triangle.pixel(44, 43), rgb(White));
    EXPECT_EQ(triangle.pixel(44, 57), rgb(Red));
    EXPECT_GT(countColour(square, rgb(Red)), countColour(circle, rgb(Red)));
    EXPECT_GT(countColour(circle, rgb(Red)), countColour(triangle, rgb(Red)));
    // The cross is two strokes through the centre.
    EXPECT_EQ(cross.pixel(42, 42), rgb(White));
    EXPECT_NE(cross.pixel(42, 50), rgb(White));
    EXPECT_NE(cross.pixel(50, 42), rgb(White));
    // The outline colour only when the outline flag is set.
    // (Markers are smoothed: their edge pixels are blends.)
    auto bluish = [](const QImage& img) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += qBlue(img.pixel(x, y)) > 128 && qRed(img.pixel(x, y)) < 128;
        return n;
    };
    EXPECT_EQ(bluish(circle), 0);
    EXPECT_GT(bluish(draw(path, marker(symbol::Circle, true))), 10);
    // A character marker draws something in its colour.
    Symbol character = marker(symbol::FontCharacter, false);
    character.character = 'A';
    const QImage a = draw(path, character);
    int coloured = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) coloured += a.pixel(x, y) != rgb(White);
    EXPECT_GT(coloured, 10);
}

TEST(Symbol, ColoursKeepRedInTheLowByte) {
    EXPECT_EQ(colourFromRgb(0x123456), 0x563412u);
    EXPECT_EQ(colourToRgb(0x563412), 0x123456u);
    // New layers take turns through a palette of colours and never get the character marker.
    EXPECT_NE(defaultSymbol(21, 0).color, defaultSymbol(21, 1).color);
    for (int i = 0; i < 20; ++i) EXPECT_NE(defaultSymbol(21, i).style, symbol::FontCharacter);
    EXPECT_EQ(defaultSymbol(22, 0).type, symbol::Line);
    EXPECT_EQ(defaultSymbol(23, 0).type, symbol::Fill);
}

}  // namespace
