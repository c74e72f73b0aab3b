#include "app/MeshConversion.h"

#include "app/OutputPath.h"
#include "platform/text/Cp932.h"
#include "app/ReplaceableService.h"

namespace velmora {

namespace {

// No mesh converter installed: every conversion says so and fails, and the job takes its failure path.
class UnavailableMeshConversion : public MeshConversion {
public:
    bool MakeShapeMESHFileData(const FileList&, const std::string&, const std::vector<std::string>&) override {
        return unavailable();
    }
    bool TokusyuMakeShape(const FileList&, const std::string&, const std::vector<std::string>&) override {
        return unavailable();
    }

private:
    static bool unavailable() { return conversionUnavailable("メッシュデータの変換処理は、まだ使用できません。"); }
};

ReplaceableService<MeshConversion>& slot() {
    static UnavailableMeshConversion builtIn;
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
