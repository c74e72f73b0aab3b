// Generated files of every data item, with their defects switched on and link ends moved by gaps of
// three sizes, through the makers to shapefiles in which GEOS finds every polygon valid.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "polygon/core/KsPolygonMaker.h"
#include "polygon/core/KsPolygonMakerBasinFactory.h"
#include "tests/polygon/support/TempFolder.h"
#include "tests/tools/gen/AreaFileGen.h"
#include "tests/tools/gen/BasinFileGen.h"

namespace {

using namespace ostrand;
namespace gen = velmora::datagen;

std::unique_ptr<KsPolygonMaker> maker_for(int id, std::vector<std::string>* log) {
    const LayerRecord layer = *find_layer_record(id);
    const bool meshes = id == 2 || id == 3 || id == 4 || id == 6 || id == 7 || id == 9;
    const char* codes = meshes ? "" : nullptr;
    switch (id) {
        case 0: case 6: case 9: case 10: return std::make_unique<KsPolygonMakerRepair>(layer, codes, log);
        case 3: case 4: return std::make_unique<KsPolygonMakerRural>(layer, codes, log);
        default: return std::make_unique<KsPolygonMakerClean>(layer, codes, log);
    }
}

struct Counts {
    int total, made, incomplete, dropped;
    bool operator==(const Counts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Counts& c) {
    return out << "{" << c.total << ", " << c.made << ", " << c.incomplete << ", " << c.dropped << "}";
}

// Builds, writes and asks GEOS (SpatiaLite through GDAL's SQLite dialect) about every written polygon.
Counts build_and_check(KsPolygonMaker& maker, const polygontest::TempFolder& dir) {
    PolygonStats stats;
    maker.build(&stats);
    const std::string shp = dir.file("out.shp");
    maker.save_shape(shp);
    maker.save_dbf(shp);
    const std::string out = polygontest::run_command(
        "ogrinfo -ro -q -dialect SQLite -sql \"SELECT COUNT(*) AS n, SUM(ST_IsValid(geometry)) AS valid "
        "FROM out\" '" + shp + "'");
    const std::string made = std::to_string(maker.polygons.size());
    EXPECT_NE(out.find("n (Integer) = " + made), std::string::npos) << out;
    EXPECT_NE(out.find("valid (Integer) = " + made), std::string::npos) << out;
    return {stats.total, stats.made, stats.incomplete, stats.dropped};
}

// The counts do not depend on the gap's size: of the 6 x 5 cells and the two zero-area extras, the cleaning
// items lose the cells at the four gap links (item 7 keeps the ones with a single gap), the repairing
// items close them all but the extras, item 6 keeps even those, and the rural items add their islands.
Counts expected_counts(int id) {
    switch (id) {
        case 0: case 9: case 10: return {32, 30, 0, 2};
        case 3: case 4: return {47, 40, 0, 7};
        case 6: return {32, 32, 0, 0};
        case 7: return {32, 27, 0, 5};
        default: return {32, 25, 0, 7};
    }
}

// A gap of 2e-3 degrees moves link ends across neighbouring links; the stitching of the cleaner then
// leaves rings that pass through a vertex twice, which the writer cuts into loops.
TEST(GeneratedValidity, EveryItemAtEveryGapWritesOnlyValidPolygons) {
    for (double gap : {2e-3, 2e-4, 2e-5}) {
        for (int id = 0; id <= 10; ++id) {
            SCOPED_TRACE("data item " + std::to_string(id) + ", gap " + std::to_string(gap));
            polygontest::TempFolder dir("validity");
            gen::AreaGenOptions o;
            o.data_id = id;
            o.cols = 6;
            o.rows = 5;
            o.files = 2;
            o.vertices_per_link = 16;
            o.islands = id == 3 || id == 4;
            o.gap_degrees = gap;
            o.gap_links = 4;
            o.duplicate_areas = 2;
            o.zero_area_areas = 2;
            o.skipped_references = 2;
            o.missing_link_refs = 1;
            const gen::AreaGenResult files = gen::generate_area_files(dir.file("area"), o);
            std::vector<std::string> log;
            std::unique_ptr<KsPolygonMaker> maker = maker_for(id, &log);
            for (const std::string& f : files.files) maker->open(f);
            EXPECT_EQ(build_and_check(*maker, dir), expected_counts(id));
        }
    }
}

TEST(GeneratedValidity, CatchmentsWithBridgesAndStrayLinksWriteOnlyValidPolygons) {
    polygontest::TempFolder dir("validity-basin");
    gen::BasinGenOptions o;
    o.cols = 5;
    o.rows = 4;
    o.cells = 3;
    o.wiggle_units = 20;
    o.omitted_links = 4;
    o.stray_links = 3;
    o.files = 2;
    const gen::BasinGenResult files = gen::generate_basin_files(dir.file("basin"), o);
    std::vector<std::string> log;
    std::unique_ptr<KsPolygonMaker> maker = makeBasinMaker(*find_layer_record(20), o.codes, &log);
    for (const std::string& f : files.files) maker->open(f);
    // Three catchments walk a far link there and back; the split-off parts have no area.
    EXPECT_EQ(build_and_check(*maker, dir), (Counts{20, 20, 0, 3}));
}

}  // namespace
