#pragma once
// Shapefile fixtures of the map's tests, written by the shapefile generator into a temporary folder, and
// helpers to look at what a map drew.
#include "platform/map/MapView.h"
#include "platform/ui/TestApplication.h"
#include "tests/polygon/support/TempFolder.h"
#include "tests/tools/gen/ShapeFileGen.h"

#include <QImage>
#include <gtest/gtest.h>
#include <shapefil.h>

#include <string>

namespace maptest {

using polygontest::TempFolder;
using namespace velmora::datagen;

// A polygon layer of two squares side by side (0..10 and 20..30 in x, 0..10 in y); the first has a hole
// 4..6; both carry a text and a whole-number field.
inline std::string twoSquares(const TempFolder& dir, const std::string& name = "squares") {
    GenShapeFile f;
    f.shpType = SHPT_POLYGON;
    f.shapes = {{{rectangleRing(0, 0, 10, 10), rectangleRing(4, 4, 6, 6)}}, {{rectangleRing(20, 0, 30, 10)}}};
    f.fields = {{"NAME", 'C', 20, 0}, {"CODE", 'N', 5, 0}};
    f.rows = {{"東京都", "13"}, {"ｶﾅ", "27"}};
    return writeShapeFile(dir.file(name), f);
}

inline std::string pointLayer(const TempFolder& dir, std::vector<std::pair<double, double>> points,
                              const std::string& name = "points") {
    GenShapeFile f;
    f.shpType = SHPT_POINT;
    f.fields = {{"ID", 'N', 4, 0}};
    for (std::size_t i = 0; i < points.size(); ++i) {
        f.shapes.push_back({{{points[i]}}});
        f.rows.push_back({std::to_string(i + 1)});
    }
    return writeShapeFile(dir.file(name), f);
}

inline std::string lineLayer(const TempFolder& dir, std::vector<std::vector<std::pair<double, double>>> lines,
                             const std::string& name = "lines") {
    GenShapeFile f;
    f.shpType = SHPT_ARC;
    f.fields = {{"ID", 'N', 4, 0}};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        f.shapes.push_back({{lines[i]}});
        f.rows.push_back({std::to_string(i + 1)});
    }
    return writeShapeFile(dir.file(name), f);
}

struct ApplicationFirst {
    ApplicationFirst() { velmora::ui::testApplication(); }
};

// A map widget of the given size, not shown (grab() draws it).
struct TestMap : ApplicationFirst, velmora::map::MapView {
    TestMap(int w, int h) { resize(w, h); }
};

inline QImage drawn(velmora::map::MapView& map) { return map.grab().toImage().convertToFormat(QImage::Format_RGB32); }

inline void expectRect(const velmora::map::MapRect& got, const velmora::map::MapRect& expected) {
    EXPECT_NEAR(got.left, expected.left, 1e-9);
    EXPECT_NEAR(got.right, expected.right, 1e-9);
    EXPECT_NEAR(got.bottom, expected.bottom, 1e-9);
    EXPECT_NEAR(got.top, expected.top, 1e-9);
}

inline QRgb rgb(unsigned rrggbb) { return 0xFF000000u | rrggbb; }

// The number of pixels of the colour.
inline int countColour(const QImage& img, QRgb c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == c) ++n;
    return n;
}

}  // namespace maptest
