#pragma once
// Completion of the output name typed in a job dialog. A job writes its shapefile (dBASE table for
// attribute tables) under the base of the output path (convert/shapedesc/ShapeDescriptionBaseName.h: one final
// ".shp" / ".dbf" removed, in any letter case); derived outputs add their suffix to that same base, so
// the checks look at exactly what is written.
#include <string>
#include <string_view>

#include "convert/core/LayerDef.h"

namespace velmora {

// ".dbf" for attribute tables, ".shp" for every other kind.
std::string_view outputExtension(DataKind kind);

// The path with the kind's extension appended, unless it already ends with it in any letter case:
// "roads" → "roads.shp", "roads.SHP" stays, "roads.shp.txt" → "roads.shp.txt.shp".
std::string completeOutputExtension(const std::string& path, DataKind kind);

// The base of an output path of the kind.
std::string outputBase(const std::string& path, DataKind kind);

}  // namespace velmora
