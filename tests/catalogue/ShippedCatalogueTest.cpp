// The shipped catalogue as installation data: its two files load without a box, and every row describes
// its data item's records as a layout must (items in order inside the record, widths that fit their
// types, names a dBASE table keeps, header keys that tell the data items' files apart).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <type_traits>

#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/Sjis.h"
#include "tests/catalogue/ShippedCatalogue.h"
#include "tests/convert/core/TempProgramFolder.h"

using namespace velmora;
using namespace velmora::testsupport;
using text::fromCp932;

namespace {

std::string readShipped(const char* name) {
    std::ifstream in(shippedCatalogueFolder() / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The lines of a CR LF file; a line end of another form fails the test.
std::vector<std::string> crLfLines(const std::string& bytes, const char* name) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", from);
        if (end == std::string::npos) {
            ADD_FAILURE() << name << ": the last line does not end with CR LF";
            break;
        }
        lines.push_back(bytes.substr(from, end - from));
        from = end + 2;
    }
    for (const std::string& l : lines)
        EXPECT_EQ(l.find_first_of("\r\n"), std::string::npos) << name << ": a line end that is not CR LF: " << fromCp932(l);
    return lines;
}

// Texts that the writers and work databases use as names of their own fields.
const std::set<std::string> kReservedNames = {"属性番号", "レイヤコード", "行数", "属性の行数", "LinkIdx"};

struct ShippedRow {
    CatalogKind kind;
    int row;
    const LayerDef* layer = nullptr;          // kinds 0-3
    const MeshLayerDef* mesh = nullptr;       // kind 4
    std::string name() const { return fromCp932(layer ? layer->Name : mesh->Name); }
};

class ShippedCatalogue : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(loadShippedCatalogue(conversionState())); }

    // The filled rows of every table.
    std::vector<ShippedRow> rows() const {
        ConversionState& s = conversionState();
        std::vector<ShippedRow> out;
        auto add = [&](CatalogKind k, auto& table) {
            for (std::size_t r = 0; r < table.size(); ++r) {
                if (table[r].Name.empty()) continue;
                ShippedRow row{k, static_cast<int>(r)};
                if constexpr (std::is_same_v<std::decay_t<decltype(table[r])>, MeshLayerDef>) row.mesh = &table[r];
                else row.layer = &table[r];
                out.push_back(row);
            }
        };
        add(CatalogKind::Point, s.PointLayers);
        add(CatalogKind::Line, s.LineLayers);
        add(CatalogKind::Area, s.PolygonLayers);
        add(CatalogKind::Attr, s.AttrLayers);
        add(CatalogKind::Mesh, s.MeshLayers);
        return out;
    }

    TempProgramFolder folder_;
};

TEST_F(ShippedCatalogue, FilesAreCp932WithCrLfAndKeepTheirHeadings) {
    const struct {
        const char* name;
        const char* heading;
        std::size_t columns;
    } files[] = {
        {"DataDBF.csv", "種別,行,名称,フラグ1,全国ファイル可,フラグ3,フラグ4,フラグ5,フラグ6,ヘッダキー,項目数,メッシュ階層,細分区画", 13},
        {"DataDBFItem.csv", "種別,行,レイヤキー,項目番号,備考,項目名,型,幅,出力,開始位置", 10},
    };
    for (const auto& f : files) {
        const std::vector<std::string> lines = crLfLines(readShipped(f.name), f.name);
        ASSERT_GT(lines.size(), 1u) << f.name << " holds no rows";
        EXPECT_EQ(lines[0], text::toCp932(f.heading)) << f.name;
        for (const std::string& l : lines) {
            EXPECT_EQ(text::toCp932(fromCp932(l)), l) << f.name << ": not CP932: " << fromCp932(l);
            EXPECT_EQ(catalogue::splitFields(l).size(), f.columns) << f.name << ": " << fromCp932(l);
        }
    }
}

