// e2e_inputs DIR: the generated starting point of the end-to-end fuzz runner (run.py). Writes
//   DIR/program/   a program folder's catalogue and Log/: line rows 3 and 25, attribute-table row 3, point
//                  rows 12 (ordinary), 8 (fixed-column land prices) and 9 (delimited land prices) with the
//                  item layout files, mesh rows 0, 12, 25, 2, 17 and 4, area row 0, and the mesh tree
//                  (DataView.csv) of the nationwide jobs
//   DIR/inputs/    one generated file per job: coast.txt and road.txt (line), attr.txt (attribute table),
//                  area.txt (rural area item 3), clean.txt (item 1) and basin.txt (catchments "81001" and
//                  "81002") for the library driver; points.txt, points.csv, points.tsv, chika.txt and
//                  chika.csv (point rows); mesh3.txt, mesh10.txt, census.csv, forest.txt, lake.txt and
//                  fourway.txt (mesh rows); structure.txt (area row 0's boundary lines and points)
// Brunhale and libOstrand.so are copied in by the runner from the build it tests.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/text/Cp932.h"
#include "tests/app/jobs/JobCatalogue.h"
#include "tests/tools/gen/AreaFileGen.h"
#include "tests/tools/gen/AttrFileGen.h"
#include "tests/tools/gen/BasinFileGen.h"
#include "tests/tools/gen/LineFileGen.h"
#include "tests/tools/gen/MeshFileGen.h"
#include "tests/tools/gen/PointFileGen.h"

namespace fs = std::filesystem;
using namespace velmora;
using namespace velmora::testsupport;

