#pragma once
// The files of a shapefile besides the .shp (.shx, .dbf, .prj) are found without regard to letter case:
// files copied from other systems often come as "ROADS.SHP" with "roads.dbf" or "Roads.Dbf".
#include <string>

namespace velmora::map {

// The companion of `path` with the extension `ext` (".dbf", ".shx", ".prj"): first the path with its final
// extension replaced by `ext` exactly (or `ext` appended when the file name has none), then a file of the
// same folder whose name equals that in any letter case. Empty when neither exists.
std::string companionFile(const std::string& path, const std::string& ext);

}  // namespace velmora::map