TEST_F(ShippedCatalogue, EveryRowIsTheDataItemOfItsButtonAndHasAKnownLayout) {
    const ConversionState& s = conversionState();
    for (const ShippedRow& r : rows()) {
        const auto& names = s.dataNames(r.kind);
        ASSERT_LT(static_cast<std::size_t>(r.row), names.size());
        EXPECT_EQ(r.name(), names[static_cast<std::size_t>(r.row)]) << "kind " << number(r.kind) << " row " << r.row;
        EXPECT_TRUE(shippedLayout(r.kind, r.row)) << r.name() << ": no layout in the test's table";
    }
    const std::vector<ShippedRow> all = rows();
    for (const ShippedLayout& l : shippedLayouts()) {
        const bool filled = std::any_of(all.begin(), all.end(),
                                        [&](const ShippedRow& r) { return r.kind == l.kind && r.row == l.row; });
        EXPECT_TRUE(filled) << l.dataCode << ": the catalogue has no row for it";
    }
}

// What an item must be wherever it lies: a name that a dBASE table keeps, a known type, a width that fits it.
void expectFieldOfItem(const std::string& name, const std::string& type, int width, std::set<std::string>& names,
                       const std::string& item) {
    EXPECT_FALSE(name.empty()) << item << ": no name";
    EXPECT_LE(name.size(), 10u) << item << ": a dBASE field name holds 10 bytes";
    EXPECT_TRUE(names.insert(name).second) << item << ": the name is used twice";
    EXPECT_FALSE(kReservedNames.count(fromCp932(name))) << item << ": the name of a fixed field";
    EXPECT_TRUE(type == "Integer" || type == "Long" || type == "Text" || type == "Text1" || type == "Text2")
        << item << ": type " << type;
    EXPECT_GE(width, 1) << item;
    if (type == "Integer") {
        EXPECT_LE(width, 4) << item << ": more digits than a 16-bit number holds";
    } else if (type == "Long") {
        EXPECT_LE(width, 9) << item << ": more digits than a 32-bit number holds";
    }
    EXPECT_LE(width, 254) << item << ": wider than a dBASE field";
}

// Checks items first..last of one row as a record layout: names, types, widths, order and extent.
template <std::size_t N>
void expectItemsLieInTheirRecord(const BasicLayerDef<N>& d, const ShippedLayout& layout, int first, int last,
                                 const std::string& row) {
    std::set<std::string> names;
    int end = 0;  // last byte of the previous item
    for (int i = first; i <= last; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const std::string item = row + " item " + std::to_string(i) + " " + fromCp932(d.ItemName[k]);
        const std::string& type = d.ItemType[k];
        const int width = d.ItemWidth[k], start = d.ItemStart[k];

        expectFieldOfItem(d.ItemName[k], type, width, names, item);
        EXPECT_TRUE(d.ItemOutput[k]) << item << ": every known item is written";

        if (layout.placement == Placement::AreaLedger) {
            // The loader places the items by their widths alone; the starts say where they land.
            if (isDerivedAreaItem(layout.row, fromCp932(d.ItemName[k]))) {
                EXPECT_TRUE(start >= 4 && start + width - 1 <= 16) << item << ": derived from the leading columns";
                continue;
            }
            EXPECT_EQ(start, std::max(end, 16) + 1) << item << ": not where the previous item ends";
        } else {
            EXPECT_GT(start, end) << item << ": starts inside or before the previous item";
            EXPECT_GE(start, 4) << item << ": starts in the record kind";
        }
        end = start + width - 1;
    }
    EXPECT_LE(end, layout.recordWidth) << row << ": the last item ends beyond the record";
}

