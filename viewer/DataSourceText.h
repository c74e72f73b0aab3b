#pragma once
// What the property dialog shows of a theme's files, read without a window: the data-source text (kind,
// path, geometry, coordinate system and datum named by the .prj's first line) and the fields listed in a
// dBASE header.
#include <cstddef>
#include <string>
#include <vector>

namespace velmora::viewer {

// How much of the .prj's first line is read: far more than any coordinate system's text needs.
inline constexpr std::size_t kPrjLineLimit = 64 * 1024;

// The data-source text of a layer: each piece after CR LF, so the text begins with an empty line, and two
// empty lines before the coordinate system and the datum. The .prj is found whatever its letter case; a
// name or datum whose closing quotation mark is missing throws RunTimeError 5. Only the first
// kPrjLineLimit bytes of the line are read; names beyond them are not seen.
std::string layerDataSource(const std::string& shapePath, int shapeType);
std::string tableDataSource(const std::string& tablePath);

// One row of the field list; a field of a type other than C and N has its name only.
struct FieldRow {
    std::string name, dataType, length, digits, decimals;
    bool operator==(const FieldRow&) const = default;
};

// Appends the fields of the dBASE header to `rows`. Nothing for an empty path or a missing file. A file
// too short for a header throws RunTimeError 62; a descriptor cut off by the header length or the file's
// end throws RunTimeError 62 after the rows before it were appended.
void tableFields(const std::string& dbfPath, std::vector<FieldRow>& rows);

}  // namespace velmora::viewer
