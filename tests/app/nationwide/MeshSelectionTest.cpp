// The selections the nationwide jobs read from the mesh tree: exact entries of the ticked codes, their
// condition fragments, the point job's ranges as texts, and the polygon library's code list.
#include <gtest/gtest.h>

#include "app/MeshSelection.h"
#include "convert/core/ConversionState.h"
#include "platform/errors/RunTimeError.h"
#include "tests/app/nationwide/SmallTree.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

using Texts = std::vector<std::string>;

// Two prefectures whose codes interleave (the file order is not the code order) and a third after them.
TreeModel interleaved() {
    return smallTree({{"01", {"533945", "533946", "533947", "533949"}},
                      {"02", {"533948", "533950"}},
                      {"03", {"543901", "543902"}}});
}

struct SelectionCase {
    const char* name;
    Texts clicks;
    std::int32_t count;
    Texts start;  // StartMeshWhere entries 1..count
};

TEST(MeshSelection, LineSelectionsHoldExactlyTheTickedMeshes) {
    const SelectionCase cases[] = {
        {"root", {"t"}, -1, {}},
        {"root, also after unticking below it", {"t", "r01", "IDX543901"}, -1, {}},
        {"nothing", {}, 0, {}},
        {"one prefecture whose codes have the other's between them",
         {"r01"},
         2,
         {"起点メッシュコード >= 533945 AND 起点メッシュコード <= 533947", "起点メッシュコード = 533949"}},
        {"m1 m2 m4: two entries, the second an equality",
         {"IDX533945", "IDX533946", "IDX533949"},
         2,
         {"起点メッシュコード >= 533945 AND 起点メッシュコード <= 533946", "起点メッシュコード = 533949"}},
        {"two neighbouring prefectures: no entry over the codes between their meshes",
         {"r02", "r03"},
         3,
         {"起点メッシュコード = 533948", "起点メッシュコード = 533950",
          "起点メッシュコード >= 543901 AND 起点メッシュコード <= 543902"}},
        {"interleaved codes: the unticked neighbours stay out",
         {"IDX533947", "IDX533949", "IDX533950"},
         2,
         {"起点メッシュコード = 533947", "起点メッシュコード >= 533949 AND 起点メッシュコード <= 533950"}},
        {"a run in tree order into smaller codes still selects its ticks",
         {"IDX533949", "IDX533948"},
         1,
         {"起点メッシュコード >= 533948 AND 起点メッシュコード <= 533949"}},
        {"a prefecture ticked and its mesh unticked again keeps the others",
         {"r03", "IDX543901"},
         1,
         {"起点メッシュコード = 543902"}},
    };
    for (const SelectionCase& c : cases) {
        TreeModel tree = interleaved();
        for (const std::string& key : c.clicks) click(tree, key);
        resetConversionState();
        selectMeshLine(tree);
        const ConversionState& s = conversionState();
        EXPECT_EQ(s.MeshRangeCount, c.count) << c.name;
        const Texts entries(s.StartMeshWhere.begin() + (s.StartMeshWhere.empty() ? 0 : 1), s.StartMeshWhere.end());
        if (c.count <= 0)
            EXPECT_EQ(s.StartMeshWhere, Texts(2)) << c.name;
        else
            EXPECT_EQ(entries, c.start) << c.name;
    }
}

// A tree that lists only some of the meshes of the data: an entry joins two ticked codes only where no
// secondary mesh code (row and column digits 0 to 7) lies between them.
TEST(MeshSelection, EntriesNeverSpanASecondaryMeshCodeTheTreeLeavesOut) {
    TreeModel tree = smallTree({{"01", {"533907", "533910", "533945", "533947", "533977"}}, {"02", {"534000", "534010"}}});
    for (const char* key : {"r01", "IDX534000"}) click(tree, key);
    resetConversionState();
    selectMeshRanges(tree);
    const ConversionState& s = conversionState();
    std::vector<std::pair<std::string, std::string>> ranges;
    for (std::int32_t i = 1; i <= s.MeshRangeCount; ++i) ranges.emplace_back(s.MeshRanges[i].FromCode, s.MeshRanges[i].ToCode);
    // 533908 and 533909 are no mesh codes; 533946 is one; 533978 to 533999 are none, so the last row's
    // eastmost mesh and the next first-level mesh's first one share an entry.
    EXPECT_EQ(ranges, (std::vector<std::pair<std::string, std::string>>{
                          {"533907", "533910"}, {"533945", "533945"}, {"533947", "533947"}, {"533977", "534000"}}));

    selectMeshLine(tree);
    EXPECT_EQ(s.MeshRangeCount, 4);
    EXPECT_EQ(s.StartMeshWhere.at(4), "起点メッシュコード >= 533977 AND 起点メッシュコード <= 534000");
    std::string list;
    selectMeshPolygon(tree, true, list);
    EXPECT_EQ(list, "533907,533910,533945,533947,533977,534000");
    EXPECT_EQ(s.RepMeshWhere.at(2), "代表点メッシュコード = 533945");
    EXPECT_EQ(s.RepMeshWhere.at(3), "代表点メッシュコード = 533947");
}

