#pragma once
// Delimited point files: the format check of a point job's input files and the generic reader of comma-
// and tab-separated files of every point layer but the land-price ones.
#include <cstdint>
#include <string>
#include <vector>

namespace ModPoint {

// Sets InputFileFormat from the first file (modCommon::ChkFileFormat); false after the mixed-format
// message when a further file has another format.
bool ChkMakePoint_FileType(const std::vector<std::string>& files);

// One delimited file (separator by InputFileFormat: 2 comma, 3 tab) into the open pair, after its heading
// line: one point per line, numbered from pointNumber on (the next number is left there, so the files of
// one job number their points on). Blank lines are passed over unnumbered. A field that begins and ends
// with a quotation mark loses them; the coordinates are also trimmed of blanks. False after the reader's
// run-time error box.
bool MakeShapePointFileCSV(const std::string& path, std::int32_t& pointNumber);

}  // namespace ModPoint