namespace {

CatalogueRow pointRow(int row, const gen::PointGenLayer& layer) {
    CatalogueRow r{CatalogKind::Point, row, layer.name, layer.headerKey, {}};
    for (const gen::PointGenItem& it : layer.items) r.items.push_back({it.name, it.type, it.start, it.width, it.output});
    return r;
}

CatalogueRow meshRow(int row, const std::string& name, int level, int subdivision,
                     const std::vector<gen::LedgerItemDef>& items) {
    return {CatalogKind::Mesh, row, name, "M99", lineItems(items), level, subdivision};
}

void appendLines(const fs::path& file, const std::vector<std::string>& lines) {
    std::ofstream out(file, std::ios::binary | std::ios::app);
    for (const std::string& l : lines) out << l << "\r\n";
}

void pointInputs(const fs::path& inputs, const gen::PointGenLayer& ordinary, const gen::PointGenLayer& landPrice,
                 const gen::PointGenLayer& landPriceCsv) {
    gen::PointFileOptions o;
    o.points = 12;
    o.blankYEvery = 5;
    o.invalidXEvery = 7;
    gen::writeFixedPointFile((inputs / "points.txt").string(), ordinary, o);
    gen::PointFileOptions d;
    d.points = 12;
    d.quoted = true;
    gen::writeDelimitedPointFile((inputs / "points.csv").string(), ordinary, d, ',');
    d.quoted = false;
    gen::writeDelimitedPointFile((inputs / "points.tsv").string(), ordinary, d, '\t');
    gen::PointFileOptions fixedPrices;
    fixedPrices.points = 6;
    fixedPrices.year = "2001";
    gen::writeFixedPointFile((inputs / "chika.txt").string(), landPrice, fixedPrices);
    gen::PointFileOptions csvPrices;
    csvPrices.points = 6;
    csvPrices.arcSeconds = true;
    gen::writeDelimitedPointFile((inputs / "chika.csv").string(), landPriceCsv, csvPrices, ',');
}

void meshInputs(const fs::path& inputs) {
    auto mesh = [&](const char* name, gen::MeshFileOptions o) {
        gen::writeMeshFile((inputs / name).string(), gen::makeMeshFileModel(o));
    };
    gen::MeshFileOptions o;
    o.records = 12;
    mesh("mesh3.txt", o);
    gen::MeshFileOptions tenths = o;
    tenths.subdivision = 10;
    tenths.records = 3;
    mesh("mesh10.txt", tenths);
    gen::MeshFileOptions census = o;
    census.format = gen::MeshFileFormat::Comma;
    census.dashes = true;
    mesh("census.csv", census);
    for (auto [name, kind] : {std::pair{"forest.txt", gen::MeshLayerKind::Forest}, {"lake.txt", gen::MeshLayerKind::Lake},
                              {"fourway.txt", gen::MeshLayerKind::FourWay}}) {
        gen::MeshFileOptions k = o;
        k.kind = kind;
        k.ledgerRecords = kind == gen::MeshLayerKind::FourWay ? 0 : 4;
        mesh(name, k);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: e2e_inputs DIR\n");
        return 2;
    }
    const fs::path dir = argv[1];
    const fs::path program = dir / "program", inputs = dir / "inputs";
    fs::create_directories(program / "Log");
    fs::create_directories(inputs);

    const std::vector<CatalogueItem> attrItems = {{"コード", "Text", 4, 5, true}, {"名称", "Text1", 9, 20, true},
                                                  {"人数", "Long", 29, 8, true}, {"区分", "Integer", 37, 2, true},
                                                  {"評価", "Integer", 39, 3, true}};
    const gen::PointGenLayer ordinary = gen::standardPointLayer(), landPrice = gen::landPriceLayer();
    gen::PointGenLayer landPriceCsv = gen::landPriceCsvLayer("2005");
    landPriceCsv.name = "都道府県地価調査";
    landPriceCsv.headerKey = "L02";
    using gen::MeshFileFormat;
    using gen::MeshLayerKind;
    writeCatalogue(program,
                   {{CatalogKind::Line, 3, "海岸線", "N03-L", lineItems(gen::ordinaryLedgerItems())},
                    {CatalogKind::Line, 25, "道路", "N01-RD", lineItems(gen::roadLedgerItems())},
                    {CatalogKind::Attr, 3, "海水浴台帳", "W07", attrItems},
                    pointRow(12, ordinary), pointRow(8, landPrice), pointRow(9, landPriceCsv),
                    meshRow(0, "指定地域メッシュ", 3, 0, gen::meshItems(MeshFileFormat::Fixed, 0)),
                    meshRow(12, "土地利用メッシュ・1/10細分区画", 3, 10, gen::meshItems(MeshFileFormat::Fixed, 10)),
                    meshRow(25, "農業センサスメッシュ", 3, 0, gen::meshItems(MeshFileFormat::Comma, 0)),
                    meshRow(2, "森林・国公有地メッシュ", 3, 0, gen::layerItems(MeshLayerKind::Forest)),
                    meshRow(17, "湖沼メッシュ", 3, 0, gen::layerItems(MeshLayerKind::Lake)),
                    meshRow(4, "波向・海霧・自然漁場２次メッシュ", 2, 0, gen::layerItems(MeshLayerKind::FourWay))});
    // Row 9 takes the newer layout file from 2005 on: both files hold the same rows.
    for (const char* layout : {"DataDBFItemCS.csv", "DataDBFItemCS2.csv"})
        gen::writeCsvLayoutFile((program / layout).string(), {ordinary, landPriceCsv});

    gen::writeLineFile((inputs / "coast.txt").string(), gen::makeLineFileModel(coastlineFile(1)));
    gen::LineFileOptions road;
    road.item = gen::LineItem::Road;
    road.headerKey = "N01-RD";
    road.links = 5;
    road.lines = 0;
    gen::writeLineFile((inputs / "road.txt").string(), gen::makeLineFileModel(road));

    const std::vector<gen::AttrGenColumn> cols = {{4, 5, false}, {9, 20, false}, {29, 8, true}, {37, 2, true},
                                                  {39, 3, true}};
    gen::writeLines((inputs / "attr.txt").string(),
                    {gen::attrHeaderLine({"", "W07", "", "2008", "1", 3}),
                     gen::attrTRow(cols, {"A0001", "由比ヶ浜", "120", "1", "3"}),
                     gen::attrTRow(cols, {"A0002", "ｶﾀｶﾅ浜", "7", "2", "12"}),
                     gen::attrTRow(cols, {"A0003", "逗子", "", "", "1"})});

    datagen::AreaGenOptions area;
    area.cols = 3;
    area.rows = 2;
    area.vertices_per_link = 4;
    area.islands = true;
    datagen::generate_area_files((inputs / "area").string(), area);
    area.data_id = 1;
    area.islands = false;
    datagen::generate_area_files((inputs / "clean").string(), area);
    datagen::BasinGenOptions basin;
    basin.vertices_per_link = 4;
    datagen::generate_basin_files((inputs / "basin").string(), basin);

    datagen::AreaStructureOptions structure;
    structure.row = 0;
    structure.grid.cols = 3;
    structure.grid.rows = 2;
    structure.grid.vertices_per_link = 4;
    const datagen::AreaStructureModel m = datagen::generate_area_structure_files((inputs / "structure").string(), structure);
    appendLines(program / "DataDBF.csv", {datagen::area_catalogue_line(m, "都市地域")});
    appendLines(program / "DataDBFItem.csv", datagen::area_catalogue_item_lines(m, "都市地域"));
    // The mesh tree of the nationwide jobs: one prefecture of one mesh; the runner ticks the whole country.
    appendLines(program / "DataView.csv", {text::toCp932("1,01,北海道"), "2,01,533945,a"});

    pointInputs(inputs, ordinary, landPrice, landPriceCsv);
    meshInputs(inputs);
    return 0;
}
