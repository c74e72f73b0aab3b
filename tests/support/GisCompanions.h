#pragma once
// What a GIS leaves beside a shapefile it opened, and what it then finds in it: the companion files of an
// earlier output, and a spatial query over the whole earth, answered through the .qix when one is there.
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "tests/support/CommandOutput.h"

namespace velmora::testsupport {

inline constexpr const char* UserMetadata = "<metadata>the user's notes</metadata>";

// The features a spatial query over the whole earth finds (-1 when ogrinfo gives no count).
inline int featuresFoundBySpatialQuery(const std::string& shp) {
    const std::string text = ogrinfoReport(shp, "-so -spat -180 -90 180 90");
    std::smatch m;
    if (!std::regex_search(text, m, std::regex("Feature Count: (\\d+)"))) return -1;
    return std::stoi(m[1]);
}

// A spatial index (.qix) made as GDAL makes one; false when none was made.
inline bool indexAsAGisWould(const std::string& shp) {
    const std::string layer = std::filesystem::path(shp).stem().string();
    commandOutput("ogrinfo '" + shp + "' -sql 'CREATE SPATIAL INDEX ON \"" + layer + "\"' 2>&1");
    return std::filesystem::exists(std::filesystem::path(shp).replace_extension(".qix"));
}

// Beside an output: a real spatial index, another program's index pair, a code page that says UTF-8 and
// the user's metadata (UserMetadata); false when the index could not be made.
inline bool addCompanionFiles(const std::string& shp) {
    const std::string base = std::filesystem::path(shp).replace_extension().string();
    for (const char* ext : {".sbn", ".sbx"}) std::ofstream(base + ext) << "index of the earlier shapes";
    std::ofstream(base + ".cpg") << "UTF-8";
    std::ofstream(base + ".shp.xml") << UserMetadata;
    return indexAsAGisWould(shp);
}

}  // namespace velmora::testsupport