TEST_F(ShippedCatalogue, ItemsLieInOrderInsideTheirRecords) {
    for (const ShippedRow& r : rows()) {
        const auto layout = shippedLayout(r.kind, r.row);
        if (!layout) continue;  // reported above
        const std::string row = r.name();
        if (r.mesh) {
            const MeshLayerDef& m = *r.mesh;
            EXPECT_TRUE(m.MeshLevel >= 2 && m.MeshLevel <= 4) << row;
            EXPECT_TRUE(m.Subdivision == 0 || m.Subdivision == 4 || m.Subdivision == 5 || m.Subdivision == 10) << row;
            const int codeEnd = m.MeshLevel == 2 ? 11 : m.MeshLevel == 3 ? 13 : 14;
            EXPECT_GT(m.ItemStart[1], codeEnd) << row << ": the first item starts in the mesh code";
            expectItemsLieInTheirRecord(m, *layout, 1, m.ItemCount, row);
            if (m.Subdivision != 0) {
                // The cells' items follow one another from the first item's start.
                int cellWidth = 0;
                for (int i = 1; i <= m.ItemCount; ++i) cellWidth += m.ItemWidth[static_cast<std::size_t>(i)];
                EXPECT_EQ(m.ItemStart[1] + m.Subdivision * m.Subdivision * cellWidth - 1, layout->recordWidth)
                    << row << ": the cells do not fill the record";
            }
            continue;
        }
        const LayerDef& d = *r.layer;
        if (layout->placement == Placement::Delimited || layout->placement == Placement::LandPriceDelimited)
            continue;  // checked with their item layout files below
        if (r.kind == CatalogKind::Point && layout->placement == Placement::Record) {
            EXPECT_GE(d.ItemStart[1], 26) << row << ": the first item starts in the mesh code or the coordinates";
        }
        int last = d.ItemCount;
        if (layout->placement == Placement::LedgerTitled) {
            // The last item is the ledger title, cut from the "DT" rows, and item 46 names its field.
            ASSERT_GE(d.ItemCount, 3) << row;
            const auto t = static_cast<std::size_t>(d.ItemCount);
            EXPECT_EQ(d.ItemName[46], d.ItemName[t]) << row;
            EXPECT_EQ(d.ItemType[t], "Text") << row;
            EXPECT_EQ(d.ItemWidth[t], 40) << row << ": the title field holds 20 characters";
            --last;
        }
        expectItemsLieInTheirRecord(d, *layout, 1, last, row);
    }
}

// Name and item count of a table row.
std::pair<std::string, int> nameAndCount(const ConversionState& s, CatalogKind kind, int row) {
    auto of = [row](const auto& table) {
        const auto& d = table.at(static_cast<std::size_t>(row));
        return std::pair<std::string, int>(d.Name, d.ItemCount);
    };
    switch (kind) {
        case CatalogKind::Point: return of(s.PointLayers);
        case CatalogKind::Line: return of(s.LineLayers);
        case CatalogKind::Area: return of(s.PolygonLayers);
        case CatalogKind::Attr: return of(s.AttrLayers);
        case CatalogKind::Mesh: return of(s.MeshLayers);
    }
    return {};
}

TEST_F(ShippedCatalogue, ItemLinesAddressTheirRowsByNameAndNumber) {
    const ConversionState& s = conversionState();
    const std::vector<std::string> lines = crLfLines(readShipped("DataDBFItem.csv"), "DataDBFItem.csv");
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const catalogue::Fields f = catalogue::splitFields(lines[n]);
        ASSERT_EQ(f.size(), 10u);
        const int kind = std::stoi(std::string(f[0])), row = std::stoi(std::string(f[1])), item = std::stoi(std::string(f[3]));
        const auto k = catalogKindFromNumber(kind);
        ASSERT_TRUE(k) << fromCp932(lines[n]);
        const auto [name, count] = nameAndCount(s, *k, row);
        // The loader accepts a key that contains the name; the shipped rows use the name itself.
        EXPECT_EQ(std::string(f[2]), name) << fromCp932(lines[n]);
        const auto layout = shippedLayout(*k, row);
        const bool title = layout && layout->placement == Placement::LedgerTitled && item == 46;
        EXPECT_TRUE((item >= 1 && item <= count) || title) << fromCp932(lines[n]) << ": beyond the item count";
    }
}

// One item row of an item layout file ("DataDBFItemCS.csv", "DataDBFItemCS2.csv").
struct DelimitedItem {
    int number = 0, column = 0, width = 0;
    std::string name, type, spec;
    bool output = false, x = false, y = false;
};

// The item rows of a layer, in file order; the file's form (heading, CR LF, 14 columns, a number in
// column 0 of every line) checked on the way.
std::vector<DelimitedItem> delimitedItems(const char* file, const std::string& layer) {
    const std::vector<std::string> lines = crLfLines(readShipped(file), file);
    std::vector<DelimitedItem> items;
    for (const std::string& l : lines) {
        const catalogue::Fields f = catalogue::splitFields(l);
        EXPECT_EQ(f.size(), 14u) << file << ": " << fromCp932(l);
        if (f.size() < 14) continue;
        EXPECT_TRUE(text::isNumeric(f[0])) << file << ": column 0 holds no number: " << fromCp932(l);
        if (f[0] != "0" || f[2] != layer) continue;
        DelimitedItem it;
        it.number = std::stoi(std::string(f[3]));
        it.column = std::stoi(std::string(f[4]));
        it.name = std::string(f[6]);
        it.type = std::string(f[7]);
        it.width = std::stoi(std::string(f[8]));
        it.output = f[9] == "1";
        it.spec = std::string(f[10]);
        it.x = f[11] == "1";
        it.y = f[12] == "1";
        EXPECT_TRUE(f[13].empty()) << file << ": every shipped item exists in every year: " << fromCp932(l);
        items.push_back(it);
    }
    return items;
}

