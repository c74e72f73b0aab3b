// Swatches drawn by clsLegendRenderer on the window's 23 x 23 pixel surface at (60, 60) twips, that is
// (4, 4) pixels, 13 x 13 pixels large: the pixels that show each kind, and what the surface keeps.
#include <gtest/gtest.h>

#include <QColor>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/map/MapLayer.h"
#include "platform/map/Symbol.h"
#include "platform/ui/TestApplication.h"
#include "tests/platform/map/MapFixtures.h"
#include "viewer/PictureSurface.h"
#include "viewer/clsLegendRenderer.h"

using namespace velmora;
using namespace velmora::viewer;

namespace {

constexpr std::uint32_t kRed = 0x0000FF;      // 0x00BBGGRR
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kMagenta = 0xFF00FF;

std::uint32_t pixel(const PictureSurface& s, int x, int y) {
    const QRgb c = s.image().pixel(x, y);
    return static_cast<std::uint32_t>(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
}

map::Symbol symbol(int type, int style, double size = 0, bool outline = true) {
    map::Symbol s;
    s.type = type;
    s.style = style;
    s.color = kRed;
    s.outlineColor = kBlue;
    s.outline = outline;
    s.size = size;
    return s;
}

struct Swatch {
    PictureSurface surface{23, 23};
    clsLegendRenderer renderer;
    Swatch() {
        renderer.setPictureBox(&surface);
        renderer.setRendererWidth(13);
        renderer.setRendererHeight(13);
    }
    Swatch& draw(const map::Symbol& s, bool isMA = false) {
        renderer.AddEntry(isMA, &s, 60, 60);
        return *this;
    }
    int count(std::uint32_t colour) const {
        int n = 0;
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 23; ++x) n += pixel(surface, x, y) == colour;
        return n;
    }
};

struct Expected {
    int x, y;
    std::uint32_t colour;
};

TEST(LegendRenderer, PixelsOfEachKind) {
    ui::testApplication();
    struct Case {
        const char* name;
        map::Symbol sym;
        bool isMA;
        std::vector<Expected> pixels;
    };
    const Case cases[] = {
        // Markers are the map's own pictures about the swatch's middle (10.5, 10.5), 7 pixels at size 0.
        {"circle", symbol(0, 0), false, {{10, 10, kRed}, {10, 4, kWhite}, {16, 10, kWhite}, {4, 4, kWhite}}},
        {"square", symbol(0, 1), false, {{10, 10, kRed}, {8, 8, kRed}, {12, 12, kRed}, {5, 10, kWhite}, {16, 10, kWhite}}},
        {"triangle", symbol(0, 2), false,
         {{10, 11, kRed}, {10, 12, kRed}, {8, 8, kWhite}, {13, 8, kWhite}, {10, 4, kWhite}, {10, 16, kWhite}}},
        {"cross", symbol(0, 3), false,
         {{8, 10, kRed}, {13, 10, kRed}, {10, 8, kRed}, {10, 13, kRed}, {8, 8, kWhite}, {13, 13, kWhite}, {2, 10, kWhite}}},
        // The zig-zag from the bottom-left (4, 17) to the top-right (17, 4).
        {"line", symbol(1, 0, 1), false, {{4, 17, kRed}, {17, 4, kRed}, {4, 4, kWhite}, {17, 17, kWhite}}},
        // Every box from (4, 3) to (17, 16), one pixel above the other kinds.
        {"fill shade", symbol(2, 9), false, {{10, 9, kRed}, {4, 3, kBlue}, {17, 16, kBlue}, {10, 17, kWhite}, {10, 2, kWhite}}},
        {"fill transparent", symbol(2, 1), false, {{10, 9, kWhite}, {4, 3, kBlue}, {17, 16, kBlue}, {4, 10, kBlue}}},
        {"fill solid", symbol(2, 0), false, {{10, 9, kRed}, {5, 4, kRed}, {4, 3, kBlue}}},
        {"map area", symbol(0, 0), true, {{10, 9, kMagenta}, {5, 4, kMagenta}, {4, 3, kBlue}, {17, 16, kBlue}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Swatch s;
        s.draw(c.sym, c.isMA);
        for (const Expected& e : c.pixels)
            EXPECT_EQ(pixel(s.surface, e.x, e.y), e.colour) << "at " << e.x << ", " << e.y;
    }
}

// The part of an image that is not white.
QImage drawnPart(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) box |= QRect(x, y, 1, 1);
    return image.copy(box).convertToFormat(QImage::Format_RGB32);
}

// Each marker swatch is the map's marker of the same symbol pixel for pixel, at the symbol's size up to
// the swatch's 13 pixels, centred in the swatch.
TEST(LegendRenderer, MarkerSwatchesAreTheMapsMarkers) {
    ui::testApplication();
    maptest::TempFolder dir("swatch-markers");
    const std::string points = maptest::pointLayer(dir, {{50.5, 49.5}});
    for (int style : {map::symbol::Circle, map::symbol::Square, map::symbol::Triangle, map::symbol::Cross}) {
        for (double size : {0.0, 3.0, 7.0, 11.0, 13.0, 20.0}) {
            for (bool outline : {true, false}) {
                SCOPED_TRACE("style " + std::to_string(style) + " size " + std::to_string(size) +
                             (outline ? " outlined" : ""));
                const map::Symbol sym = symbol(0, style, size, outline);
                Swatch s;
                s.draw(sym);
                const QImage swatch = drawnPart(s.surface.image());

                maptest::TestMap map(100, 100);
                auto layer = std::make_shared<map::MapLayer>(points);
                map::Symbol onMap = sym;
                onMap.size = std::min(size, 13.0);
                layer->setSymbol(onMap);
                map.addLayer(layer);
                map.setExtent(map::MapRect(0, 100, 0, 100));
                const QImage drawn = drawnPart(maptest::drawn(map));

                ASSERT_EQ(swatch.size(), drawn.size());
                EXPECT_GE(swatch.width(), size == 0 ? 7 : std::min(size, 13.0));
                for (int y = 0; y < drawn.height(); ++y)
                    for (int x = 0; x < drawn.width(); ++x)
                        EXPECT_EQ(swatch.pixel(x, y), drawn.pixel(x, y)) << "at " << x << ", " << y;
                // Centred in the swatch, within the half pixel an odd marker leaves on an even surface.
                QRect box;
                for (int y = 0; y < 23; ++y)
                    for (int x = 0; x < 23; ++x)
                        if (pixel(s.surface, x, y) != kWhite) box |= QRect(x, y, 1, 1);
                EXPECT_LE(std::abs((box.left() - 4) - (4 + 13 - 1 - box.right())), 1);
                // Within the 16 x 16 icon the tree shows, from (2, 2).
                EXPECT_TRUE(QRect(2, 2, 16, 16).contains(box)) << box.left() << ", " << box.top() << " "
                                                               << box.width() << " x " << box.height();
            }
        }
    }
}

TEST(LegendRenderer, CrossHatchShowsTheColourAndTheBackground) {
    ui::testApplication();
    Swatch s;
    s.draw(symbol(2, 6));
    EXPECT_GT(s.count(kRed), 10);
    // Inside the box both the pattern and the white between its lines.
    int white = 0;
    for (int y = 5; y < 15; ++y)
        for (int x = 6; x < 16; ++x) white += pixel(s.surface, x, y) == kWhite;
    EXPECT_GT(white, 10);
    EXPECT_EQ(pixel(s.surface, 4, 3), kBlue);
}

TEST(LegendRenderer, LineWidthFollowsTheSizeAndIsGivenBack) {
    ui::testApplication();
    struct Case {
        double size;
        int width;
    };
    std::vector<int> counts;
    for (const Case& c : {Case{12, 5}, Case{3, 3}, Case{0, 1}}) {
        Swatch s;
        int seen = -1;
        // The width in force while the zig-zag is drawn.
        struct Spy : PictureSurface {
            int* seen;
            Spy(int* s) : PictureSurface(23, 23), seen(s) {}
            void line(double x1, double y1, double x2, double y2, std::optional<std::uint32_t> c, bool box) override {
                *seen = settings().drawWidth;
                PictureSurface::line(x1, y1, x2, y2, c, box);
            }
        } spy(&seen);
        s.renderer.setPictureBox(&spy);
        const map::Symbol sym = symbol(1, 0, c.size);
        s.renderer.AddEntry(false, &sym, 60, 60);
        EXPECT_EQ(seen, c.width) << c.size;
        EXPECT_EQ(spy.settings().drawWidth, 1) << c.size;
        int n = 0;
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 23; ++x) n += pixel(spy, x, y) == kRed;
        counts.push_back(n);
    }
    EXPECT_GT(counts[0], counts[1]);
    EXPECT_GT(counts[1], counts[2]);
}

TEST(LegendRenderer, WhatTheSurfaceKeeps) {
    ui::testApplication();
    // An empty symbol draws nothing and leaves the unit alone.
    {
        Swatch s;
        s.renderer.AddEntry(false, nullptr, 60, 60);
        EXPECT_EQ(s.count(kWhite), 23 * 23);
        EXPECT_EQ(s.surface.scaleMode(), scaleMode::Twips);
    }
    // After a marker the fill is transparent black and the border on, whatever they were.
    {
        Swatch s;
        s.surface.setFillStyle(0);
        s.surface.setFillColor(kBlue);
        s.surface.setBorderStyle(0);
        s.draw(symbol(0, 1));
        EXPECT_EQ(s.surface.settings().fillStyle, 1);
        EXPECT_EQ(s.surface.settings().fillColor, 0u);
        EXPECT_EQ(s.surface.settings().borderStyle, 1);
        EXPECT_EQ(s.surface.scaleMode(), scaleMode::Twips);
    }
    // A surface in pixels when it is given takes the position as pixels, and stays in pixels.
    {
        Swatch twips, pixels;
        twips.draw(symbol(2, 0));
        pixels.surface.setScaleMode(scaleMode::Pixels);
        pixels.renderer.setPictureBox(&pixels.surface);
        const map::Symbol sym = symbol(2, 0);
        pixels.renderer.AddEntry(false, &sym, 4, 4);
        EXPECT_EQ(pixels.surface.image(), twips.surface.image());
        EXPECT_EQ(pixels.surface.scaleMode(), scaleMode::Pixels);
    }
}

// A failing surface leaves its unit and settings as they were, so the next swatch lands in its place.
TEST(LegendRenderer, AFailureGivesTheSurfaceBack) {
    ui::testApplication();
    struct Failing : PictureSurface {
        bool fail = true;
        Failing() : PictureSurface(23, 23) {}
        void stamp(const QImage& image, int x, int y) override {
            if (fail) throw std::runtime_error("the surface failed");
            PictureSurface::stamp(image, x, y);
        }
    } surface;
    surface.setFillStyle(3);
    surface.setForeColor(kBlue);
    const SurfaceSettings before = surface.settings();
    clsLegendRenderer renderer;
    renderer.setPictureBox(&surface);
    renderer.setRendererWidth(13);
    renderer.setRendererHeight(13);
    const map::Symbol circle = symbol(0, 0);
    EXPECT_THROW(renderer.AddEntry(false, &circle, 60, 60), std::runtime_error);
    EXPECT_EQ(surface.scaleMode(), scaleMode::Twips);
    EXPECT_EQ(surface.settings(), before);

    surface.fail = false;
    surface.clear();
    renderer.AddEntry(false, &circle, 60, 60);
    EXPECT_EQ(pixel(surface, 10, 10), kRed);
}

}  // namespace
