// The mesh layer converters over one file, or two (the input's parts at its first NUL), as a mesh job runs
// them: header checks, "M" records or census lines, cell rings, the ledger records of the forest and lake
// layers, the de-duplication database of several files, into the intermediate description. The first input
// byte picks the layer:
//   0 third-level cells    2 second-level cells of 5 × 5       4 forest (ledger)   6 four-way seasons
//   1 third-level 10 × 10  3 the census layer (comma or tab)   5 lake (ledger)
// Every refusal is the converter's box or log line; the shape writer is not there, so a run that reaches it
// fails.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "convert/mesh/MeshLayerConversion.h"
#include "convert/mesh/MeshSeasonConversion.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzJob.h"
#include "tests/tools/gen/MeshFileGen.h"

using namespace velmora;

namespace {

constexpr int kRow = 1;

// The rows, made once: names, levels and items of the generators' files.
const MeshLayerDef& layerRow(int layer) {
    static const std::vector<MeshLayerDef> rows = [] {
        using gen::MeshFileFormat;
        using gen::MeshLayerKind;
        struct Def {
            const char* name;
            int level, subdivision;
            std::vector<gen::LedgerItemDef> items;
        };
        const Def defs[] = {
            {"標高・傾斜度メッシュ", 3, 0, gen::meshItems(MeshFileFormat::Fixed, 0)},
            {"土地利用メッシュ・1/10細分区画", 3, 10, gen::meshItems(MeshFileFormat::Fixed, 10)},
            {"土地利用メッシュ・1/5細分区画", 2, 5, gen::meshItems(MeshFileFormat::Fixed, 5)},
            {ModMesh::kCensusLayerName, 3, 0, gen::meshItems(MeshFileFormat::Comma, 0)},
            {"森林・国公有地メッシュ", 3, 0, gen::layerItems(MeshLayerKind::Forest)},
            {"湖沼メッシュ", 3, 0, gen::layerItems(MeshLayerKind::Lake)},
            {ModMesh::kFourWayLayerName, 2, 0, gen::layerItems(MeshLayerKind::FourWay)},
        };
        std::vector<MeshLayerDef> made;
        for (const Def& d : defs) {
            made.emplace_back();
            gen::fillMeshLayerRow(made.back(), d.name, "M99", d.level, d.subdivision, d.items);
        }
        return made;
    }();
    return rows.at(static_cast<std::size_t>(layer));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int layer = data[0] % 7;
    fuzz::startJob(DataKind::Mesh, kRow);
    ConversionState& s = conversionState();
    s.MeshLayers[kRow] = layerRow(layer);
    s.OutputPath = fuzz::scratchFolder() + "out.shp";
    const auto parts = fuzz::splitParts(fuzz::asText(data + 1, size - 1), 2);
    std::vector<std::string> files = {fuzz::writeScratch("a.txt", parts[0])};
    if (!parts[1].empty()) files.push_back(fuzz::writeScratch("b.txt", parts[1]));
    if (layer == 6) ModMesh::TokusyuMakeShape(files, s.OutputPath, {});
    else ModMesh::MakeShapeMESHFileData(files, s.OutputPath, {});
    return 0;
}