TEST_F(ShippedCatalogue, DelimitedItemsNameTheirInputColumns) {
    const ConversionState& s = conversionState();
    for (const ShippedLayout& layout : shippedLayouts()) {
        if (layout.placement != Placement::Delimited && layout.placement != Placement::LandPriceDelimited) continue;
        const LayerDef& d = s.PointLayers.at(static_cast<std::size_t>(layout.row));
        const bool landPrice = layout.placement == Placement::LandPriceDelimited;
        const std::vector<DelimitedItem> items =
            delimitedItems(landPrice ? "DataDBFItemCS2.csv" : "DataDBFItemCS.csv", d.Name);
        const std::string row = fromCp932(d.Name);
        ASSERT_EQ(static_cast<int>(items.size()), d.ItemCount) << row << ": one item row per catalogue item";
        std::set<std::string> names;
        int xs = 0, ys = 0;
        for (std::size_t n = 0; n < items.size(); ++n) {
            const DelimitedItem& it = items[n];
            const std::string item = row + " item " + std::to_string(n + 1) + " " + fromCp932(it.name);
            EXPECT_EQ(it.number, static_cast<int>(n) + 1) << item << ": item rows stand in item order";
            EXPECT_GE(it.column, 1) << item;
            expectFieldOfItem(it.name, it.type, it.width, names, item);
            // A sub-field is one of the source column's bytes, as the land-price path reads its specs.
            if (!it.spec.empty()) {
                EXPECT_TRUE(landPrice) << item;
                EXPECT_EQ(it.spec.rfind("Mx" + std::to_string(it.column) + "x", 0), 0u) << item << ": " << it.spec;
            }
            xs += it.x;
            ys += it.y;
            if (!landPrice) {
                // The generic reader takes names, types, widths and flags from the catalogue's own items.
                const auto k = n + 1;
                EXPECT_EQ(d.ItemName[k], it.name) << item;
                EXPECT_EQ(d.ItemType[k], it.type) << item;
                EXPECT_EQ(d.ItemWidth[k], it.width) << item;
                EXPECT_EQ(d.ItemStart[k], it.column) << item << ": the catalogue's start names the input column";
            }
        }
        EXPECT_EQ(xs, 1) << row << ": one column holds X";
        EXPECT_EQ(ys, 1) << row << ": one column holds Y";
    }
}

TEST_F(ShippedCatalogue, HeaderKeysTellTheDataItemsFilesApart) {
    // Rows that read the same files and so share their key.
    const std::set<std::pair<std::string, std::string>> sameFiles = {
        {"土地利用メッシュS51", "土地利用メッシュ・1/10細分区画S51"}};
    const std::vector<ShippedRow> all = rows();
    for (const ShippedRow& r : all) {
        const std::string key = r.layer ? r.layer->HeaderKey : r.mesh->HeaderKey;
        EXPECT_FALSE(key.empty()) << r.name() << ": an empty key takes every file";
        const auto layout = shippedLayout(r.kind, r.row);
        if (layout) {
            EXPECT_NE(text::toCp932(layout->dataCode).find(key), std::string::npos)
                << r.name() << ": the key " << fromCp932(key) << " is not in " << layout->dataCode;
        }
        for (const ShippedRow& o : all) {
            if (&o == &r) continue;
            const std::string other = o.layer ? o.layer->HeaderKey : o.mesh->HeaderKey;
            if (sameFiles.count({r.name(), o.name()}) || sameFiles.count({o.name(), r.name()})) continue;
            EXPECT_EQ(other.find(key), std::string::npos)
                << r.name() << " would take the files of " << o.name() << " (" << key << " in " << other << ")";
        }
    }
}

}  // namespace
