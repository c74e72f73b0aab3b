// Whole catchment jobs over generated catchment files, read back with shapelib.
#include <gtest/gtest.h>
#include <shapefil.h>

#include <map>

#include "polygon/core/JobUiHeadless.h"
#include "polygon/core/PolygonJob.h"
#include "tests/polygon/basin/BasinFixture.h"
#include "tests/polygon/support/TempFolder.h"

using namespace basintest;
using polygontest::TempFolder;
namespace gen = velmora::datagen;

namespace {

struct JobOutput {
    JobResult result = JobResult::Ok;
    PolygonStats stats;
    std::map<int, int> codes;        // attribute number -> catchment code, from the table
    std::map<int, double> areas;     // attribute number -> area of its shape, square degrees
    std::string log;                 // UTF-8
};

double shape_area(const SHPObject* s) {
    std::vector<Point> pts;
    for (int i = 0; i < s->nVertices; ++i) pts.push_back({s->padfX[i], s->padfY[i]});
    return ring_area(pts);
}

JobOutput run_job(const TempFolder& dir, const gen::BasinGenResult& files, const std::string& codes) {
    std::string inputs;
    for (const std::string& f : files.files) inputs += (inputs.empty() ? "" : ",") + f;
    const std::string out = dir.file("basin.shp"), log = dir.file("basin.log");
    HeadlessJobUi ui;
    PolygonJob job(20, inputs.c_str(), out.c_str(), log.c_str(), nullptr, codes.c_str(), ui);
    JobOutput o;
    o.result = job.run(&o.stats);
    o.log = velmora::text::fromCp932(polygontest::read_file(log));
    SHPHandle shp = SHPOpen(out.c_str(), "rb");
    DBFHandle dbf = DBFOpen(dir.file("basin.dbf").c_str(), "rb");
    if (!shp || !dbf) return o;
    for (int i = 0; i < DBFGetRecordCount(dbf); ++i) {
        const int attr_no = DBFReadIntegerAttribute(dbf, i, 0);
        o.codes[attr_no] = DBFReadIntegerAttribute(dbf, i, 1);
        SHPObject* s = SHPReadObject(shp, i);
        o.areas[attr_no] = shape_area(s);
        SHPDestroyObject(s);
    }
    SHPClose(shp);
    DBFClose(dbf);
    return o;
}

gen::BasinGenOptions two_files() {
    gen::BasinGenOptions o;
    o.cols = 4;
    o.rows = 2;
    o.cells = 2;
    o.vertices_per_link = 8;
    o.wiggle_units = 20;
    o.codes = {"81001", "81002"};
    o.omitted_links = 1;  // catchment 1 (81001)
    o.stray_links = 1;    // catchment 8 (81002)
    o.files = 2;
    return o;
}

}  // namespace

TEST(BasinJob, GeneratedFilesConvertedForChosenCodes) {
    TempFolder dir("basin-job");
    const gen::BasinGenResult files = gen::generate_basin_files(dir.file("w12"), two_files());
    ASSERT_TRUE(files.catchments.at(1).omitted_link);
    ASSERT_TRUE(files.catchments.at(8).stray_link);

    struct Case {
        std::string codes;
        std::map<int, int> expected;  // attribute number -> code
        int total;
        bool stray_removed;
    };
    const std::vector<Case> cases = {
        {"81001", {{1, 81001}, {3, 81001}, {5, 81001}, {7, 81001}}, 4, false},
        {"81002", {{2, 81002}, {4, 81002}, {6, 81002}, {8, 81002}}, 4, true},
        {" 81002 , 81009", {{2, 81002}, {4, 81002}, {6, 81002}, {8, 81002}}, 4, true},
    };
    for (const Case& t : cases) {
        const JobOutput o = run_job(dir, files, t.codes);
        ASSERT_EQ(o.result, JobResult::Ok) << t.codes << o.log;
        EXPECT_EQ(o.codes, t.expected) << t.codes;
        EXPECT_EQ(o.stats.total, t.total) << t.codes;
        EXPECT_EQ(o.stats.made, t.total) << t.codes;
        EXPECT_EQ(o.stats.incomplete, 0) << t.codes;
        EXPECT_EQ(o.log.find("[000008]流域界を構成しない一部のリンクデータを削除しました。") != std::string::npos,
                  t.stray_removed)
            << o.log;
        // The bulges of a catchment's links cancel out over its outline, so every catchment has the area of
        // its rectangle; the omitted top link, had it not been bridged, would take its bulge off.
        for (const auto& [attr_no, area] : o.areas)
            EXPECT_NEAR(area, files.catchments.at(attr_no).area_degrees, 1e-12) << t.codes << " " << attr_no;
    }
}
