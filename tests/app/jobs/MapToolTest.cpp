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
    for (const char* f : {"a.shp", "b.SHP", "c.dbf", "d.DBF", "e.shp.bak", "f.txt"}) TempProgramFolder::write(out(f), "x");
    std::filesystem::create_directories(out("folder.shp"));
    struct Case {
        std::string path;
        bool layer, table;
    };
    const Case cases[] = {
        {out("a.shp"), true, false},   {out("b.SHP"), true, false},  {out("c.dbf"), false, true},
        {out("d.DBF"), false, true},   {out("e.shp.bak"), true, false},  // the path holds ".shp"
        {out("f.txt"), false, false},  {out("missing.shp"), false, false}, {out("folder.shp"), false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        clsMapToolControl tool;
        EXPECT_EQ(tool.AddLayer(c.path), c.layer);
        EXPECT_EQ(tool.AddTable(c.path), c.table);
        EXPECT_EQ(tool.layers().size(), c.layer ? 1u : 0u);
        EXPECT_EQ(tool.tables().size(), c.table ? 1u : 0u);
    }
}

TEST_F(MapTool, TheMainMapListsWhatTheToolAccepted) {
    TempProgramFolder::write(out("a.shp"), "x");
    TempProgramFolder::write(out("t.dbf"), "x");
    ASSERT_TRUE(window_->pMapTool->AddLayer(out("a.shp")));
    ASSERT_TRUE(window_->pMapTool->AddTable(out("t.dbf")));
    EXPECT_TRUE(modCommon::checkLayer(modCommon::mainMap(), out("a.shp")));
    EXPECT_EQ(modCommon::mainMap()->tableFiles(), std::vector<std::string>{out("t.dbf")});
}

}  // namespace
