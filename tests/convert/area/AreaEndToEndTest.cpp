// From generated area-structure files to the boundary lines and representative points through the real
// Brunhale, in the area job's order, read back with ogrinfo.
#include <cstdio>
#include <filesystem>
#include <set>

#include "convert/area/AreaShapeWriters.h"
#include "tests/convert/area/AreaJobFixture.h"

using namespace velmora;
using namespace velmora::testsupport;

namespace {

class AreaEndToEndTest : public AreaJobFixture {
protected:
    AreaEndToEndTest() {
        std::filesystem::remove(program_.file("Brunhale"));
        std::filesystem::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/Brunhale", program_.file("Brunhale"));
    }
    std::string ogrinfo(const std::string& shp, const std::string& options) {
        const std::string cmd = "ogrinfo -ro -al " + options + " '" + shp + "' 2>&1";
        std::string outText;
        if (std::FILE* p = ::popen(cmd.c_str(), "r")) {
            char buf[4096];
            for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) outText.append(buf, n);
            ::pclose(p);
        }
        return outText;
    }
    static int count(const std::string& hay, const std::string& needle) {
        int n = 0;
        for (std::size_t at = hay.find(needle); at != std::string::npos; at = hay.find(needle, at + 1)) ++n;
        return n;
    }
    // Generates two files of the boundary item and runs them as the area job would: database, counters
    // from `firstLinkIdx`, every file, points, then lines.
    datagen::AreaStructureModel runJob(std::int32_t firstLinkIdx) {
        datagen::AreaStructureOptions o;
        o.row = 8;
        o.grid.cols = 4;
        o.grid.rows = 3;
        o.grid.vertices_per_link = 12;
        o.grid.files = 2;
        o.first_attribute = 13101;
        o.links_without_vertices = 1;
        o.areas_without_ledger = 2;
        const datagen::AreaStructureModel m = datagen::generate_area_structure_files(program_.file("n03"), o);
        select(8);
        EXPECT_TRUE(ModPolygon::MakePolygonDb());
        db_ = db::Database::open(ModPolygon::PolygonDbPath());
        conversionState().LinkIdxCounter = {firstLinkIdx, 0};
        for (const auto& f : m.files) EXPECT_TRUE(load(f.path));
        EXPECT_TRUE(ModPolygon::MakeShapePolygon_PointFileData(db_));
        EXPECT_TRUE(ModPolygon::MakeShapeArcFileData(db_));
        return m;
    }
};

TEST_F(AreaEndToEndTest, TwoFilesBecomeBoundaryLinesAndRepresentativePoints) {
    conversionState().OutputPath = out("行政界.shp");
    const datagen::AreaStructureModel m = runJob(0);
    std::set<std::pair<std::string, int>> links;
    std::size_t areas = 0, ledgers = 0;
    for (const auto& f : m.files) {
        for (const auto& l : f.links)
            if (!l.vertices.empty()) links.insert({l.start_mesh, l.serial});
        areas += f.areas.size();
        ledgers += f.ledgers.size();
    }
    ASSERT_EQ(areas, 12u);
    ASSERT_EQ(ledgers, 10u);

    const std::string lines = ogrinfo(out("行政界_L.shp"), "");
    // The links between the two files' strips are in both; each is one shape.
    EXPECT_NE(lines.find("Feature Count: " + std::to_string(links.size())), std::string::npos) << lines.substr(0, 1500);
    EXPECT_EQ(count(lines, "LINESTRING ("), static_cast<int>(links.size()));
    for (const char* field : {"起点MeshCD: String (6.0)", "Link一連No: String (6.0)", "LINKIDX: String (6.0)"})
        EXPECT_NE(lines.find(field), std::string::npos) << field;
    EXPECT_TRUE(std::filesystem::exists(out("行政界_L.prj")));

    const std::string points = ogrinfo(out("行政界_P.shp"), "");
    EXPECT_NE(points.find("Feature Count: 10"), std::string::npos) << points.substr(0, 1500);
    EXPECT_NE(points.find("Geometry: Point"), std::string::npos);
    EXPECT_NE(points.find("属性番号: String (10.0)"), std::string::npos) << points.substr(0, 1500);
    EXPECT_NE(points.find("都道府県名: String (16.0)"), std::string::npos);
    // Area 3 (attribute 13103): its codes come from the attribute number, its names are Japanese text.
    EXPECT_NE(points.find("属性番号 (String) = 3\n"), std::string::npos) << points;
    EXPECT_NE(points.find("都道府県CD (Integer) = 13"), std::string::npos);
    EXPECT_NE(points.find("市区町村CD (Integer) = 103"), std::string::npos);
    EXPECT_NE(points.find("市区町村名 (String) = 区域一三一〇三"), std::string::npos) << points;
    EXPECT_EQ(logLines().size(), 2u);  // the two areas without a ledger
    EXPECT_TRUE(pairGone());
}

TEST_F(AreaEndToEndTest, LinkIndexesBeyondSixDigitsGetAWiderField) {
    conversionState().OutputPath = out("wide.shp");
    runJob(999990);
    const std::string lines = ogrinfo(out("wide_L.shp"), "");
    EXPECT_NE(lines.find("LINKIDX: String (10.0)"), std::string::npos) << lines.substr(0, 1500);
    EXPECT_NE(lines.find("LINKIDX (String) = 1000010"), std::string::npos);
}

}  // namespace
