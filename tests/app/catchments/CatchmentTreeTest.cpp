// The catchment tree without widgets: what DataSyusui.csv builds, the loads that fail part-way, the
// cascade of ticks and the selection text it gives.
#include <gtest/gtest.h>

#include "app/CatchmentTree.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Cp932.h"
#include "tests/convert/core/TempProgramFolder.h"

using namespace velmora;
using velmora::testsupport::TempProgramFolder;
using Keys = std::vector<std::string>;

namespace {

class CatchmentTree : public ::testing::Test {
protected:
    // Loads lines (UTF-8, written CP932 with CR LF) into tree_.
    void load(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const std::string& l : lines) bytes += text::toCp932(l) + "\r\n";
        TempProgramFolder::write(folder_.file(kCatchmentTreeFileName), bytes);
        loadCatchmentTree(tree_, folder_.file(kCatchmentTreeFileName));
    }
    int loadFailing(const std::vector<std::string>& lines) {
        try {
            load(lines);
        } catch (const RunTimeError& e) {
            return e.number();
        }
        return 0;
    }
    Keys keys() const {
        Keys k;
        for (std::size_t i = 0; i < tree_.size(); ++i) k.push_back(tree_.node(static_cast<int>(i)).key);
        return k;
    }
    void click(const std::string& key) {
        const int n = tree_.find(key);
        ASSERT_NE(n, TreeModel::kNoNode) << key;
        tree_.setTicked(n, !tree_.node(n).ticked);
        catchmentTreeNodeCheck(tree_, n);
    }
    Keys ticked() const { return marked(true); }
    Keys bold() const { return marked(false); }
    Keys marked(bool tick) const {
        Keys k;
        for (std::size_t i = 0; i < tree_.size(); ++i) {
            const TreeModel::Node& n = tree_.node(static_cast<int>(i));
            if (tick ? n.ticked : n.bold) k.push_back(n.key);
        }
        return k;
    }
    // Two regions, the second's catchments around a blank line and one line naming the first region.
    void twoRegions() {
        load({"1,81", "2,81,81001,石狩川", "2,81,81002,十勝川", "1,82", "2,82,82001,岩木川", "", "2,81,81009,迷子",
              "2,82,82002,北上川"});
    }

    TempProgramFolder folder_;
    TreeModel tree_;
};

TEST_F(CatchmentTree, RegionsHoldTheirCatchmentsInFileOrder) {
    twoRegions();
    EXPECT_EQ(keys(), (Keys{"t", "r81", "IDX81001", "IDX81002", "r82", "IDX82001", "IDX82002"}));
    EXPECT_EQ(tree_.node(tree_.find("t")).text, "全国");
    EXPECT_EQ(tree_.node(tree_.find("r81")).text, "81   ");
    EXPECT_EQ(tree_.node(tree_.find("IDX82002")).text, "82002   北上川");
    EXPECT_EQ(tree_.node(tree_.find("IDX82002")).parent, tree_.find("r82"));
    EXPECT_EQ(catchmentSelection(tree_), "");
}

struct BrokenFile {
    const char* what;
    std::vector<std::string> lines;
    int error;
    Keys kept;
};

TEST_F(CatchmentTree, ABrokenFileFailsWhereItBreaksAndKeepsTheNodesBefore) {
    const std::vector<BrokenFile> cases = {
        {"first field no number", {"1,81", "x,81,81001,a"}, err::TypeMismatch, {"t", "r81"}},
        {"catchment line too short", {"1,81", "2,81,81001"}, err::SubscriptOutOfRange, {"t", "r81"}},
        {"region repeated", {"1,81", "2,81,81001,a", "1,81"}, 35602, {"t", "r81", "IDX81001"}},
        {"catchment repeated", {"1,81", "2,81,81001,a", "1,82", "2,82,81001,b"}, 35602, {"t", "r81", "IDX81001", "r82"}},
    };
    for (const BrokenFile& c : cases) {
        tree_.clear();
        EXPECT_EQ(loadFailing(c.lines), c.error) << c.what;
        EXPECT_EQ(keys(), c.kept) << c.what;
    }
    tree_.clear();
    EXPECT_EQ(loadFailing({}), 0);
    std::filesystem::remove(folder_.file(kCatchmentTreeFileName));
    tree_.clear();
    try {
        loadCatchmentTree(tree_, folder_.file(kCatchmentTreeFileName));
        ADD_FAILURE() << "a missing file loaded";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), err::FileNotFound);
    }
}

TEST_F(CatchmentTree, TheRootTicksAndBoldsEverythingAndSelectsEveryCatchmentInFileOrder) {
    twoRegions();
    click("t");
    EXPECT_EQ(ticked(), keys());
    EXPECT_EQ(bold(), (Keys{"t", "r81", "r82"}));
    EXPECT_EQ(catchmentSelection(tree_), "81001,81002,82001,82002");
    click("t");
    EXPECT_TRUE(ticked().empty());
    EXPECT_TRUE(bold().empty());
}

TEST_F(CatchmentTree, OneCatchmentBoldsItsRegionAndTheRootUntilItIsUnticked) {
    twoRegions();
    click("IDX82001");
    EXPECT_EQ(ticked(), Keys{"IDX82001"});
    EXPECT_EQ(bold(), (Keys{"t", "r82"}));
    EXPECT_EQ(catchmentSelection(tree_), "82001");
    click("IDX82001");
    EXPECT_TRUE(ticked().empty());
    // No region is ticked: the root loses its bold, the region keeps it.
    EXPECT_EQ(bold(), Keys{"r82"});
    EXPECT_EQ(catchmentSelection(tree_), "");
}

TEST_F(CatchmentTree, ARegionTickedAndUntickedLeavesNothingOfIt) {
    twoRegions();
    click("IDX82002");
    click("r81");
    EXPECT_EQ(ticked(), (Keys{"r81", "IDX81001", "IDX81002", "IDX82002"}));
    // The region's catchments are ticked but not bold: only the root makes its children bold.
    EXPECT_EQ(bold(), (Keys{"t", "r81", "r82"}));
    EXPECT_EQ(catchmentSelection(tree_), "81001,81002,82002");
    click("r81");
    EXPECT_EQ(ticked(), Keys{"IDX82002"});
    EXPECT_EQ(bold(), Keys{"r82"});
    EXPECT_EQ(catchmentSelection(tree_), "82002");
}

TEST_F(CatchmentTree, ALongCodeGivesItsFirstSixCharacters) {
    load({"1,81", "2,81,8100123,長い", "2,81,81002,短い"});
    click("r81");
    EXPECT_EQ(catchmentSelection(tree_), "810012,81002");
}

}  // namespace
