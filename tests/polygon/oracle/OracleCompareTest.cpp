// Whole polygon jobs run twice, with the library's indexed searches and with their literal forms
// (polygon_job_indexed, polygon_job_literal): the shapefile, its index, the table and the log must be the
// same bytes. Generated files of every data item with their defects switched on, and hand-made files
// that put the indexes to work: long rings crossed by many small ones, a long outer ring holding many
// holes, a self-crossing ring, a mesh selection whose corner lies inside an area.
//
// What the literal build swaps: only the files that restructure a search or a loop for speed, each
// replaced by a plain form that does what the method says pair by pair (see the CMakeLists beside this
// file): BoxGrid, CleanerSegmentIndex, CleanerPointLocator, CleanerVertexSearch, MakerSearches (mesh
// selection, rural nesting, repeated points, the repair's chain pass, catchment bridges), CleanerPairs
// (ring pairs and segment pairs of the cleaner), CleanerRingSplit (the cleaner's loop stack) and
// SimpleRings (the writer's cut of pinched rings). Everything else runs the same code in both builds: the
// reader, ring building, the makers' repairs, nesting and catchment steps, the cleaner's noding tests,
// stitching and orientation, and the writers. So equal files show that the swapped modules change nothing;
// whether the shared code does what the method says is for the tests of each part to show.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "tests/polygon/support/AreaFixture.h"
#include "tests/polygon/support/TempFolder.h"
#include "tests/tools/gen/AreaFileGen.h"
#include "tests/tools/gen/BasinFileGen.h"

