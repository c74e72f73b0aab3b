#pragma once
// The land-price layers (point rows 8 and 9) change their items from one data year to the next. The year
// check finds the data year of a job's files; the land-price layout reader replaces the layer's items by
// those of the item layout file that exist in that year.
#include <string>
#include <vector>

#include "convert/point/CsvItemLayout.h"

namespace ModPoint {

// The data years whose fixed-column layout the converters know.
inline constexpr int kFirstFixedColumnYear = 1982;
inline constexpr int kLastFixedColumnYear = 2001;

// Sets DataYear from the files (InputFileFormat tells how a file holds its year: bytes 26-29 of the first
// "H" line, or field 6 or 5 of the first data line). Files that do not exist, fixed-column files without a
// header line and delimited files without a data line give no year. False after a message: years that
// differ, a fixed-column year without a layout (0, before 1982 or after 2001), or a run-time error box.
bool ChkMakePoint_FileYear(const std::vector<std::string>& files);

// Reads the item layout file of the selected land-price row in DataYear: every item row whose first year
// (field 13) is not after DataYear replaces the next item of the layer (name, type, width, output flag),
// fills the next place of the layout's lists (sized by the caller) and may set XColumn and YColumn; rows
// of later years lower the item numbers that follow, and those without a sub-field spec the source
// columns too. ItemCount becomes the number of rows used. False after the run-time error box.
bool MakePoint_ChkaCSV_SetIniData(CsvItemLayout& layout);

}  // namespace ModPoint
