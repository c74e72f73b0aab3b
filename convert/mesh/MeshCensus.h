#pragma once
// The lines of a census mesh file: one third-level cell per line, the code in field 0 and the layer's
// items in the fields after it, separated by commas or by tabs as the file's format check decided.
#include <cstdint>
#include <string_view>
#include <vector>

namespace ModMesh::census {

struct Separator {
    bool found = false;  // false: the file holds neither separator and no line of it splits
    char c = ',';
};

// The separator of a format of modCommon::ChkFileFormat: comma or tab, none for fixed columns.
Separator separatorOf(std::int16_t format);

// The line's fields at the separator, without quote handling; the views point into the line.
const std::vector<std::string_view>& splitFields(std::string_view line, Separator separator,
                                                 std::vector<std::string_view>& fields);

// An item's value as written: exactly "-" stands for 0, anything else is trimmed of blanks.
std::string_view itemValue(std::string_view field);

}  // namespace ModMesh::census
