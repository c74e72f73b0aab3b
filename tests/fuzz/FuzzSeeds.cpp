// fuzz_seeds CORPUS_ROOT: writes the seed inputs of every fuzz target into CORPUS_ROOT/<target>/seed-*
// from the test data generators (and the catalogue fixture), small enough for the fuzzer to mutate quickly.
// The seeds are kept in the repository; run this again after a generator changes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "convert/core/ConversionState.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/text/Cp932.h"
#include "tests/tools/gen/AreaFileGen.h"
#include "tests/tools/gen/AttrFileGen.h"
#include "tests/tools/gen/BasinFileGen.h"
#include "tests/tools/gen/LineFileGen.h"
#include "tests/tools/gen/MeshFileGen.h"
#include "tests/tools/gen/PointFileGen.h"
#include "tests/tools/gen/ShapeFileGen.h"

namespace fs = std::filesystem;
using namespace velmora;

namespace {

fs::path root;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void seed(const std::string& target, const std::string& name, const std::string& bytes) {
    fs::create_directories(root / target);
    std::ofstream(root / target / ("seed-" + name), std::ios::binary) << bytes;
}

std::string lineFile(gen::LineItem item, const std::string& key, int links, int lines, int stations) {
    gen::LineFileOptions o;
    o.item = item;
    o.headerKey = key;
    o.meshes = {533945};
    o.links = links;
    o.verticesPerLink = 7;
    o.lines = lines;
    o.linksPerLine = 2;
    o.stations = stations;
    o.reversedReferences = true;
    o.missingLedgerEvery = 3;
    return gen::formatLineFile(gen::makeLineFileModel(o));
}

void lineSeeds() {
    const std::string ordinary = lineFile(gen::LineItem::Ordinary, "N03-L", 3, 2, 0);
    const std::string road = lineFile(gen::LineItem::Road, "N01-RD", 3, 0, 0);
    const std::string railway = lineFile(gen::LineItem::Railway, "N02-RW", 3, 1, 2);
    seed("line_records", "ordinary", ordinary);
    seed("line_records", "road", road);
    seed("line_records", "railway", railway);
    // The loader target's first byte picks the row: 0 ordinary, 1 road, 2 railway.
    seed("line_loader", "ordinary", std::string(1, '\0') + ordinary);
    seed("line_loader", "road", std::string(1, '\1') + road);
    seed("line_loader", "railway", std::string(1, '\2') + railway);
    seed("line_loader", "foreign", std::string(1, '\0') + lineFile(gen::LineItem::Ordinary, "N99", 1, 0, 0));
}

void attrSeeds(const fs::path& scratch) {
    const std::vector<gen::AttrGenColumn> cols = {{4, 5, false}, {9, 20, false}, {29, 8, true}, {37, 2, true},
                                                  {39, 3, true}};
    const fs::path p = scratch / "attr.txt";
    gen::writeLines(p.string(), {gen::attrHeaderLine({"", "W07", "", "2008", "1", 4}),
                                 gen::attrTRow(cols, {"A0001", "由比ヶ浜", "120", "1", "3"}),
                                 gen::attrTRow(cols, {"A0002", "ｶﾀｶﾅ浜", "x", "2", ""}),
                                 gen::attrDtRow("12005", "1", "海水浴場"), gen::attrDtRow("7", "2", "")});
    seed("attr_loader", "table", slurp(p));
}

void areaSeeds(const fs::path& scratch) {
    // The area target's first byte picks the maker: 0 repairing, 1 cleaning, 2 rural, 3 catchment.
    const int items[] = {0, 1, 3};
    for (int k = 0; k < 3; ++k) {
        datagen::AreaGenOptions o;
        o.data_id = items[k];
        o.cols = 2;
        o.rows = 1;
        o.vertices_per_link = 3;
        o.islands = items[k] == 3;
        const auto r = datagen::generate_area_files((scratch / ("area" + std::to_string(k))).string(), o);
        seed("area_reader", "item" + std::to_string(items[k]), std::string(1, static_cast<char>(k)) + slurp(r.files.at(0)));
    }
    datagen::BasinGenOptions b;
    b.cols = 2;
    b.rows = 1;
    b.vertices_per_link = 3;
    const auto r = datagen::generate_basin_files((scratch / "basin").string(), b);
    seed("area_reader", "basin", std::string(1, '\3') + slurp(r.files.at(0)));
}

// The pair as the converters write it: a multi-part line, points, a polygon and a table.
void descriptionSeeds(const fs::path& scratch) {
    ConversionState& s = conversionState();
    s.AppFolder = scratch.string() + "/";
    auto pair = [&](const std::string& name, auto&& body) {
        shapedesc::openPair();
        body(s.FilHFileNo.file(), s.FilDFileNo.file());
        shapedesc::closePair();
        seed("shape_description", name,
             slurp(shapedesc::headerFilePath()) + std::string(1, '\0') + slurp(shapedesc::coordinateFilePath()));
    };
    const std::vector<std::string> values = {"1234", text::toCp932("名前"), "3"};
    auto fields = [](text::LineWriter& h) {
        shapedesc::writeFieldCount(h, 3);
        shapedesc::writeFieldName(h, text::toCp932("属性番号"), "N", 10);
        shapedesc::writeFieldName(h, text::toCp932("名称"), "C", 40);
        shapedesc::writeFieldName(h, text::toCp932("種別"), "N", 2);
    };
    pair("lines", [&](text::LineWriter& h, text::LineWriter& d) {
        shapedesc::writeMakeFileName(h, "/out/roads");
        shapedesc::writeShapeType(h, 4, 2000);
        fields(h);
        shapedesc::writeLinkIdx(d, 17);
        for (int i = 0; i < 6; ++i) shapedesc::writeLinkData(d, 139.75 + i * 0.25, 35 + i);
        shapedesc::writeLinkNo(h, 17);
        shapedesc::writeBox(h, 139.75, 35, 141, 40);
        shapedesc::writePartsPoints(h, 2, 6);
        shapedesc::writePartIdx(h, "0,4");
        shapedesc::writeDbfItem(h, values);
        shapedesc::writeLinkNo(h, 18);
        shapedesc::writeBox(h, 0, 0, 0, 0);
        shapedesc::writePartsPoints(h, 0, 0);
        shapedesc::writePartIdx(h, "0");
        shapedesc::writeDbfItem(h, std::vector<std::string>{"", "", ""});
    });
    pair("points", [&](text::LineWriter& h, text::LineWriter& d) {
        shapedesc::writeMakeFileName(h, "/out/points");
        shapedesc::writeShapeType(h, 1, 0);
        fields(h);
        for (int id = 1; id <= 2; ++id) {
            shapedesc::writeLinkIdx(d, id);
            shapedesc::writeLinkData(d, 139.5 + id, 35.25);
            shapedesc::writeLinkNo(h, id);
            shapedesc::writeBox(h, 139.5 + id, 35.25, 139.5 + id, 35.25);
            shapedesc::writePartsPoints(h, 1, 1);
            shapedesc::writePartIdx(h, "0");
            shapedesc::writeDbfItem(h, values);
        }
    });
    pair("polygon", [&](text::LineWriter& h, text::LineWriter& d) {
        shapedesc::writeMakeFileName(h, "/out/cells");
        shapedesc::writeShapeType(h, 7, -1);
        fields(h);
        shapedesc::writeLinkIdx(d, 5);
        for (auto [x, y] : {std::pair{139.0, 35.0}, {139.0, 35.1}, {139.1, 35.1}, {139.1, 35.0}})
            shapedesc::writeLinkData(d, x, y);
        shapedesc::writeLinkNo(h, 5);
        shapedesc::writeBox(h, 139.0, 35.0, 139.1, 35.1);
        shapedesc::writePartsPoints(h, 1, 4);
        shapedesc::writePartIdx(h, "0");
        shapedesc::writeDbfItem(h, values);
    });
    pair("table", [&](text::LineWriter& h, text::LineWriter&) {
        shapedesc::writeMakeFileName(h, "/out/table");
        shapedesc::writeShapeType(h, 6, -1);
        fields(h);
        shapedesc::writeDbfItem(h, values);
        shapedesc::writeDbfItem(h, std::vector<std::string>{"-5", text::toCp932("ｶﾅ,漢字"), ""});
    });
}

// Area-structure files of a plain row, a row with ledger items of its own (7) and the boundary row (8).
void areaStructureSeeds(const fs::path& scratch) {
    for (int row : {3, 7, 8}) {
        datagen::AreaStructureOptions o;
        o.row = row;
        o.grid.cols = 2;
        o.grid.rows = 1;
        o.grid.vertices_per_link = 3;
        o.links_without_vertices = 1;
        o.areas_without_ledger = 1;
        const auto m = datagen::generate_area_structure_files((scratch / ("structure" + std::to_string(row))).string(), o);
        seed("area_loader", "row" + std::to_string(row), std::string(1, static_cast<char>(row)) + slurp(m.files.at(0).path));
    }
}

// Layers of every kind the map draws, with text and number fields, a null shape and a hole (the input
// format of the map target: the sizes of .shp and .shx, then the three files); their tables alone are the
// seeds of the attribute-table window's reader.
void mapSeeds(const fs::path& scratch) {
    auto layer = [&](const std::string& name, const datagen::GenShapeFile& file) {
        const fs::path shp = datagen::writeShapeFile((scratch / name).string(), file);
        fs::path shx = shp, dbf = shp;
        shx.replace_extension(".shx");
        dbf.replace_extension(".dbf");
        const std::string shpBytes = slurp(shp), shxBytes = slurp(shx);
        auto size16 = [](std::size_t n) { return std::string{static_cast<char>(n & 0xff), static_cast<char>(n >> 8)}; };
        seed("map_layer", name, size16(shpBytes.size()) + size16(shxBytes.size()) + shpBytes + shxBytes + slurp(dbf));
        seed("dbase_table", name, slurp(dbf));
    };
    const std::vector<datagen::GenField> fields = {{"名称", 'C', 20, 0}, {"VALUE", 'N', 8, 2}};
    datagen::GenShapeFile points;
    points.shpType = 1;
    points.shapes = {{{{{139.5, 35.5}}}}, {}};
    points.fields = fields;
    points.rows = {{"駅", "1.5"}, {"", ""}};
    layer("points", points);
    datagen::GenShapeFile lines;
    lines.shpType = 3;
    lines.shapes = {{{{{139.0, 35.0}, {139.1, 35.1}}, {{139.2, 35.2}, {139.3, 35.0}, {139.4, 35.1}}}}};
    lines.fields = fields;
    lines.rows = {{"道路", "-3"}};
    layer("lines", lines);
    datagen::GenShapeFile polygons;
    polygons.shpType = 5;
    polygons.shapes = {{{datagen::rectangleRing(139.0, 35.0, 139.2, 35.2), datagen::rectangleRing(139.05, 35.05, 139.1, 35.1)}}};
    polygons.fields = fields;
    polygons.rows = {{"湖", "12345.67"}};
    layer("polygons", polygons);
}

std::string joinedLines(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\r\n";
    return s;
}

// Census files (comma and tab, with dashes, extra fields, short codes) at the levels and subdivisions
// the geometry knows; the three leading bytes pick the separator and a subdivided cell (column 1, row 2).
void meshSeeds() {
    struct Case {
        const char* name;
        gen::MeshFileFormat format;
        int level, subdivision;
        char separator;
    };
    for (const Case& c : {Case{"comma-l3", gen::MeshFileFormat::Comma, 3, 0, 0}, Case{"tab-l3", gen::MeshFileFormat::Tab, 3, 0, 1},
                          Case{"comma-l2-sub5", gen::MeshFileFormat::Comma, 2, 5, 0},
                          Case{"comma-l3-sub10", gen::MeshFileFormat::Comma, 3, 10, 0}}) {
        gen::MeshFileOptions o;
        o.format = c.format;
        o.level = c.level;
        o.subdivision = c.subdivision;
        o.records = 4;
        o.dashes = true;
        o.extraFieldEvery = 3;
        o.shortCodeEvery = 4;
        seed("mesh_census", c.name, std::string{c.separator, 1, 2} + joinedLines(gen::formatMeshFile(gen::makeMeshFileModel(o))));
    }
}

// A fixed-column point file and the land-price item layout rows (sub-field specs).
void pointSeeds(const fs::path& scratch) {
    gen::PointFileOptions o;
    o.points = 4;
    o.blankYEvery = 3;
    o.invalidXEvery = 2;
    const fs::path fixed = scratch / "points.txt";
    gen::writeFixedPointFile(fixed.string(), gen::standardPointLayer(), o);
    seed("point_records", "fixed", slurp(fixed));
    seed("point_records", "layout", joinedLines(gen::csvLayoutRows(gen::landPriceCsvLayer("2008"))));
}

// The fixed-column point files of every reader of the loader target (its first byte picks the reader):
// an ordinary layer with blank, invalid and non-numeric coordinates and codes, land prices of 2001 and of
// 1990 (the yearly layout), and the port layer.
void pointLoaderSeeds(const fs::path& scratch) {
    auto file = [&](const gen::PointGenLayer& layer, const gen::PointFileOptions& o) {
        const fs::path p = scratch / "loader.txt";
        gen::writeFixedPointFile(p.string(), layer, o);
        return slurp(p);
    };
    gen::PointFileOptions o;
    o.points = 4;
    o.blankYEvery = 3;
    o.invalidXEvery = 4;
    o.blankLineEvery = 2;
    const std::string ordinary = file(gen::standardPointLayer(), o);
    seed("point_loader", "mesh-filtered", std::string(1, '\1') + ordinary);
    seed("point_loader", "merge", std::string(1, '\2') + ordinary);
    o.badMeshEvery = 2;
    seed("point_loader", "whole-file", std::string(1, '\0') + file(gen::standardPointLayer(), o));
    gen::PointFileOptions landPrice;
    landPrice.points = 2;
    landPrice.year = "2001";
    const std::string of2001 = file(gen::landPriceLayer(), landPrice);
    seed("point_loader", "land-price-2001", std::string(1, '\3') + of2001);
    seed("point_loader", "land-price-merge", std::string(1, '\4') + of2001);
    landPrice.year = "1990";
    seed("point_loader", "land-price-1990", std::string(1, '\3') + file(gen::landPriceFileLayout(gen::landPriceLayer(), 1990), landPrice));
    gen::PointFileOptions port;
    port.points = 2;
    seed("point_loader", "port", std::string(1, '\5') + file(gen::portLayer(), port));
}

// Delimited point files (comma with quoted texts, tab, land prices in arc-seconds) and the item layout
// file itself, each behind the byte that picks its reader.
void pointCsvSeeds(const fs::path& scratch) {
    const gen::PointGenLayer ordinary = gen::standardPointLayer(), landPrice = gen::landPriceCsvLayer("2005");
    auto file = [&](const gen::PointGenLayer& layer, const gen::PointFileOptions& o, char separator) {
        const fs::path p = scratch / "points.csv";
        gen::writeDelimitedPointFile(p.string(), layer, o, separator);
        return slurp(p);
    };
    gen::PointFileOptions o;
    o.points = 3;
    o.quoted = true;
    seed("point_csv", "comma", std::string(1, '\0') + file(ordinary, o, ','));
    o.quoted = false;
    o.blankLineEvery = 2;
    seed("point_csv", "tab", std::string(1, '\1') + file(ordinary, o, '\t'));
    gen::PointFileOptions arcSeconds;
    arcSeconds.points = 3;
    arcSeconds.arcSeconds = true;
    const std::string landPriceFile = file(landPrice, arcSeconds, ',');
    seed("point_csv", "land-price", std::string(1, '\2') + landPriceFile);
    seed("point_csv", "land-price-merge", std::string(1, '\3') + landPriceFile);
    const fs::path layout = scratch / "layout.csv";
    gen::writeCsvLayoutFile(layout.string(), {ordinary, landPrice});
    seed("point_csv", "layout", std::string(1, '\4') + slurp(layout));
    seed("point_csv", "land-price-layout", std::string(1, '\5') + slurp(layout));
}

// Mesh files of every layer the mesh target knows (its first byte picks the layer), and two overlapping
// files of one layer (parted by a NUL) for the de-duplication of several files.
void meshLoaderSeeds() {
    struct Case {
        const char* name;
        char layer;
        gen::MeshFileFormat format;
        int level, subdivision;
        gen::MeshLayerKind kind;
    };
    using F = gen::MeshFileFormat;
    using K = gen::MeshLayerKind;
    const Case cases[] = {{"third-level", 0, F::Fixed, 3, 0, K::Plain},   {"tenths", 1, F::Fixed, 3, 10, K::Plain},
                          {"fifths", 2, F::Fixed, 2, 5, K::Plain},        {"census-tab", 3, F::Tab, 3, 0, K::Plain},
                          {"forest", 4, F::Fixed, 3, 0, K::Forest},       {"lake", 5, F::Fixed, 3, 0, K::Lake},
                          {"four-way", 6, F::Fixed, 2, 0, K::FourWay}};
    auto file = [](const Case& c, int firstCell) {
        gen::MeshFileOptions o;
        o.format = c.format;
        o.level = c.level;
        o.subdivision = c.subdivision;
        o.kind = c.kind;
        o.records = c.subdivision ? 2 : 4;
        o.firstCell = firstCell;
        o.ledgerRecords = c.kind == K::Forest || c.kind == K::Lake ? 3 : 0;
        return joinedLines(gen::formatMeshFile(gen::makeMeshFileModel(o)));
    };
    for (const Case& c : cases) seed("mesh_loader", c.name, std::string(1, c.layer) + file(c, 0));
    seed("mesh_loader", "two-files", std::string(1, '\0') + file(cases[0], 0) + std::string(1, '\0') + file(cases[0], 2));
}

void catalogueSeeds(const fs::path& fixtures) {
    const fs::path sample = fixtures / "catalogue" / "sample";
    seed("catalogue", "sample", slurp(sample / "DataDBF.csv") + std::string(1, '\0') + slurp(sample / "DataDBFItem.csv"));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds CORPUS_ROOT\n");
        return 2;
    }
    root = argv[1];
    const fs::path scratch = fs::temp_directory_path() / "velmora-fuzz-seeds";
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    lineSeeds();
    attrSeeds(scratch);
    areaSeeds(scratch);
    descriptionSeeds(scratch);
    areaStructureSeeds(scratch);
    mapSeeds(scratch);
    meshSeeds();
    meshLoaderSeeds();
    pointSeeds(scratch);
    pointLoaderSeeds(scratch);
    pointCsvSeeds(scratch);
    catalogueSeeds(VELMORA_FIXTURES);
    fs::remove_all(scratch);
    return 0;
}
