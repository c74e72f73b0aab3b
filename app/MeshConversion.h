#pragma once
// The mesh converters (ModMesh) as the job procedures use them: one interface, so tests drive the jobs
// against recording fakes. The built-in implementation is the converters of convert/mesh.
//
// Both converters read the selected mesh layer (SelectedIndex into MeshLayers), drive ConvProgressBar and
// ConvMsgLabel, write their own log lines, write and run their own intermediate pairs, and give true only
// when the shape writer wrote every output; false after any failure (a failed writer run included), after
// their own messages. A record is kept when its mesh code begins with one of meshCodes; an empty list
// keeps every record.
#include <string>
#include <vector>

#include "convert/core/LayerDef.h"

namespace velmora {

class MeshConversion {
public:
    using FileList = std::vector<std::string>;
    virtual ~MeshConversion() = default;

    // The mesh cells of the files as one polygon shapefile at outputPath.
    virtual bool MakeShapeMESHFileData(const FileList& files, const std::string& outputPath,
                                       const std::vector<std::string>& meshCodes) = 0;
    // The four-way mesh item: four shapefiles, the output's base followed by the digits 1 to 4.
    virtual bool TokusyuMakeShape(const FileList& files, const std::string& outputPath,
                                  const std::vector<std::string>& meshCodes) = 0;
};

// The implementation in force.
MeshConversion& meshConversion();
// Installs an implementation (nullptr: none, every conversion unavailable); the caller keeps ownership.
void setMeshConversion(MeshConversion* conversion);

// The mesh jobs' failure box: `message` followed, line by line, by the files of another item that
// ended the conversion (the converters log them and show no box of their own).
std::string meshFailureText(const std::string& message);

// The four-way mesh item, recognised by its name, writes the output's base followed by "1" to "4".
inline constexpr const char* kFourWayMeshName = "波向・海霧・自然漁場２次メッシュ";
bool isFourWayMesh(const MeshLayerDef& row);
// The four shapefiles of the four-way mesh item for an output path, digit 1 to 4.
std::vector<std::string> fourWayMeshOutputs(const std::string& outputPath);

}  // namespace velmora
