#pragma once
// One delimited land-price file (comma or tab, coordinates in arc-seconds), into the split outputs or into
// one shapefile, with the land-price value rule: an item takes its source column, or with an "M" spec
// ("…x…x start x length") the Shift-JIS bytes it names; a numeric item only what reads as a number.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/point/CsvItemLayout.h"

namespace velmora::db {
class Database;
}

namespace ModPoint {

// Degrees of an arc-second text: / 3600, rounded to seven decimals. False after the run-time error box
// when the text is no number.
bool XYtoDataCSV(std::string_view arcSeconds, double& degrees);

// The value of one item of a split data line by the land-price rule (empty: no value). The fields are
// numbered from 1. `textItem`: its type name holds "Text".
std::string_view landPriceValue(const std::vector<std::string_view>& fields, std::int32_t source,
                                std::string_view spec, bool textItem);

// The value lines of one data line: split (items 1-59, 60-313, 314 on, each with the point number) or one
// line of every written item.
bool MakeShapeDbfData_ChikaCSV(const std::vector<std::string_view>& fields, std::int32_t number,
                               const CsvItemLayout& layout);
bool MakeShapeDbfData_ChikaCSV3(const std::vector<std::string_view>& fields, const CsvItemLayout& layout);

// One file into the split outputs (the job runs the shape writer), or into one shapefile whose shape
// writer this procedure runs. The layout of the year replaces the layer's items first; the header blocks
// follow. Points are numbered from 1 (32-bit); blank lines are passed over.
bool MakePoint_ChikaCSV(const std::string& path);
bool MakePoint_ChikaCSV4(const std::string& path);

// Loads one delimited file into the three work tables (X and Y as real numbers): items 1 to 5 take their
// whole source field, the others the land-price rule; a field without value stays empty. Blank lines are
// passed over. False after the loader's box.
bool SetPointTextToTblCSV(velmora::db::Database& db, const std::string& path, const CsvItemLayout& layout);

// Several files merged: one point per distinct coordinates and items 1 to 5 (in the order of first load),
// into the split outputs or, with the shape writer run, into one shapefile. The merged split value lines
// are those of the fixed-column merge (MakeShapeDbfData_Chika2).
bool MakePoint_ChikaCSV2(const std::vector<std::string>& files);
bool MakePoint_ChikaCSV3(const std::vector<std::string>& files);

}  // namespace ModPoint