TEST(MeshSelection, PointRangesHoldTheCodesAsTexts) {
    TreeModel tree = smallTree({{"01", {"5339452311", "5339452312", "5339452314"}}, {"02", {"5339452313"}}});
    // Ten-digit codes: the node's code is the six characters after "IDX", as the tree file's meshes are.
    EXPECT_EQ(meshNodeCode(tree.node(tree.find("IDX5339452311"))), "533945");

    TreeModel secondary = interleaved();
    for (const char* key : {"IDX533945", "IDX533946", "IDX533950"}) click(secondary, key);
    resetConversionState();
    selectMeshRanges(secondary);
    const ConversionState& s = conversionState();
    ASSERT_EQ(s.MeshRangeCount, 2);
    ASSERT_EQ(s.MeshRanges.size(), 3u);
    EXPECT_EQ(s.MeshRanges[1].FromCode, "533945");
    EXPECT_EQ(s.MeshRanges[1].ToCode, "533946");
    EXPECT_EQ(s.MeshRanges[2].FromCode, "533950");
    EXPECT_EQ(s.MeshRanges[2].ToCode, "533950");
}

TEST(MeshSelection, ThePolygonSelectionListsTheWalkAndFillsBothFragmentListsOnlyWithAttachedOutputs) {
    TreeModel tree = interleaved();
    for (const char* key : {"IDX533949", "r02"}) click(tree, key);
    resetConversionState();
    ConversionState& s = conversionState();
    s.StartMeshWhere = {"", "untouched"};
    std::string list = "old";
    selectMeshPolygon(tree, false, list);
    EXPECT_EQ(list, "533949,533948,533950");
    EXPECT_EQ(s.MeshRangeCount, 0);
    EXPECT_EQ(s.StartMeshWhere, (Texts{"", "untouched"}));

    selectMeshPolygon(tree, true, list);
    EXPECT_EQ(s.MeshRangeCount, 1);
    EXPECT_EQ(s.RepMeshWhere, (Texts{"", "代表点メッシュコード >= 533948 AND 代表点メッシュコード <= 533950"}));
    EXPECT_EQ(s.StartMeshWhere, (Texts{"", "起点メッシュコード >= 533948 AND 起点メッシュコード <= 533950"}));

    click(tree, "t");
    selectMeshPolygon(tree, true, list);
    EXPECT_EQ(list, "");
    EXPECT_EQ(s.MeshRangeCount, -1);
    click(tree, "t");
    selectMeshPolygon(tree, true, list);
    EXPECT_EQ(list, "");
    EXPECT_EQ(s.MeshRangeCount, 0);
}

TEST(MeshSelection, ANonNumericCodeIsARunTimeErrorAndAnEmptyTreeToo) {
    TreeModel tree = smallTree({{"01", {"53394A", "533946"}}});
    click(tree, "r01");
    std::string list;
    for (auto select : {+[](const TreeModel& t) { selectMeshRanges(t); }, +[](const TreeModel& t) { selectMeshLine(t); }}) {
        try {
            select(tree);
            ADD_FAILURE() << "no error";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 13);
        }
    }
    EXPECT_THROW(selectMeshPolygon(tree, true, list), RunTimeError);
    // Without attached outputs no code is read as a number.
    EXPECT_NO_THROW(selectMeshPolygon(tree, false, list));
    EXPECT_EQ(list, "53394A,533946");

    const TreeModel empty;
    try {
        selectMeshLine(empty);
        ADD_FAILURE() << "no error";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 35600);
    }
}

TEST(MeshSelection, TheMeshJobTakesEveryTickedMeshKeyInTreeOrder) {
    TreeModel tree = interleaved();
    for (const char* key : {"IDX533950", "IDX533945"}) click(tree, key);
    EXPECT_EQ(tickedMeshKeys(tree), (Texts{"533945", "533950"}));
    click(tree, "t");
    EXPECT_TRUE(rootTicked(tree));
}

}  // namespace
