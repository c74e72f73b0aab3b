// Flashing shapes and exporting the view as a bitmap.
#include "MapFixtures.h"
#include "platform/errors/RunTimeError.h"
#include "platform/map/MapLayer.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace velmora;
using namespace velmora::map;
using namespace maptest;
namespace fs = std::filesystem;

namespace {

constexpr unsigned Red = 0xFF0000, Blue = 0x0000FF, White = 0xFFFFFF;

TEST(MapFlashing, FlashesEachShapeItsCountOfTimesOneAfterTheOther) {
    TempFolder dir("map-flash");
    TestMap map(100, 100);
    map.addLayer(std::make_shared<MapLayer>(twoSquares(dir)));
    map.setExtent(MapRect(0, 30, -10, 20));
    RecordSet rs = map.layer(0)->searchShape({25, 5}, 12, "");
    QSignalSpy flashed(&map, &MapView::flashed);
    map.flashShape(rs.shape(), 2);
    map.flashShape(rs.shape(), 1);
    map.flashShape(MapShape(), 5);  // a null shape has nothing to flash
    map.flashShape(rs.shape(), 0);
    // While a flash is on, the shape is highlighted over the cached map.
    EXPECT_EQ(drawn(map).pixel(80, 50), rgb(0xFFFF00));
    EXPECT_TRUE(flashed.isEmpty());
    for (int i = 0; i < 3 && flashed.count() < 3;) {
        ASSERT_TRUE(flashed.wait(2000));
        i = static_cast<int>(flashed.count());
    }
    QTest::qWait(300);
    EXPECT_EQ(flashed.count(), 3);
    EXPECT_NE(drawn(map).pixel(80, 50), rgb(0xFFFF00));
}

class MapExporting : public ::testing::Test {
protected:
    void SetUp() override {
        auto layer = std::make_shared<MapLayer>(twoSquares(dir));
        Symbol s = layer->symbol();
        s.color = colourFromRgb(Red);
        s.outlineColor = colourFromRgb(Blue);
        layer->setSymbol(s);
        map.addLayer(layer);
        map.setExtent(MapRect(0, 30, 0, 10));  // 5 pixels per unit horizontally in 150 x 60
    }
    TempFolder dir{"map-export"};
    TestMap map{150, 60};
};

TEST_F(MapExporting, WritesA24BitBitmapAtTheScaleWithLengthsScaled) {
    const std::string path = dir.file("map.bmp");
    polygontest::write_file(path, "an older file");
    map.exportMap(1, path, 2.0);
    const std::string bytes = polygontest::read_file(path);
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 24);  // bits per pixel
    QImage img(QString::fromStdString(path));
    ASSERT_EQ(img.size(), QSize(300, 120));
    // The view at twice the size: the same drawing, outlines 2 pixels wide.
    // (10 pixels per unit; the view spans y -1..11.)
    EXPECT_EQ(img.pixel(20, 60), rgb(Red));
    EXPECT_EQ(img.pixel(50, 60), rgb(White));   // in the hole
    EXPECT_EQ(img.pixel(150, 60), rgb(White));  // between the squares
    int outline = 0;
    for (int x = 195; x < 205; ++x) outline += img.pixel(x, 60) == rgb(Blue);
    EXPECT_EQ(outline, 2);  // the left edge of the second square at x = 20 → pixel 200
    // Nothing but the bitmap is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 4);  // .shp .shx .dbf .bmp
}

TEST_F(MapExporting, RefusesOtherKindsAndScales) {
    for (auto [kind, scale] : std::vector<std::pair<int, double>>{{0, 2.0}, {2, 2.0}, {1, 0.0}, {1, -1.0}}) {
        try {
            map.exportMap(kind, dir.file("x.bmp"), scale);
            ADD_FAILURE() << kind << " " << scale;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 5);
        }
    }
    EXPECT_FALSE(fs::exists(dir.file("x.bmp")));
}

TEST_F(MapExporting, FailureToWriteThrows75AndLeavesNothing) {
    std::vector<std::string> targets = {dir.file("no-such-folder/map.bmp")};
    const fs::path locked = dir.path() / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    // Permissions do not stop the superuser; a folder of /proc takes no new files from anyone.
    targets.push_back(::geteuid() == 0 ? "/proc/velmora-map.bmp" : (locked / "map.bmp").string());
    for (const auto& target : targets) {
        try {
            map.exportMap(1, target, 2.0);
            ADD_FAILURE() << target;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 75) << target;
            EXPECT_NE(e.description().find(target), std::string::npos);
        }
        EXPECT_FALSE(fs::exists(target));
    }
    EXPECT_TRUE(fs::is_empty(locked));
    fs::permissions(locked, fs::perms::owner_all);
}

}  // namespace
