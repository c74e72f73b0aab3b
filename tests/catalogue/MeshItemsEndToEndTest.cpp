// The shipped mesh items converted end to end: "M" records laid out from each item's catalogue row become
// mesh-cell polygons with their codes and items, read back with ogrinfo.
#include "tests/catalogue/ShippedItemRun.h"

#include <functional>

#include "tests/tools/gen/AttrFileGen.h"

using namespace velmora;
using namespace velmora::testsupport;
using ::testing::HasSubstr;

namespace {

// Third-level mesh codes of the records: 5339-46-11, 5339-46-12, 5339-46-21.
const std::vector<std::string> kCells = {"53394611", "53394612", "53394621"};
// The mesh size and the mesh code in front of the items.
const std::vector<gen::AttrGenColumn> kCodeColumns = {{4, 2, true}, {6, 8, false}};

// A mesh file of the row: its data code in the header line, one record per cell of kCells, each item
// (or each cell's items, for a subdivided row) holding `values(record)`.
std::string meshFile(const std::string& path, const ShippedLayout& layout,
                     const std::function<std::vector<std::string>(int)>& itemValues,
                     const std::vector<gen::AttrGenColumn>& itemColumns) {
    std::vector<gen::AttrGenColumn> columns = kCodeColumns;
    columns.insert(columns.end(), itemColumns.begin(), itemColumns.end());
    std::vector<std::string> lines = {gen::attrHeaderLine({"GSI", layout.dataCode, "4", "1976", std::to_string(layout.recordWidth),
                                                           static_cast<long>(kCells.size() + 1)})};
    for (std::size_t r = 0; r < kCells.size(); ++r) {
        std::vector<std::string> values = {"3", kCells[r]};
        const std::vector<std::string> items = itemValues(static_cast<int>(r) + 1);
        values.insert(values.end(), items.begin(), items.end());
        lines.push_back(gen::attrTRow(columns, values, "M"));
    }
    gen::writeLines(path, lines);
    return path;
}

TEST_F(ShippedItemRun, MeshItemsBecomeCellsWithTheirItems) {
    for (const int row : {9, 21}) {
        const auto layout = shippedLayout(CatalogKind::Mesh, row);
        ASSERT_TRUE(layout);
        const MeshLayerDef& d = conversionState().MeshLayers[static_cast<std::size_t>(row)];
        const auto columns = gen::catalogueColumns(d, 1, d.ItemCount);
        const std::string in = meshFile(program_.file("in/" + std::to_string(row) + ".txt"), *layout,
                                        [&](int r) { return gen::sampleValues(columns, r); }, columns);
        const std::string out = program_.file("out/mesh" + std::to_string(row) + ".shp");
        convert("mesh", row, out, {in}, "--datum 2000 --answer no");

        const std::string info = ogrinfo(out);
        EXPECT_THAT(info, HasSubstr("Feature Count: 3")) << row;
        EXPECT_THAT(info, HasSubstr("Geometry: Polygon"));
        EXPECT_THAT(info, HasSubstr("ID[\"EPSG\",4612]"));
        for (int i = 1; i <= d.ItemCount; ++i) EXPECT_THAT(info, HasSubstr(fieldLine(d, i))) << row;
        for (int r = 1; r <= static_cast<int>(kCells.size()); ++r) {
            EXPECT_THAT(info, HasSubstr("  3MCODE (String) = " + kCells[static_cast<std::size_t>(r - 1)] + "\n"));
            const std::vector<std::string> values = gen::sampleValues(columns, r);
            for (int i = 1; i <= d.ItemCount; ++i)
                EXPECT_THAT(info, HasSubstr(valueLine(d, i, values[static_cast<std::size_t>(i - 1)]))) << row << " record " << r;
        }
    }
}

// A land-use file covers the whole country: one file goes to the nationwide job, narrowed to the ticked meshes.
TEST_F(ShippedItemRun, OneLandUseFileGoesToTheNationwideJob) {
    const int row = 21;
    const MeshLayerDef& d = conversionState().MeshLayers[row];
    EXPECT_TRUE(d.AllowNationwide);
    EXPECT_TRUE(conversionState().MeshLayers[23].AllowNationwide);
    const auto columns = gen::catalogueColumns(d, 1, d.ItemCount);
    const std::string in = meshFile(program_.file("in/L03.txt"), *shippedLayout(CatalogKind::Mesh, row),
                                    [&](int r) { return gen::sampleValues(columns, r); }, columns);
    const std::string out = program_.file("out/landuse.shp");
    convert("mesh", row, out, {in}, "--nationwide --meshes 533946 --datum 2000 --answer no");
    EXPECT_THAT(ogrinfo(out), HasSubstr("Feature Count: 3"));
}

// The 1/10 land use: one byte per cell, 100 cells from the item's start, cell (r, c) at 10 r + c.
TEST_F(ShippedItemRun, LandUseCellsCarryTheirOwnCode) {
    const int row = 23;
    const auto layout = shippedLayout(CatalogKind::Mesh, row);
    ASSERT_TRUE(layout);
    const MeshLayerDef& d = conversionState().MeshLayers[row];
    ASSERT_EQ(d.ItemCount, 1);
    const std::string codes = "123456789ABCDEF";
    auto cells = [&](int record) {
        std::string s;
        for (int k = 0; k < 100; ++k) s += codes[static_cast<std::size_t>(k + record) % codes.size()];
        return std::vector<std::string>{s};
    };
    const std::string in = meshFile(program_.file("in/L03.txt"), *layout, cells, {{d.ItemStart[1], 100, false}});
    const std::string out = program_.file("out/landuse.shp");
    convert("mesh", row, out, {in}, "--datum 2000 --answer no");

    const std::string info = ogrinfo(out);
    EXPECT_THAT(info, HasSubstr("Feature Count: 300"));
    EXPECT_THAT(info, HasSubstr(fieldLine(d, 1)));
    const std::string item = text::fromCp932(d.ItemName[1]);
    for (const auto& [record, cell] : {std::pair{1, 0}, std::pair{1, 9}, std::pair{2, 23}, std::pair{3, 99}}) {
        const std::string code = (cell < 10 ? "0" : "") + std::to_string(cell);
        const std::string value(1, cells(record)[0][static_cast<std::size_t>(cell)]);
        EXPECT_THAT(info, HasSubstr("  3MCODE (String) = " + kCells[static_cast<std::size_t>(record - 1)] +
                                    "\n  1/10CODE (String) = " + code + "\n  " + item + " (String) = " + value + "\n"))
            << "record " << record << " cell " << code;
    }
}

}  // namespace
