#pragma once
// The output path of a job and the files it names. A job writes its shapefile (dBASE table for attribute
// tables) under the base: the output path with one final ".shp" (".dbf") removed, in any letter case.
// Derived outputs add their suffix to that same base, so the checks look at exactly what is written.
#include <string>
#include <string_view>

#include "app/LayerDef.h"

namespace velmora {

// ".dbf" for attribute tables, ".shp" for every other kind.
std::string_view outputExtension(DataKind kind);

// The path with the kind's extension appended, unless it already ends with it in any letter case:
// "roads" → "roads.shp", "roads.SHP" stays, "roads.shp.txt" → "roads.shp.txt.shp".
std::string completeOutputExtension(const std::string& path, DataKind kind);

// The path with one final extension of the kind removed (any letter case); the path itself when it has
// none.
std::string outputBase(const std::string& path, DataKind kind);

// The file the writer makes for the base and a suffix ("_P.shp", "1.shp", ".shp").
inline std::string outputFile(const std::string& base, std::string_view suffix) {
    return base + std::string(suffix);
}

}  // namespace velmora
