// The de-duplication database on its own: rings of distinct codes in the order of their first shape
// number, n × n rings from that number on, and its failures.
#include <gmock/gmock.h>

#include "convert/mesh/MeshDb.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "platform/db/Database.h"
#include "tests/convert/mesh/MeshFixture.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::ElementsAre;

namespace {

class MeshDbTest : public MeshFixture {
protected:
    // Notes (number, code) pairs, then writes the rings into the coordinate file; its LINKIDX lines.
    std::vector<std::string> rings(const std::vector<std::pair<int, std::string>>& rows, bool ok = true) {
        EXPECT_TRUE(ModMesh::pMeshDb());
        db::Appender& mesh = ModMesh::MeshWorkDb().appender(ModMesh::kMeshTable);
        for (const auto& [number, code] : rows) EXPECT_TRUE(ModMesh::MeshDBAdd(mesh, number, code));
        shapedesc::openPair();
        const bool subdivided = conversionState().MeshLayers[kRow].Subdivision != 0;
        EXPECT_EQ(subdivided ? ModMesh::OutPutSaiMDBtoCsv() : ModMesh::OutPutMDBtoCsv(), ok);
        shapedesc::closePair();
        ModMesh::MeshWorkDb().close();
        return keyed(linesOf("MakeShapeFile.fil_D"), "LINKIDX");
    }
};

TEST_F(MeshDbTest, DistinctCodesInTheOrderTheyWereFirstMet) {
    EXPECT_THAT(rings({{1, "53394567"}, {2, "53394500"}, {3, "53394567"}, {4, "53390099"}}),
                ElementsAre("LINKIDX,1", "LINKIDX,2", "LINKIDX,4"));
    const std::vector<std::string> d = linesOf("MakeShapeFile.fil_D");
    EXPECT_EQ(d[1], "LINKDATA,139.7125,35.7166666666667");
}

TEST_F(MeshDbTest, ASubdividedCodeFirstMetAtSeventeenGetsSixteenRingsFromThere) {
    layer(3, 4);
    EXPECT_THAT(rings({{1, "53394500"}, {17, "53394567"}, {33, "53394567"}}),
                ::testing::SizeIs(32));
    const std::vector<std::string> d = linesOf("MakeShapeFile.fil_D");
    // Ring 17 is column 0 of the northernmost row of 53394567.
    const auto at = std::find(d.begin(), d.end(), "LINKIDX,17");
    ASSERT_NE(at, d.end());
    EXPECT_EQ(*(at + 1), "LINKDATA,139.7125,35.7229166666667");
    EXPECT_EQ(d.back(), "LINKDATA,139.721875,35.7166666666667");
    EXPECT_EQ(keyed(d, "LINKIDX").back(), "LINKIDX,32");
}

TEST_F(MeshDbTest, AnEmptyTableWritesNothingAndSaysNothing) {
    EXPECT_TRUE(rings({}, false).empty());
}

TEST_F(MeshDbTest, ACodeLongerThanTenCharactersIsNotStored) {
    ASSERT_TRUE(ModMesh::pMeshDb());
    ui_.answer(ui::Answer::Ok);
    EXPECT_FALSE(ModMesh::MeshDBAdd(ModMesh::MeshWorkDb().appender(ModMesh::kMeshTable), 1, "53394567890"));
    EXPECT_EQ(ui_.boxes().at(0).title, "Error: ModMesh (MeshDBAdd)");
    ModMesh::MeshWorkDb().close();
}

TEST_F(MeshDbTest, ACodeWithoutARingLeavesTheRingsBeforeItAndTheLogLine) {
    ui_.answer(ui::Answer::Ok);
    EXPECT_THAT(rings({{1, "53394567"}, {2, "5339"}}, false), ElementsAre("LINKIDX,1"));
    EXPECT_EQ(ui_.boxes().at(0).title, "Error: ModMesh (MeshMake)");
    EXPECT_THAT(logLines(), ElementsAre("標高・傾斜度メッシュ作成中にエラーが発生しました(メッシュコード→ＸＹ座標変換)"));
}

}  // namespace
