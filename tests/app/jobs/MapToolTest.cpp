// The map tool through which jobs add their outputs: what it accepts as a layer or a table, and the main
// map listing what it accepted (the output checks ask that map).
#include <gtest/gtest.h>

#include <filesystem>

#include "app/CheckLayer.h"
#include "tests/app/jobs/JobTest.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

class MapTool : public JobTest {};

TEST_F(MapTool, AcceptsOnlyExistingFilesOfItsKind) {
    writeLayer(out("a.shp"));
    // A shapefile whose path holds ".shp" before its end: its companions are found beside it.
    fs::copy_file(out("a.shp"), out("e.shp.bak"));
    fs::copy_file(out("a.shx"), out("e.shp.shx"));
    for (const char* f : {"c.dbf", "d.DBF", "f.txt"}) TempProgramFolder::write(out(f), "x");
    std::filesystem::create_directories(out("folder.shp"));
    struct Case {
        std::string path;
        bool layer, table;
    };
    const Case cases[] = {
        {out("a.shp"), true, false},        {out("c.dbf"), false, true},        {out("d.DBF"), false, true},
        {out("e.shp.bak"), true, false},    {out("f.txt"), false, false},       {out("missing.shp"), false, false},
        {out("folder.shp"), false, false},  {"", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const std::size_t layers = mapLayers().size(), tables = mapTables().size();
        EXPECT_EQ(mapTool().AddLayer(c.path), c.layer);
        EXPECT_EQ(mapTool().AddTable(c.path), c.table);
        EXPECT_EQ(mapLayers().size(), layers + (c.layer ? 1 : 0));
        EXPECT_EQ(mapTables().size(), tables + (c.table ? 1 : 0));
    }
    EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(MapTool, AFileTheMapCannotReadIsRefusedWithItsBox) {
    TempProgramFolder::write(out("a.shp"), "not a shapefile");
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(mapTool().AddLayer(out("a.shp")));
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: clsMapToolControl (AddLayer)");
    EXPECT_TRUE(ui_.boxes()[0].text.starts_with("321 ")) << ui_.boxes()[0].text;
    EXPECT_TRUE(mapLayers().empty());
}

TEST_F(MapTool, TheMainMapListsWhatTheToolAdded) {
    writeLayer(out("a.shp"));
    TempProgramFolder::write(out("t.dbf"), "x");
    ASSERT_TRUE(window_->pMapTool->AddLayer(out("a.shp")));
    ASSERT_TRUE(window_->pMapTool->AddTable(out("t.dbf")));
    EXPECT_TRUE(modCommon::checkLayer(modCommon::mainMap(), out("a.shp")));
    EXPECT_EQ(mapTables(), std::vector<std::string>{out("t.dbf")});
}

}  // namespace
