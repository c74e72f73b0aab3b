#pragma once
// The mesh layer converter: the mesh files of one mesh data item (fixed-column "M" records, or the census
// layer's comma- or tab-separated lines) become one polygon shapefile of mesh cells, written through the
// intermediate shape description and Brunhale.
#include <string>
#include <vector>

namespace ModMesh {

// The census layer, told apart by its name; its files are delimited instead of fixed-column.
inline constexpr const char* kCensusLayerName = "農業センサスメッシュ";

// Converts the files in list order into outputPath. Records whose code (from character 6) begins with
// one of chosenCodes are kept, all when it is empty; census lines are never filtered. With several files
// a code met again gets its record block but no second ring (a null shape that keeps its attributes).
//
// Drives the job's progress bar and label, writes its own log lines, runs Brunhale. True only when
// Brunhale wrote the output; false on every failure, after the message or log line that tells why.
bool MakeShapeMESHFileData(const std::vector<std::string>& files, const std::string& outputPath,
                           const std::vector<std::string>& chosenCodes);

}  // namespace ModMesh
