// The add-theme dialog and the map capture through the scripted dialogs, on a bare map.
#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/errors/RunTimeError.h"
#include "platform/map/MapLayer.h"
#include "platform/ui/TestUi.h"
#include "tests/viewer/PropFixtures.h"
#include "viewer/AddThemeDialog.h"
#include "viewer/MapExport.h"

using namespace velmora;
using namespace velmora::viewer;
using polygontest::TempFolder;
using Node = std::tuple<std::string, std::string, bool>;

namespace {

void expectRect(const map::MapRect& got, const map::MapRect& expected) {
    EXPECT_NEAR(got.left, expected.left, 1e-9);
    EXPECT_NEAR(got.right, expected.right, 1e-9);
    EXPECT_NEAR(got.bottom, expected.bottom, 1e-9);
    EXPECT_NEAR(got.top, expected.top, 1e-9);
}

struct AddThemeTest : ::testing::Test {
    TempFolder dir{"props-add"};
    TestWindow window;
    ui::TestUi ui;
    std::string lastThemePath;

    // boxes: the error boxes the dialog is expected to show.
    void add(std::vector<std::string> chosen, int filter = 0, int boxes = 0) {
        ui.answerOpen(std::move(chosen));
        for (int i = 0; i < boxes; ++i) ui.answer(ui::Answer::Ok);
        AddLayer_DialogShow(window, filter, lastThemePath);
    }
};

TEST(FullExtentMargin, FivePercentOfTheWidthOnEverySideEachTime) {
    TestWindow window;
    window.view.setFullExtent(map::MapRect(130, 140, 30, 40));
    SetFullExtentMargin(window.view);
    expectRect(window.view.fullExtent(), map::MapRect(129.5, 140.5, 29.5, 40.5));
    SetFullExtentMargin(window.view);
    expectRect(window.view.fullExtent(), map::MapRect(128.95, 141.05, 28.95, 41.05));
    window.view.setFullExtent(map::MapRect());
    SetFullExtentMargin(window.view);
    EXPECT_TRUE(window.view.fullExtent().isEmpty());
}

TEST(LayerFile, ByTheEndOfTheFileName) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"/d/roads.shp", true},  {"/d/ROADS.SHP", true},       {"/d/a.Shp", true},
        {"/d/.shp", false},      {"/d.shp/table.dbf", false},  {"/d/data.shp_old/t.dbf", false},
        {"/d/roads.shp.dbf", false}, {"/d/roads.dbf", false},
    };
    for (const auto& [path, layer] : cases) EXPECT_EQ(isLayerFile(path), layer) << path;
}

TEST_F(AddThemeTest, ThreeShapefilesAndATableOnAnEmptyMap) {
    const std::string a = writePolygonLayer(dir, "a", false, 130, 30, 135, 34);
    const std::string b = writePolygonLayer(dir, "b", false, 134, 33, 140, 40);
    const std::string c = writeLineLayer(dir, "c");
    const std::string t = dir.file("ledger.dbf");
    writeDbfHeader(t, {{"CODE", 'C', 5, 0}});
    window.folder = dir.path().string();
    add({a, t, b, c});
    const auto& request = ui.dialogs().at(0).request;
    EXPECT_EQ(request.title, "テーマの追加");
    EXPECT_EQ(request.folder, dir.path().string());
    EXPECT_EQ(request.filter, "シェープ ファイル (*.shp);;属性 ファイル (*.dbf)");
    EXPECT_TRUE(request.multiple);
    ASSERT_EQ(window.view.layerCount(), 3);
    EXPECT_EQ(window.view.layer(0)->name(), "c");
    EXPECT_EQ(window.view.layer(2)->name(), "a");
    EXPECT_EQ(window.nodes, (std::vector<Node>{{a, "a", true}, {t, "ledger.dbf", false}, {b, "b", true}, {c, "c", true}}));
    // Union 0..140 x 0..40, widened by 7 on every side; the view shows it whole.
    expectRect(window.view.fullExtent(), map::MapRect(-7, 147, -7, 47));
    const map::MapRect shown = window.view.extent();
    EXPECT_LE(shown.left, -7 + 1e-9);
    EXPECT_GE(shown.right, 147 - 1e-9);
    EXPECT_NEAR(shown.width(), 154, 1e-6);
    EXPECT_EQ(lastThemePath, c);
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(AddThemeTest, OneFileTakesTheOneFileRoad) {
    const std::string first = writePolygonLayer(dir, "first", false, 0, 0, 100, 100);
    add({first});
    expectRect(window.view.fullExtent(), map::MapRect(-5, 105, -5, 105));
    EXPECT_NEAR(window.view.extent().height(), 110, 1e-6);
    EXPECT_GE(ui.yieldCount(), 1);
    // A table changes no extent; a second layer widens the full extent but not the view.
    const std::string t = dir.file("t.dbf");
    writeDbfHeader(t, {{"X", 'N', 3, 0}});
    const map::MapRect view = window.view.extent();
    add({t}, 2);
    EXPECT_EQ(ui.dialogs().at(1).request.filter, "属性 ファイル (*.dbf);;シェープ ファイル (*.shp)");
    EXPECT_EQ(ui.dialogs().at(1).request.folder, dir.path().string());
    expectRect(window.view.fullExtent(), map::MapRect(-5, 105, -5, 105));
    expectRect(window.view.extent(), view);
    const std::string second = writePolygonLayer(dir, "second", false, 100, 0, 200, 100);
    add({second});
    expectRect(window.view.extent(), view);
    expectRect(window.view.fullExtent(), map::MapRect(-10, 210, -10, 110));
    EXPECT_EQ(window.nodes.back(), (Node{second, "second", true}));
    EXPECT_EQ(window.nodes.at(1), (Node{t, "t.dbf", false}));
    EXPECT_EQ(window.view.layerCount(), 2);
}

TEST_F(AddThemeTest, SameShapefileTwiceCancelAndFileNames) {
    const std::string shp = writePolygonLayer(dir, "roads");
    add({shp});
    add({shp});
    EXPECT_EQ(window.view.layer(0)->name(), "roads1");
    EXPECT_EQ(window.view.layer(1)->name(), "roads");
    add({});
    EXPECT_EQ(window.view.layerCount(), 2);
    EXPECT_EQ(window.nodes.size(), 2u);

    // ".shp" alone and a table below a folder named like a shapefile are tables; capitals make a layer.
    std::filesystem::create_directories(dir.file("data.shp_old"));
    const std::string bare = dir.file(".shp");
    const std::string inFolder = dir.file("data.shp_old/t.dbf");
    std::ofstream(bare) << "x";
    writeDbfHeader(inFolder, {{"A", 'C', 1, 0}});
    const std::string upper = writePolygonLayer(dir, "ROADS", true);
    for (const std::string& one : {bare, inFolder, upper}) add({one});
    add({bare, inFolder, upper});
    const std::vector<Node> expected = {{bare, ".shp", false},        {inFolder, "t.dbf", false},
                                        {upper, "ROADS", true},       {bare, ".shp", false},
                                        {inFolder, "t.dbf", false},   {upper, "ROADS1", true}};
    EXPECT_EQ(std::vector<Node>(window.nodes.begin() + 2, window.nodes.end()), expected);
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(AddThemeTest, ABrokenShapefileShowsItsBoxAndKeepsTheLayersBefore) {
    const std::string a = writePolygonLayer(dir, "a", false, 0, 0, 10, 10);
    const std::string broken = dir.file("broken.shp");
    std::ofstream(broken) << "not a shapefile";
    const std::string c = writePolygonLayer(dir, "c", false, 20, 20, 30, 30);
    add({a, broken, c}, 0, 1);
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].title, "Error: frmMapMain (AddLayer_DialogShow)");
    EXPECT_EQ(ui.boxes()[0].text.substr(0, 4), "321 ");
    EXPECT_EQ(ui.boxes()[0].icon, ui::Icon::Critical);
    EXPECT_EQ(window.view.layerCount(), 1);
    EXPECT_EQ(window.nodes, (std::vector<Node>{{a, "a", true}}));
    // No margin after the failure.
    expectRect(window.view.fullExtent(), map::MapRect(0, 10, 0, 10));
    EXPECT_EQ(lastThemePath, broken);
}

