#include "app/MeshConversion.h"

#include "app/OutputPath.h"
#include "convert/core/ConversionState.h"
#include "convert/mesh/MeshLayerConversion.h"
#include "platform/text/Cp932.h"
#include "app/ReplaceableService.h"

namespace velmora {

namespace {

// The mesh converters of convert/mesh. The forest and lake layers (ledgers joined to their cells) and the
// four-way item are not converted yet: they say so and fail, and the job takes its failure path.
class BuiltInMeshConversion : public MeshConversion {
public:
    bool MakeShapeMESHFileData(const FileList& files, const std::string& outputPath,
                               const std::vector<std::string>& meshCodes) override {
        const std::string name = text::fromCp932(layerRow(conversionState().MeshLayers, conversionState().SelectedIndex).Name);
        if (name == "森林・国公有地メッシュ" || name == "湖沼メッシュ") return unavailable();
        return ModMesh::MakeShapeMESHFileData(files, outputPath, meshCodes);
    }
    bool TokusyuMakeShape(const FileList&, const std::string&, const std::vector<std::string>&) override {
        return unavailable();
    }

private:
    static bool unavailable() { return conversionUnavailable("メッシュデータの変換処理は、まだ使用できません。"); }
};

ReplaceableService<MeshConversion>& slot() {
    static BuiltInMeshConversion builtIn;
    static ReplaceableService<MeshConversion> service(builtIn);
    return service;
}

}  // namespace

MeshConversion& meshConversion() { return slot().get(); }

void setMeshConversion(MeshConversion* conversion) { slot().install(conversion); }

bool isFourWayMesh(const MeshLayerDef& row) { return text::fromCp932(row.Name) == kFourWayMeshName; }

std::vector<std::string> fourWayMeshOutputs(const std::string& outputPath) {
    const std::string base = outputBase(outputPath, DataKind::Mesh);
    std::vector<std::string> files;
    for (char digit = '1'; digit <= '4'; ++digit) files.push_back(base + digit + ".shp");
    return files;
}

}  // namespace velmora
