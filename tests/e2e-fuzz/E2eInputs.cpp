// e2e_inputs DIR: the generated starting point of the end-to-end fuzz runner (run.py). Writes
//   DIR/program/   a program folder's catalogue (line rows 3 and 25, attribute-table row 3) and Log/
//   DIR/inputs/    one generated file per job: coast.txt and road.txt (line), attr.txt (attribute table),
//                  area.txt (rural area item 3), clean.txt (item 1) and basin.txt (catchments "81001" and "81002")
// Brunhale and libOstrand.so are copied in by the runner from the build it tests.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/app/jobs/JobCatalogue.h"
#include "tests/tools/gen/AreaFileGen.h"
#include "tests/tools/gen/AttrFileGen.h"
#include "tests/tools/gen/BasinFileGen.h"
#include "tests/tools/gen/LineFileGen.h"

namespace fs = std::filesystem;
using namespace velmora;
using namespace velmora::testsupport;

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
    writeCatalogue(program, {{CatalogKind::Line, 3, "海岸線", "N03-L", lineItems(gen::ordinaryLedgerItems())},
                             {CatalogKind::Line, 25, "道路", "N01-RD", lineItems(gen::roadLedgerItems())},
                             {CatalogKind::Attr, 3, "海水浴台帳", "W07", attrItems}});

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
    return 0;
}
