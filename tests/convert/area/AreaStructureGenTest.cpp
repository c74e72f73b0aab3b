// The area-structure generator: representative points inside their areas with their own mesh code, shared
// links equal in both files, and the catalogue row it writes.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "platform/text/Cp932.h"
#include "tests/convert/core/TempProgramFolder.h"
#include "tests/tools/gen/AreaFileGen.h"

using namespace velmora;

namespace {

using Point = std::pair<long long, long long>;

// The secondary mesh code of a point in 1/36000 degree, from the mesh's definition: 40 minutes of
// latitude and one degree of longitude per primary mesh, eight by eight secondary meshes in each.
std::string meshCode(long long x, long long y) {
    const long long row = y * 8 / 24000, column = (x - 100 * 36000) * 8 / 36000;
    const long long code = (row / 8) * 10000 + (column / 8) * 100 + (row % 8) * 10 + column % 8;
    return std::to_string(code);
}

// Even-odd test of a point against a closed ring.
bool inside(const std::vector<Point>& ring, Point p) {
    bool in = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const double xi = ring[i].first, yi = ring[i].second, xj = ring[j].first, yj = ring[j].second;
        if ((yi > p.second) != (yj > p.second) && p.first < (xj - xi) * (p.second - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
}

TEST(AreaStructureGenTest, PointsLieInsideTheirAreasAndSharedLinksAreEqual) {
    testsupport::TempProgramFolder folder;
    datagen::AreaStructureOptions o;
    o.grid.cols = 4;
    o.grid.rows = 3;
    o.grid.vertices_per_link = 9;
    o.grid.files = 2;
    const datagen::AreaStructureModel m = datagen::generate_area_structure_files(folder.file("g"), o);
    ASSERT_EQ(m.files.size(), 2u);

    std::map<std::pair<std::string, int>, datagen::AreaLinkModel> links;
    int shared = 0;
    for (const auto& f : m.files)
        for (const auto& l : f.links) {
            const auto [at, added] = links.emplace(std::make_pair(l.start_mesh, l.serial), l);
            if (added) continue;
            ++shared;
            EXPECT_EQ(at->second.vertices, l.vertices);
            EXPECT_EQ(at->second.end_number, l.end_number);
        }
    EXPECT_EQ(shared, 3);  // the boundary between the two strips, one link per row

    for (const auto& f : m.files)
        for (const auto& a : f.areas) {
            std::vector<Point> ring;
            for (const datagen::GenRef& r : a.refs) {
                auto v = links.at({r.mesh, std::abs(r.number)}).vertices;
                if (r.number < 0) std::reverse(v.begin(), v.end());
                if (!ring.empty()) {
                    EXPECT_EQ(ring.back(), v.front()) << "area " << a.serial;
                }
                ring.insert(ring.end(), v.begin(), v.end());
            }
            EXPECT_EQ(ring.front(), ring.back()) << "area " << a.serial;
            EXPECT_TRUE(inside(ring, {a.x, a.y})) << "area " << a.serial;
            EXPECT_EQ(a.mesh, meshCode(a.x, a.y)) << "area " << a.serial;
        }
}

TEST(AreaStructureGenTest, CatalogueRowPlacesItemsOneAfterAnother) {
    testsupport::TempProgramFolder folder;
    datagen::AreaStructureOptions o;
    o.row = 7;
    o.grid.cols = 1;
    o.grid.rows = 1;
    const datagen::AreaStructureModel m = datagen::generate_area_structure_files(folder.file("r"), o);
    EXPECT_EQ(text::fromCp932(datagen::area_catalogue_line(m, "リゾート")), "2,7,リゾート,0,1,0,0,0,0,A07-07A,7,0,0");
    std::vector<std::string> items;
    for (const std::string& l : datagen::area_catalogue_item_lines(m, "リゾート")) items.push_back(text::fromCp932(l));
    EXPECT_EQ(items, (std::vector<std::string>{
        "2,7,リゾート,1,,地区番号,Integer,2,1,0", "2,7,リゾート,2,,区分,Integer,1,1,0",
        "2,7,リゾート,3,,都道府県コード,Integer,2,1,17", "2,7,リゾート,4,,指定年月日,Long,8,1,19",
        "2,7,リゾート,5,,構想名,Text,50,1,27", "2,7,リゾート,6,,地区名,Text,50,1,77",
        "2,7,リゾート,7,,面積,Long,4,1,127"}));
    // The record runs on to its second line after the fifth item.
    ASSERT_EQ(m.files[0].ledgers.size(), 1u);
    const auto& d = m.files[0].ledgers[0];
    ASSERT_EQ(d.lines.size(), 2u);
    EXPECT_EQ(d.line_count, 2);
    EXPECT_EQ(d.lines[0].size(), 16u + 2 + 8 + 50);
    EXPECT_EQ(d.lines[1].size(), 50u + 4);
}

}  // namespace