struct ExportTest : ::testing::Test {
    TempFolder dir{"props-export"};
    TestWindow window;
    ui::TestUi ui;
    std::string lastExportPath;

    void SetUp() override {
        auto layer = std::make_shared<map::MapLayer>(writePolygonLayer(dir, "sq", false, 0, 0, 100, 100));
        map::Symbol s;
        s.type = map::symbol::Fill;
        s.color = map::colourFromRgb(0xCC3300);
        layer->setSymbol(s);
        window.view.addLayer(layer);
        window.view.setExtent(map::MapRect(0, 100, 0, 100));
    }
    void exportTo(std::optional<std::string> path, int boxes = 0) {
        ui.answerSave(std::move(path));
        for (int i = 0; i < boxes; ++i) ui.answer(ui::Answer::Ok);
        ExportMapImage(window.view, 1, lastExportPath, "/program");
    }
};

TEST_F(ExportTest, BitmapTwiceTheMapSizeAndTheNextDialogStartsAtIt) {
    const std::string path = dir.file("map.bmp");
    exportTo(path);
    const auto& first = ui.dialogs().at(0).request;
    EXPECT_EQ(first.folder, "/program");
    EXPECT_EQ(first.filter, "Windows Bitmap (*.bmp)");
    EXPECT_EQ(first.defaultSuffix, "bmp");
    EXPECT_TRUE(first.fileName.empty());
    QImage image(QString::fromStdString(path), "BMP");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(800, 600));
    EXPECT_EQ(image.pixel(400, 300) & 0xFFFFFF, 0xCC3300u);
    EXPECT_EQ(lastExportPath, path);
    exportTo(std::nullopt);
    EXPECT_EQ(ui.dialogs().at(1).request.folder, path);
    EXPECT_EQ(lastExportPath, path);
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(ExportTest, EmptyNameShowsTheBoxAndWritesNothing) {
    lastExportPath = dir.file("before.bmp");
    exportTo("", 1);
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].text, "No filename specified. Map was not exported.");
    EXPECT_EQ(ui.boxes()[0].title, "Export Error");
    EXPECT_EQ(ui.boxes()[0].icon, ui::Icon::Exclamation);
    EXPECT_TRUE(lastExportPath.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);  // sq.shp/.shx/.dbf
}

TEST_F(ExportTest, UnwritableFolderReachesTheCaller) {
    const std::string locked = dir.file("locked");
    std::filesystem::create_directories(locked);
    ::chmod(locked.c_str(), 0500);
    // Permissions do not stop the superuser; a folder of /proc takes no new files from anyone.
    const std::string target = ::geteuid() == 0 ? "/proc/velmora-props.bmp" : locked + "/map.bmp";
    try {
        exportTo(target);
        ADD_FAILURE() << "no failure";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 75);
    }
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(lastExportPath, target);
    EXPECT_TRUE(std::filesystem::is_empty(locked));
    ::chmod(locked.c_str(), 0700);
}

}  // namespace
