// The shipped area items converted end to end: area files whose "DA" ledgers are laid out from each shipped
// row (items one after another from column 17, as the area loader reads them) go through the file-list
// area job in the headless job runner, with the real polygon library and the real Brunhale. The polygons
// carry the ledger as the library reads it from its own columns, so a row whose widths or order differ
// from the library's shows here as values that differ between the polygons and the points.
#include <filesystem>

#include "tests/catalogue/ShippedItemRun.h"
#include "tests/tools/gen/AreaFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;

namespace {

constexpr int kAgricultureRow = 3;
constexpr int kForestRow = 4;
constexpr int kMunicipalRow = 8;
constexpr int kCatchmentRow = 10;

class AreaItems : public ShippedItemRun, public ::testing::WithParamInterface<int> {
protected:
    AreaItems() {
        std::filesystem::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/libOstrand.so", program_.file("libOstrand.so"));
    }
    // The library writes every number of the ledger as a 12-digit field, texts as they are wide.
    static std::string polygonType(const LayerDef& d, int item) {
        return gen::isTextItemType(d.ItemType[static_cast<std::size_t>(item)]) ? "String" : "Integer64";
    }
};

// The items of a shipped area row as the generator lays them out.
std::vector<datagen::AreaLedgerItemDef> ledgerItems(const LayerDef& d) {
    std::vector<datagen::AreaLedgerItemDef> items;
    for (int i = 1; i <= d.ItemCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        items.push_back({text::fromCp932(d.ItemName[k]), d.ItemType[k], d.ItemWidth[k], d.ItemOutput[k]});
    }
    return items;
}

// The attribute numbers of the six areas start here: row 8 derives the prefecture and the municipality from
// them; the catchments' codes (item 2, five digits) must be whole codes of the catchment list.
long long firstAttribute(int row) {
    if (row == kMunicipalRow) return 13101;
    if (row == kCatchmentRow) return 81001;
    return 1201;
}

// The value of an item of one area as ogrinfo prints it: texts as stored, numbers without their blanks.
std::string printed(const LayerDef& d, int item, const std::string& stored) {
    return gen::isTextItemType(d.ItemType[static_cast<std::size_t>(item)]) ? stored : std::to_string(std::stoll(stored));
}

TEST_P(AreaItems, ConvertThroughTheAreaJobWithPolygonsPointsAndLines) {
    const int row = GetParam();
    const LayerDef& d = conversionState().PolygonLayers.at(static_cast<std::size_t>(row));
    datagen::AreaStructureOptions o;
    o.row = row;
    o.items = ledgerItems(d);
    o.grid.cols = 3;
    o.grid.rows = 2;
    o.grid.vertices_per_link = 6;
    o.first_attribute = firstAttribute(row);
    // The rural items nest every other area that touches a designated one (指定区分 1) into it as a hole:
    // designated areas alone keep one polygon each.
    if (row == kAgricultureRow || row == kForestRow) o.fixed_values = {{"指定区分", "1"}};
    const datagen::AreaStructureModel m = datagen::generate_area_structure_files(program_.file("in/area"), o);
    ASSERT_NE(m.header_key.find(d.HeaderKey), std::string::npos) << "the generated files carry " << m.header_key;
    const std::vector<datagen::AreaLedgerModel>& ledgers = m.files.at(0).ledgers;
    ASSERT_EQ(ledgers.size(), 6u);

    std::string options = "--datum 2000 --polygons yes --attached both --answer no";
    if (row == kCatchmentRow) {
        std::vector<std::string> tree = {"1,81"};
        std::string codes;
        for (const datagen::AreaLedgerModel& l : ledgers) {
            const std::string code = std::to_string(l.attribute);
            tree.push_back("2,81," + code + ",川" + code);
            codes += (codes.empty() ? "" : ",") + code;
        }
        writeLines(program_.file("DataSyusui.csv"), tree);
        options += " --catchments " + codes;
    }
    const std::string base = program_.file("out/面" + std::to_string(row));
    convert("area", row, base, {m.files[0].path}, options);

    const std::string polygons = ogrinfo(base + ".shp");
    EXPECT_THAT(polygons, HasSubstr("Geometry: Polygon"));
    EXPECT_THAT(polygons, HasSubstr("Feature Count: 6"));
    const std::string points = ogrinfo(base + "_P.shp");
    EXPECT_THAT(points, HasSubstr("Geometry: Point"));
    EXPECT_THAT(points, HasSubstr("Feature Count: 6"));
    EXPECT_THAT(points, HasSubstr("ID[\"EPSG\",4612]"));
    for (int i = 1; i <= d.ItemCount; ++i) {
        const std::string name = text::fromCp932(d.ItemName[static_cast<std::size_t>(i)]);
        // The catchment library keeps the catchment's code and unit; the boundary kind before them is ours.
        const bool onPolygons = !(row == kCatchmentRow && i == 1);
        EXPECT_THAT(points, HasSubstr(fieldLine(d, i)));
        if (onPolygons) {
            EXPECT_THAT(polygons, HasSubstr(name + ": " + polygonType(d, i) + " ("));
        }
        for (const datagen::AreaLedgerModel& l : ledgers) {
            const std::string& v = l.values[static_cast<std::size_t>(i - 1)];
            if (v.empty()) continue;
            EXPECT_THAT(points, HasSubstr(valueLine(d, i, printed(d, i, v)))) << name << " of " << l.attribute;
            if (onPolygons) {
                EXPECT_THAT(polygons, HasSubstr("  " + name + " (" + polygonType(d, i) + ") = " + printed(d, i, v) + "\n"))
                    << name << " of " << l.attribute;
            }
        }
    }
    const std::string lines = ogrinfo(base + "_L.shp");
    EXPECT_THAT(lines, HasSubstr("Geometry: Line String"));
    EXPECT_THAT(lines, HasSubstr("Feature Count: " + std::to_string(m.files[0].links.size())));
    EXPECT_THAT(lines, HasSubstr("ID[\"EPSG\",4612]"));
}

INSTANTIATE_TEST_SUITE_P(Shipped, AreaItems, ::testing::Range(0, 11));

}  // namespace
