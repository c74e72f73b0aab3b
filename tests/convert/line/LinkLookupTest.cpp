// Finding the link a line's reference names. Link serial numbers start again in every mesh, so only the
// start mesh and the serial together name a link: the look-up must use both, or every reference tests a
// row per mesh and a nationwide file takes hours. Shown by the engine's plan for the writer's query, and
// by the lines written from files whose serials restart per mesh.
#include "convert/line/LineWriterSteps.h"
#include "convert/line/LineWriters.h"
#include "tests/convert/line/LineWriterFixture.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

class LinkLookupTest : public LineWriterFixture {
protected:
    static gen::LineFileOptions options(int row, bool serialsPerMesh) {
        gen::LineFileOptions o;
        o.item = row == kRailwayRow ? gen::LineItem::Railway : gen::LineItem::Ordinary;
        o.headerKey = row == kRailwayRow ? kRailwayKey : kOrdinaryKey;
        o.meshes = {533945, 533946, 543900, 543901};
        o.links = 40;
        o.lines = 12;
        o.linksPerLine = 3;
        o.reversedReferences = true;
        o.serialsPerMesh = serialsPerMesh;
        return o;
    }
    void loadGenerated(int row, bool serialsPerMesh) {
        openDb(row);
        conversionState().OutputPath = out("lines.shp");
        ASSERT_TRUE(load(writeFile("in.txt", gen::makeLineFileModel(options(row, serialsPerMesh)))));
    }
    // The engine's plan for the query, one detail line per step.
    std::vector<std::string> plan(const std::string& sql) {
        db::Query q = db_.query("EXPLAIN QUERY PLAN " + sql);
        std::vector<std::string> details;
        while (q.next()) details.push_back(q.asText(3));
        return details;
    }
};

const int kRowsWithLines[] = {kOrdinaryRow, kRailwayRow};

TEST_F(LinkLookupTest, LookUpsOfTheWriterAreOneIndexSearchEach) {
    // The link by both fields bound in one index (no row per mesh), and a line's references: no sort, and
    // no look-up of the row beside the index's.
    const std::pair<const char*, const char*> lookUps[] = {
        {ModLine::kLinkOfReferenceQuery, "(起点メッシュコード=? AND リンク一連番号=?)"},
        {ModLine::kReferencesOfLineQuery, "(LinkIdx=?)"},
    };
    for (int row : kRowsWithLines) {
        loadGenerated(row, true);
        for (auto [query, bound] : lookUps) {
            SCOPED_TRACE(std::to_string(row) + ": " + query);
            const std::vector<std::string> steps = plan(query);
            ASSERT_EQ(steps.size(), 1u);
            EXPECT_NE(steps[0].find("SEARCH"), std::string::npos) << steps[0];
            EXPECT_NE(steps[0].find("COVERING INDEX"), std::string::npos) << steps[0];
            EXPECT_NE(steps[0].find(bound), std::string::npos) << steps[0];
        }
    }
}

TEST_F(LinkLookupTest, LinkLoadedTwiceIsTheOneLoadedFirst) {
    openDb(kOrdinaryRow);
    conversionState().OutputPath = out("lines.shp");
    loadRecords(kOrdinaryKey, {
        link(533946, 9, blanks(10), "     1"), v(9),
        link(533945, 9, blanks(10), "     1"), v(5),
        link(533946, 9, blanks(10), "     1"), v(2),  // the same mesh and serial again
        lineRecord(1, " 1", "       100", 1), ref(533946, 9, 0),
    });
    ASSERT_TRUE(ModLine::MakeShapeLineFileData(db_));
    EXPECT_EQ(capturedCoordinates(), (std::vector<std::string>{"LINKIDX,1", "LINKDATA,140.09,35.09"}));
}

TEST_F(LinkLookupTest, SerialsRestartingPerMeshWriteTheSameLines) {
    for (int row : kRowsWithLines) {
        SCOPED_TRACE(row);
        std::vector<std::string> header[2], coordinates[2];
        for (bool perMesh : {false, true}) {
            loadGenerated(row, perMesh);
            ASSERT_TRUE(ModLine::MakeShapeLineFileData(db_));
            header[perMesh] = capturedHeader();
            coordinates[perMesh] = capturedCoordinates();
        }
        // Links keep their coordinates and lines their references whichever way serials are numbered.
        EXPECT_EQ(header[1], header[0]);
        EXPECT_EQ(coordinates[1], coordinates[0]);
        EXPECT_EQ(std::count(header[1].begin(), header[1].end(), std::string("PARTS_POINTS,3,21")), 12);
    }
}

}  // namespace
