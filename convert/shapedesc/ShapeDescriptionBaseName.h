#pragma once
// The base name of an output: the one rule by which every writer of the intermediate shape description
// names its output on the "MAKEFILE_NAME" line, and by which the output checks find the files a job will
// write. Keep every such use on these functions.
#include <string>
#include <string_view>

namespace velmora::shapedesc {

// The output path without one final `extension` (".shp" or ".dbf", compared in any letter case); the
// whole path when it does not end with it. Only the end counts: "out/a.SHP.d/x.shp" gives "out/a.SHP.d/x",
// "out/roads" stays "out/roads".
std::string outputBaseName(std::string_view outputPath, std::string_view extension);

// Base of a shapefile output (".shp") and of an attribute-table output (".dbf").
inline std::string shapeBaseName(std::string_view outputPath) { return outputBaseName(outputPath, ".shp"); }
inline std::string tableBaseName(std::string_view outputPath) { return outputBaseName(outputPath, ".dbf"); }

}  // namespace velmora::shapedesc
