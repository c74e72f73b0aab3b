#pragma once
// dBASE field names as stored: at most 10 bytes, and no two alike, since every dBASE reader (GDAL, QGIS)
// finds a column by its name and sees one column twice otherwise.
#include <string>
#include <string_view>
#include <vector>

#include "brunhale/PairFormat.h"

namespace velmora::brunhale {

// A name cut to 10 bytes where a character ends.
std::string dbfFieldName(std::string_view name);

// The stored names of the fields, in order. A cut name that equals an earlier stored one (letter case
// aside, as dBASE readers compare) has its tail replaced by the shortest "_1", "_2", ... that makes it
// unique within 10 bytes; every other name is its cut.
std::vector<std::string> dbfFieldNames(const std::vector<FieldDef>& fields);

}  // namespace velmora::brunhale
