// Ticks spreading through the mesh tree: what a click ticks and marks bold, and what it leaves alone.
#include <gtest/gtest.h>

#include "platform/errors/RunTimeError.h"
#include "tests/app/nationwide/SmallTree.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

using Keys = std::vector<std::string>;

struct CascadeCase {
    const char* name;
    Keys clicks;
    Keys ticked;
    Keys bold;
};

TEST(MeshTreeCascade, ClicksTickAndMarkAsTheUserExpects) {
    const CascadeCase cases[] = {
        {"root ticks everything, prefectures bold, meshes plain",
         {"t"},
         {"t", "r01", "IDX533945", "IDX533946", "r02", "IDX543901"},
         {"t", "r01", "r02"}},
        {"prefecture ticks its meshes and marks them, itself and the root bold",
         {"r01"},
         {"r01", "IDX533945", "IDX533946"},
         {"t", "r01", "IDX533945", "IDX533946"}},
        {"a mesh marks its prefecture and the root bold, its prefecture stays unticked",
         {"IDX533946"},
         {"IDX533946"},
         {"t", "r01"}},
        {"unticking the last mesh keeps the prefecture bold; no prefecture ticked clears the root's bold",
         {"IDX533946", "IDX533946"},
         {},
         {"r01"}},
        {"unticking a prefecture clears its meshes' ticks and bold",
         {"r01", "r01"},
         {},
         {}},
        {"unticking a prefecture below the ticked root leaves the root ticked and bold",
         {"t", "r01"},
         {"t", "r02", "IDX543901"},
         {"t", "r02"}},
        {"unticking the root clears every tick and the prefectures' bold",
         {"t", "t"},
         {},
         {}},
        {"a parent's tick never follows its children",
         {"IDX533945", "IDX533946"},
         {"IDX533945", "IDX533946"},
         {"t", "r01"}},
    };
    for (const CascadeCase& c : cases) {
        TreeModel tree = smallTree({{"01", {"533945", "533946"}}, {"02", {"543901"}}});
        for (const std::string& key : c.clicks) click(tree, key);
        const auto [ticked, bold] = marks(tree);
        EXPECT_EQ(ticked, c.ticked) << c.name;
        EXPECT_EQ(bold, c.bold) << c.name;
    }
}

TEST(MeshTreeCascade, ChangesAreReportedOnceEachForTheView) {
    TreeModel tree = smallTree({{"01", {"533945", "533946"}}});
    tree.takeChanges();
    click(tree, "r01");
    const std::vector<int> changed = tree.takeChanges();
    EXPECT_EQ(changed.size(), 4u);  // the prefecture, its two meshes, the root
    EXPECT_TRUE(tree.takeChanges().empty());
}

TEST(MeshTreeCascade, ARepeatedKeyIsRefusedAndTheTreeStaysAsItWas) {
    TreeModel tree = smallTree({{"01", {"533945"}}});
    try {
        tree.add(tree.find("r01"), "IDX533945", "again");
        FAIL() << "no error";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 35602);
    }
    EXPECT_EQ(tree.size(), 3u);
}

}  // namespace
