// The shipped area items through the area-structure converter: files generated with each row's ledger
// items (laid out one after another from column 17, as the area loader reads them) become representative
// points carrying the ledger under the catalogue's names, and boundary lines, read back with ogrinfo.
#include <gmock/gmock.h>

#include <filesystem>

#include "convert/area/AreaShapeWriters.h"
#include "tests/catalogue/ShippedCatalogue.h"
#include "tests/brunhale/BrunhaleFolder.h"
#include "tests/convert/area/AreaJobFixture.h"
#include "tests/tools/gen/CatalogueRecordGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;

namespace {

class AreaItems : public AreaJobFixture, public ::testing::WithParamInterface<int> {
protected:
    AreaItems() {
        std::filesystem::remove(program_.file("Brunhale"));
        std::filesystem::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/Brunhale", program_.file("Brunhale"));
        EXPECT_TRUE(loadShippedCatalogue(conversionState()));
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

TEST_P(AreaItems, BecomePointsWithTheirLedgerAndBoundaryLines) {
    const int row = GetParam();
    const LayerDef& d = conversionState().PolygonLayers.at(static_cast<std::size_t>(row));
    datagen::AreaStructureOptions o;
    o.row = row;
    o.items = ledgerItems(d);
    o.grid.cols = 3;
    o.grid.rows = 2;
    o.grid.vertices_per_link = 6;
    o.first_attribute = row == 8 ? 13101 : 1201;
    const datagen::AreaStructureModel m = datagen::generate_area_structure_files(program_.file("area"), o);
    ASSERT_NE(m.header_key.find(d.HeaderKey), std::string::npos) << "the generated files carry " << m.header_key;

    openDb(row);
    for (const auto& f : m.files) ASSERT_TRUE(load(f.path));
    ASSERT_TRUE(ModPolygon::MakeShapePolygon_PointFileData(db_));
    ASSERT_TRUE(ModPolygon::MakeShapeArcFileData(db_));
    db_.close();

    const std::string points = ogrinfo(out("area_P.shp"));
    EXPECT_THAT(points, HasSubstr("Feature Count: 6"));
    EXPECT_THAT(points, HasSubstr("ID[\"EPSG\",4612]"));
    for (int i = 1; i <= d.ItemCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const bool isText = gen::isTextItemType(d.ItemType[k]);
        const std::string name = text::fromCp932(d.ItemName[k]);
        EXPECT_THAT(points, HasSubstr(name + ": " + (isText ? "String (" : "Integer (") + std::to_string(d.ItemWidth[k]) + ".0)"));
        for (const auto& l : m.files[0].ledgers) {
            const std::string& v = l.values[k - 1];
            if (v.empty()) continue;
            EXPECT_THAT(points, HasSubstr("  " + name + (isText ? " (String) = " + v : " (Integer) = " + std::to_string(std::stoll(v))) + "\n"))
                << "attribute " << l.attribute;
        }
    }
    EXPECT_THAT(ogrinfo(out("area_L.shp")), HasSubstr("Geometry: Line String"));
}

INSTANTIATE_TEST_SUITE_P(Shipped, AreaItems, ::testing::Range(0, 11));

}  // namespace
