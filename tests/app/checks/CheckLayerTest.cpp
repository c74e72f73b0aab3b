// modCommon::checkLayer: the same file under another spelling is still a layer of the map.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/CheckLayer.h"
#include "platform/ui/TestUi.h"
#include "tests/app/checks/MainWindowMap.h"
#include "tests/convert/core/TempProgramFolder.h"

namespace fs = std::filesystem;

namespace velmora {
namespace {

class CheckLayer : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder_.path() / "data");
        testsupport::TempProgramFolder::write(folder_.path() / "data" / "roads.shp", "x");
        fs::create_directory_symlink(folder_.path() / "data", folder_.path() / "link");
    }
    std::string p(const std::string& rest) const { return folder_.path().string() + rest; }

    testsupport::TempProgramFolder folder_;
    ui::TestUi ui_;
    testsupport::MainWindowMap map_;
};

TEST_F(CheckLayer, ComparesAbsoluteNormalPaths) {
    struct Case {
        std::vector<std::string> layers;
        std::string path;
        bool onMap;
    };
    const Case cases[] = {
        {{p("/data/roads.shp")}, p("/data/roads.shp"), true},
        {{p("/data/roads.shp")}, p("/data/./roads.shp"), true},
        {{p("/data/roads.shp")}, p("/data/../data//roads.shp"), true},
        {{p("/data/roads.shp")}, p("/link/roads.shp"), true},
        {{p("/link/roads.shp")}, p("/data/roads.shp"), true},
        // A file that is no longer on disk is still compared by its normal path.
        {{p("/data/gone.shp")}, p("/data/x/../gone.shp"), true},
        {{p("/data/other.shp"), p("/data/roads.shp")}, p("/data/roads.shp"), true},
        {{p("/data/roads.shp")}, p("/data/ROADS.shp"), false},
        {{p("/data/roads.shp")}, p("/data/roads.shp.shp"), false},
        {{p("/data/roads.shp")}, "", false},
        {{""}, "", false},
        {{}, p("/data/roads.shp"), false},
    };
    for (const Case& c : cases) {
        map_.files = c.layers;
        EXPECT_EQ(modCommon::checkLayer(&map_, c.path), c.onMap) << c.path;
        EXPECT_EQ(modCommon::checkLayer(modCommon::mainMap(), c.path), c.onMap) << c.path;
    }
}

TEST_F(CheckLayer, ARelativePathIsTakenFromTheCurrentFolder) {
    const fs::path before = fs::current_path();
    fs::current_path(folder_.path());
    map_.files = {p("/data/roads.shp")};
    const bool found = modCommon::checkLayer(&map_, "data/roads.shp");
    fs::current_path(before);
    EXPECT_TRUE(found);
}

TEST_F(CheckLayer, NoMapHasNoLayers) { EXPECT_FALSE(modCommon::checkLayer(nullptr, p("/data/roads.shp"))); }

}  // namespace
}  // namespace velmora
