// Names of new layers (modCommon::getLayerName) and what AddLayer and AddTable refuse.
#include "tests/viewer/ViewerTest.h"
#include "viewer/LayerNames.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

class LayerName : public ViewerTest {
protected:
    // A map whose layers carry these names (all read from one file).
    void layersNamed(const std::vector<std::string>& names) {
        mapView().clearLayers();
        const std::string file = layerFile("any", 1);
        for (const std::string& n : names) {
            auto layer = std::make_shared<map::MapLayer>(file);
            layer->setName(n);
            mapView().addLayer(layer);
        }
    }
};

TEST_F(LayerName, OneMoreThanTheLargestNumber) {
    struct Case {
        std::vector<std::string> layers;
        std::string base, name;
    };
    const Case cases[] = {
        {{}, "roads", "roads"},
        {{"roads"}, "roads", "roads1"},
        {{"roads", "roads1"}, "roads", "roads2"},
        {{"roads", "roads7"}, "roads", "roads8"},
        {{"roads7"}, "roads", "roads8"},  // never made from a gap
        {{"roads2.5"}, "roads", "roads3"},  // 2.5 rounds to 2
        {{"Roads"}, "roads", "roads"},  // letter case counts
        {{"myroads"}, "roads", "roads"},  // the rest "ds" is no number
        {{"roadsX", "roads 4 "}, "roads", "roads5"},
        {{"道路", "道路12"}, "道路", "道路13"},  // counted in characters
        {{"roads"}, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.base + " after " + std::to_string(c.layers.size()) + " layers");
        layersNamed(c.layers);
        EXPECT_EQ(modCommon::getLayerName(&mapView(), c.base), c.name);
    }
    EXPECT_TRUE(ui_.boxes().empty());
}

// A number past the 16-bit range shows the box; the name given is then one no layer has.
TEST_F(LayerName, AnOverflowShowsItsBoxAndGivesAFreeName) {
    struct Case {
        std::vector<std::string> layers;
        std::string name;
    };
    const Case cases[] = {
        {{"roads99999"}, "roads"},
        {{"roads32767"}, "roads"},
        {{"roads", "roads1", "roads99999"}, "roads2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layers.back());
        ui_.clearRecords();
        ui_.answer(ui::Answer::Ok);
        layersNamed(c.layers);
        EXPECT_EQ(modCommon::getLayerName(&mapView(), "roads"), c.name);
        ASSERT_EQ(ui_.boxes().size(), 1u);
        EXPECT_EQ(ui_.boxes()[0].title, "Error: modMbCommon (getLayerName)");
        EXPECT_EQ(ui_.boxes()[0].text, "6 オーバーフローしました。");
    }
}

TEST_F(LayerName, LayersFromTheSameFileAreNumbered) {
    const std::string roads = layerFile("roads", 3);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(w().pMapTool->AddLayer(roads));
    EXPECT_EQ(layerNames(), (QStringList{"roads2", "roads1", "roads"}));
    EXPECT_EQ(texts(mapRoot()), (QStringList{"roads2", "roads1", "roads"}));
}

TEST_F(LayerName, RefusalsChangeNothingAndSayNothing) {
    const std::string table = tableFile("a.dbf");
    std::filesystem::create_directories(data("folder.shp"));
    for (const std::string& path : {std::string(), data("missing.shp"), table, data("folder.shp")}) {
        EXPECT_FALSE(w().pMapTool->AddLayer(path)) << path;
    }
    for (const std::string& path : {std::string(), data("missing.dbf"), layerFile("l", 1)}) {
        EXPECT_FALSE(w().pMapTool->AddTable(path)) << path;
    }
    EXPECT_EQ(mapView().layerCount(), 0);
    EXPECT_EQ(mapRoot()->childCount(), 0);
    EXPECT_EQ(tableRoot()->childCount(), 0);
    EXPECT_TRUE(ui_.boxes().empty());
    // Letter case of the extension does not matter; the same table twice gives two nodes.
    datagen::GenShapeFile upper;
    upper.shpType = 1;
    upper.shapes = {{{{{139.7, 35.6}}}}};
    upper.upperCase = true;
    EXPECT_TRUE(w().pMapTool->AddLayer(datagen::writeShapeFile(data("ROADS"), upper)));
    EXPECT_EQ(layerNames(), QStringList{"ROADS"});
    EXPECT_TRUE(w().pMapTool->AddTable(table));
    EXPECT_TRUE(w().pMapTool->AddTable(table));
    EXPECT_EQ(texts(tableRoot()), (QStringList{"a.dbf", "a.dbf"}));
}

// The map keeps its extent when a layer comes on top of others.
TEST_F(LayerName, AnAddedLayerKeepsTheExtent) {
    addLayer("a");
    const map::MapRect before = mapView().extent();
    datagen::GenShapeFile far;
    far.shpType = 1;
    far.shapes = {{{{{130.0, 33.0}}}}};
    ASSERT_TRUE(w().pMapTool->AddLayer(datagen::writeShapeFile(data("far"), far)));
    EXPECT_EQ(mapView().extent().left, before.left);
    EXPECT_EQ(mapView().extent().top, before.top);
    EXPECT_EQ(layerNames(), (QStringList{"far", "a"}));
}

}  // namespace
