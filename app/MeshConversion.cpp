#include "app/MeshConversion.h"

#include "app/OutputPath.h"
#include "convert/core/ConversionState.h"
#include "convert/mesh/MeshLayerConversion.h"
#include "convert/mesh/MeshRunSteps.h"
#include "convert/mesh/MeshSeasonConversion.h"
#include "platform/text/Cp932.h"
#include "app/ReplaceableService.h"

namespace velmora {

namespace {

// The mesh converters of convert/mesh.
class BuiltInMeshConversion : public MeshConversion {
public:
    bool MakeShapeMESHFileData(const FileList& files, const std::string& outputPath,
                               const std::vector<std::string>& meshCodes) override {
        return ModMesh::MakeShapeMESHFileData(files, outputPath, meshCodes);
    }
    bool TokusyuMakeShape(const FileList& files, const std::string& outputPath,
                          const std::vector<std::string>& meshCodes) override {
        return ModMesh::TokusyuMakeShape(files, outputPath, meshCodes);
    }
};

ReplaceableService<MeshConversion>& slot() {
    static BuiltInMeshConversion builtIn;
    static ReplaceableService<MeshConversion> service(builtIn);
    return service;
}

}  // namespace

MeshConversion& meshConversion() { return slot().get(); }

void setMeshConversion(MeshConversion* conversion) { slot().install(conversion); }

std::string meshFailureText(const std::string& message) {
    ConversionState& s = conversionState();
    std::string text = message;
    for (const std::string& path : s.OtherItemInputFiles)
        text += "\r" + ModMesh::ForeignFileText(layerRow(s.MeshLayers, s.SelectedIndex), path);
    return text;
}

bool isFourWayMesh(const MeshLayerDef& row) { return text::fromCp932(row.Name) == kFourWayMeshName; }

std::vector<std::string> fourWayMeshOutputs(const std::string& outputPath) {
    const std::string base = outputBase(outputPath, DataKind::Mesh);
    std::vector<std::string> files;
    for (char digit = '1'; digit <= '4'; ++digit) files.push_back(base + digit + ".shp");
    return files;
}

}  // namespace velmora