namespace {

namespace gen = velmora::datagen;
using polygontest::AreaFileParts;
using polygontest::TempFolder;

struct JobInput {
    int item;
    std::string files;   // comma-separated
    std::string meshes;  // "-": none given
    std::string basins;  // "-": none given
};

// Runs the job with one build of the library into dir/<tag>.*; returns the printed result line.
std::string run_job(const char* program, const TempFolder& dir, const std::string& tag, const JobInput& in) {
    const std::string out = dir.file(tag + ".shp"), log = dir.file(tag + ".log");
    return polygontest::run_command(std::string(program) + " " + std::to_string(in.item) + " '" + in.files + "' '" +
                                    out + "' '" + log + "' '" + in.meshes + "' '" + in.basins + "'");
}

// Both builds on the same input: every file byte for byte. Returns the result line for further checks.
std::string expect_same_outputs(const TempFolder& dir, const JobInput& in) {
    const std::string indexed = run_job(JOB_INDEXED, dir, "indexed", in);
    const std::string literal = run_job(JOB_LITERAL, dir, "literal", in);
    EXPECT_EQ(indexed, literal);
    EXPECT_NE(indexed.find("result 0 "), std::string::npos) << indexed;
    for (const char* ext : {".shp", ".shx", ".dbf", ".log"}) {
        const std::string a = polygontest::read_file(dir.file(std::string("indexed") + ext));
        const std::string b = polygontest::read_file(dir.file(std::string("literal") + ext));
        EXPECT_FALSE(a.empty()) << ext;
        EXPECT_TRUE(a == b) << ext << " differs (" << a.size() << " and " << b.size() << " bytes)";
    }
    return indexed;
}

std::string joined(const std::vector<std::string>& files) {
    std::string s;
    for (const std::string& f : files) s += (s.empty() ? "" : ",") + f;
    return s;
}

bool takes_meshes(int id) { return id == 2 || id == 3 || id == 4 || id == 6 || id == 7 || id == 9; }

// South-west corner of secondary mesh 533921, in 1/36000 degree.
constexpr double kMeshX = 139.125 * 36000, kMeshY = 35.5 * 36000;

TEST(OracleGeneratedItems, IndexedAndLiteralSearchesWriteTheSameFiles) {
    struct Case {
        int item;
        const char* meshes;
        double gap = 2e-4;
    };
    // Items without a mesh list, and each item that takes one both with none and with a selection that
    // cuts the grid (its links on the mesh border count as inside). Gaps of 2e-3 degrees are grossly
    // broken: the repairs join links across neighbouring cells and the cleaner gets crossing rings.
    const std::vector<Case> cases = {{0, "-"},  {1, "-"},  {5, "-"},        {8, "-"},        {10, "-"},
                                     {2, ""},   {6, ""},   {7, ""},         {9, ""},         {3, ""},
                                     {4, ""},   {2, "533921"}, {6, "533921"}, {7, "533921"}, {9, "533921"},
                                     {3, "533921,533911"}, {4, "533921"},
                                     {0, "-", 2e-3}, {7, "", 2e-3}, {9, "", 2e-3}, {10, "-", 2e-3}};
    for (const Case& c : cases) {
        SCOPED_TRACE("item " + std::to_string(c.item) + ", meshes '" + c.meshes + "', gap " + std::to_string(c.gap));
        TempFolder dir("oracle-gen");
        gen::AreaGenOptions o;
        o.data_id = c.item;
        o.cols = 7;
        o.rows = 5;
        o.files = 2;
        o.vertices_per_link = 16;
        o.islands = c.item == 3 || c.item == 4;
        o.gap_links = 3;
        o.gap_degrees = c.gap;
        o.duplicate_areas = 2;
        o.zero_area_areas = 1;
        o.skipped_references = 2;
        o.missing_link_refs = 1;
        // The mesh border x = 139.125 runs through the grid, y = 35.5 along its southern edge.
        o.origin_x = kMeshX - 3 * 120;
        o.origin_y = kMeshY;
        const gen::AreaGenResult files = gen::generate_area_files(dir.file("area"), o);
        ASSERT_TRUE(takes_meshes(c.item) || std::string(c.meshes) == "-");
        expect_same_outputs(dir, {c.item, joined(files.files), c.meshes, "-"});
    }
}

// Links of 40 vertices make rings of more than 64 points, so every search that indexes long rings (the
// cleaner's segment index and point locator, rural nesting's point locators) does real work, for every item.
TEST(OracleGeneratedItems, RingsAboveTheIndexThresholdsWriteTheSameFiles) {
    for (int item = 0; item <= 10; ++item) {
        SCOPED_TRACE("item " + std::to_string(item));
        TempFolder dir("oracle-long");
        gen::AreaGenOptions o;
        o.data_id = item;
        o.cols = 5;
        o.rows = 4;
        o.files = 2;
        o.vertices_per_link = 40;
        o.islands = item == 3 || item == 4;
        o.gap_links = 3;
        o.gap_degrees = item % 2 ? 2e-3 : 2e-4;
        o.duplicate_areas = 1;
        o.zero_area_areas = 1;
        o.skipped_references = 1;
        o.missing_link_refs = 1;
        const gen::AreaGenResult files = gen::generate_area_files(dir.file("area"), o);
        expect_same_outputs(dir, {item, joined(files.files), takes_meshes(item) ? "" : "-", "-"});
    }
}

// Every indexed search against its literal form on random inputs full of ties (polygon_search_indexed and
// polygon_search_literal print what each search finds; see SearchRunner.cpp).
TEST(OracleSearches, IndexedAndLiteralFindTheSameOnRandomTies) {
    const std::string indexed = polygontest::run_command(std::string(SEARCH_INDEXED) + " 200");
    const std::string literal = polygontest::run_command(std::string(SEARCH_LITERAL) + " 200");
    ASSERT_GT(indexed.size(), 1000000u);
    EXPECT_TRUE(indexed == literal) << "the printouts differ";
    for (const char* search : {"boxgrid 199", "repeated 199", "nesting 199", "chains 199", "bridges 199", "simple 199",
                               "cleaner 199"})
        EXPECT_NE(indexed.find(search), std::string::npos) << search;
}

TEST(OracleGeneratedItems, CatchmentsWithBridgesAndSplitsWriteTheSameFiles) {
    for (int files : {1, 3}) {
        SCOPED_TRACE(std::to_string(files) + " files");
        TempFolder dir("oracle-basin");
        const gen::BasinGenOptions o{.cols = 4, .rows = 3, .cells = 3, .vertices_per_link = 8, .wiggle_units = 3,
                                     .area_records = 3, .omitted_links = 5, .stray_links = 3, .files = files};
        const gen::BasinGenResult basins = gen::generate_basin_files(dir.file("basin"), o);
        expect_same_outputs(dir, {20, joined(basins.files), "-", "81001,81002"});
    }
}

std::vector<std::pair<double, double>> circle(double cx, double cy, double r, int n) {
    std::vector<std::pair<double, double>> pts;
    for (int i = 0; i < n; ++i) {
        const double t = -2 * M_PI * i / n;  // clockwise
        pts.emplace_back(std::round(cx + r * std::cos(t)), std::round(cy + r * std::sin(t)));
    }
    pts.push_back(pts.front());
    return pts;
}

gen::GenArea area_of(int serial, long long attr_no, int link) {
    return gen::GenArea{serial, attr_no, {polygontest::fwd(link)}};
}

TEST(OracleHandMade, LongRingsCrossedByManySmallRingsCleanTheSame) {
    TempFolder dir("oracle-clean");
    AreaFileParts p;
    p.code = gen::area_data_code(8);
    const double cx = kMeshX + 2000, cy = kMeshY + 1500;
    int serial = 0, link = 0;
    // Attribute 1: a long ring, squares across its boundary (merged into it or cut out of it), squares
    // inside (holes) and outside (islands).
    p.links.push_back({"533945", ++link, circle(cx, cy, 1000, 400)});
    p.areas.push_back(area_of(++serial, 1, link));
    // Enough rings that the pairs of rings are found through a grid of their boxes.
    for (int k = 0; k < 48; ++k) {
        const int group = k / 8 == 0 ? 0 : (k < 28 ? 1 : 2);  // across, inside, outside
        const double t = 2 * M_PI * k / (group == 0 ? 8 : 20), r = group == 0 ? 1000 : (group == 1 ? 500 : 1300);
        const double size = group == 0 ? 180 + 10 * k : 60;
        p.links.push_back(polygontest::square_link("533945", ++link, std::round(cx + r * std::cos(t) - size / 2),
                                                   std::round(cy + r * std::sin(t) - size / 2), size));
        p.areas.push_back(area_of(++serial, 1, link));
    }
    // Attribute 2: a long ring that crosses itself (a figure eight of unequal loops).
    std::vector<std::pair<double, double>> eight;
    for (int i = 0; i < 300; ++i) {
        const double t = 2 * M_PI * i / 300;
        eight.emplace_back(std::round(cx + 3000 + 900 * std::sin(t)), std::round(cy + (t < M_PI ? 900 : 400) * std::sin(t) * std::cos(t)));
    }
    eight.push_back(eight.front());
    p.links.push_back({"533945", ++link, eight});
    p.areas.push_back(area_of(++serial, 2, link));
    // Attribute 3: two long rings overlapping along most of their length.
    p.links.push_back({"533945", ++link, circle(cx, cy + 3000, 800, 200)});
    p.areas.push_back(area_of(++serial, 3, link));
    p.links.push_back({"533945", ++link, circle(cx + 300, cy + 3000, 800, 250)});
    p.areas.push_back(area_of(++serial, 3, link));
    for (long long a : {1, 2, 3})
        for (const std::string& l : gen::ledger_lines(8, a, 1)) p.ledgers.push_back(l);
    const std::string file = polygontest::write_area_file(dir, "clean.txt", p);
    expect_same_outputs(dir, {8, file, "-", "-"});
}

TEST(OracleHandMade, RepairsOfManyLinksWithGapsChainTheSame) {
    TempFolder dir("oracle-repair");
    AreaFileParts p;
    p.code = gen::area_data_code(9);
    int link = 0, serial = 0;
    // Two rings of 120 and 90 links, listed out of order, some ends moved: the repair's chain search runs
    // over more chains than it walks one by one, and at its wider tolerances several ends compete.
    for (const auto& [attr, pieces, shift] : {std::tuple{1LL, 120, 0.0}, std::tuple{2LL, 90, 5000.0}}) {
        const std::vector<std::pair<double, double>> ring = circle(kMeshX + 2000 + shift, kMeshY + 1500, 1000, pieces * 4);
        gen::GenArea area{++serial, attr, {}};
        for (int i = 0; i < pieces; ++i) {
            gen::GenLink l{"533945", ++link, {ring.begin() + 4 * i, ring.begin() + 4 * i + 5}};
            if (i % 17 == 3) l.xy.back().first += 1 + i % 3;  // gaps of 1 to 3 units
            p.links.push_back(l);
            area.refs.push_back((i * 7) % 2 ? polygontest::fwd(link) : polygontest::back(link));
        }
        std::rotate(area.refs.begin(), area.refs.begin() + pieces / 3, area.refs.end());
        p.areas.push_back(area);
        for (const std::string& l : gen::ledger_lines(9, attr, 1)) p.ledgers.push_back(l);
    }
    const std::string file = polygontest::write_area_file(dir, "repair.txt", p);
    expect_same_outputs(dir, {9, file, "", "-"});
}

TEST(OracleHandMade, LongOuterRingsWithManyHolesAndAMeshCornerNestTheSame) {
    TempFolder dir("oracle-rural");
    AreaFileParts p;
    p.code = gen::area_data_code(4);
    int serial = 0, link = 0;
    std::vector<std::pair<long long, int>> ledgers;  // attribute number, flag
    auto add = [&](const gen::GenLink& l, int flag) {
        p.links.push_back(l);
        p.links.back().number = ++link;
        const long long attr = 100 + link;
        p.areas.push_back(area_of(++serial, attr, link));
        ledgers.emplace_back(attr, flag);
    };
    const double cx = kMeshX + 2000, cy = kMeshY + 1500;
    add({"533945", 0, circle(cx, cy, 1200, 300)}, 1);          // the largest outer
    add({"533945", 0, circle(cx + 1000, cy, 700, 200)}, 1);    // overlaps it: its holes there go to the first
    add({"533945", 0, circle(cx - 2200, cy, 300, 100)}, 1);    // a small outer apart
    const std::vector<std::pair<double, double>> big = circle(cx, cy, 1200, 300);
    for (int k = 0; k < 40; ++k) {
        const double t = 2 * M_PI * k / 40, r = 150 + 35 * k;
        add(polygontest::square_link("533945", 0, std::round(cx + r * std::cos(t)), std::round(cy + r * std::sin(t)), 20),
            2);
    }
    // Holes whose first point is a vertex of the largest outer (on its boundary).
    for (int k : {0, 75, 150})
        add(polygontest::square_link("533945", 0, big[static_cast<std::size_t>(k)].first,
                                     big[static_cast<std::size_t>(k)].second, 20),
            2);
    add(polygontest::square_link("533945", 0, cx - 2210, cy - 10, 20), 2);  // in the small outer
    // Holes whose first point lies in both overlapping outers: the first outer takes them, the second not.
    for (double dx : {800.0, 900.0}) add(polygontest::square_link("533945", 0, cx + dx, cy - 100, 20), 2);
    // A diamond around the mesh's south-west corner with every vertex outside the mesh: kept only
    // because its outline holds the corner.
    add({"533945", 0, {{kMeshX - 550, kMeshY - 50}, {kMeshX - 50, kMeshY + 450}, {kMeshX + 450, kMeshY - 50},
                       {kMeshX - 50, kMeshY - 550}, {kMeshX - 550, kMeshY - 50}}},
        1);
    add(polygontest::square_link("533945", 0, kMeshX - 9000, kMeshY - 9000, 100), 1);  // outside: dropped
    for (const auto& [attr, flag] : ledgers)
        for (const std::string& l : gen::ledger_lines(4, attr, flag)) p.ledgers.push_back(l);
    const std::string file = polygontest::write_area_file(dir, "rural.txt", p);
    const std::string result = expect_same_outputs(dir, {4, file, "533921", "-"});
    // Some holes were nested and some stayed polygons of their own, so both ways were taken.
    const int records = std::atoi(result.substr(result.find("rural ") + 6).c_str());
    EXPECT_GT(records, 4);
    EXPECT_LT(records, 50);
}

}  // namespace
