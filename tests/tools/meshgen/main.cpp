// meshgen: writes one generated mesh file of the data set (see tests/tools/gen/MeshFileGen.h), and with
// --row the lines of its catalogue row.
//
//   meshgen OUT [--format fixed|comma|tab] [--key KEY] [--level 2|3|4] [--subdivision 0|4|5|10]
//               [--mesh NNNN] [--records N] [--first-cell N] [--dashes] [--extra-field-every K]
//               [--header-line-every K] [--mixed] [--short-code-every K] [--bad-half-every K]
//               [--layer plain|forest|lake|fourway] [--ledger N] [--row N --name NAME]
//
// --row prints the two catalogue lines a program folder needs for the file (UTF-8; DataDBF.csv first,
// then one DataDBFItem.csv line per item), the mesh kind being 4 in the catalogue.
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include "tests/tools/gen/MeshFileGen.h"

using namespace velmora::gen;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: meshgen OUT [options]\n");
        return 2;
    }
    MeshFileOptions o;
    const std::string out = argv[1];
    int row = -1;
    std::string name = "メッシュ";
    try {
        for (int i = 2; i < argc; ++i) {
            const std::string a = argv[i];
            auto next = [&]() -> std::string {
                if (i + 1 >= argc) throw std::invalid_argument(a + " needs a value");
                return argv[++i];
            };
            if (a == "--format") {
                const std::string v = next();
                if (v != "fixed" && v != "comma" && v != "tab") throw std::invalid_argument("format fixed, comma or tab");
                o.format = v == "comma" ? MeshFileFormat::Comma : v == "tab" ? MeshFileFormat::Tab : MeshFileFormat::Fixed;
            } else if (a == "--key") o.headerKey = next();
            else if (a == "--level") o.level = std::stoi(next());
            else if (a == "--subdivision") o.subdivision = std::stoi(next());
            else if (a == "--mesh") o.firstLevelMesh = std::stoi(next());
            else if (a == "--records") o.records = std::stoi(next());
            else if (a == "--first-cell") o.firstCell = std::stoi(next());
            else if (a == "--dashes") o.dashes = true;
            else if (a == "--extra-field-every") o.extraFieldEvery = std::stoi(next());
            else if (a == "--header-line-every") o.headerLineEvery = std::stoi(next());
            else if (a == "--mixed") o.mixedSeparators = true;
            else if (a == "--short-code-every") o.shortCodeEvery = std::stoi(next());
            else if (a == "--bad-half-every") o.badHalfDigitEvery = std::stoi(next());
            else if (a == "--layer") {
                const std::string v = next();
                if (v != "plain" && v != "forest" && v != "lake" && v != "fourway")
                    throw std::invalid_argument("layer plain, forest, lake or fourway");
                o.kind = v == "forest" ? MeshLayerKind::Forest : v == "lake" ? MeshLayerKind::Lake
                       : v == "fourway" ? MeshLayerKind::FourWay : MeshLayerKind::Plain;
            } else if (a == "--ledger") o.ledgerRecords = std::stoi(next());
            else if (a == "--row") row = std::stoi(next());
            else if (a == "--name") name = next();
            else throw std::invalid_argument("unknown switch " + a);
        }
        const MeshFileModel model = makeMeshFileModel(o);
        writeMeshFile(out, model);
        if (row >= 0) {
            const auto& items = model.items;
            const std::string head = "4," + std::to_string(row) + "," + name;
            std::printf("%s,0,0,0,0,0,0,%s,%zu,%d,%d\n", head.c_str(), o.headerKey.c_str(), items.size(),
                        model.level, o.subdivision);
            for (std::size_t k = 0; k < items.size(); ++k)
                std::printf("%s,%zu,,%s,%s,%d,%d,%d\n", head.c_str(), k + 1, items[k].name.c_str(), items[k].type.c_str(),
                            items[k].width, items[k].output ? 1 : 0, items[k].start);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "meshgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
