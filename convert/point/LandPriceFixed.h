#pragma once
// Fixed-column land-price files (point rows 8 and 9): the yearly column layout of a data year, and the
// split output: the point shapefile with items 1 to 59, the table "_Z" with items 60 to 313 and, for a
// layer of more items, the table "_Z2" with items 314 on; every output ends with the point id as LinkKey.
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {
struct LayerDef;
}

namespace ModPoint {

inline constexpr int kLandPriceBasicItems = 59;
inline constexpr int kFirstTableLastItem = 313;

// The catalogue row adapted to a data year of 1982 .. 2001 in place: the yearly items after the year are
// not written (their flags cleared), the items of the years present in blocks B and C are packed one after
// the other. Another year is RunTimeError(9): no layout is known for it.
void adaptToDataYear(velmora::LayerDef& row, int year);

// adaptToDataYear on the selected row with DataYear; false after the run-time error box.
bool MakePoint_Chika_SetIniData();

// The header blocks of the split outputs into FilHFileNo, FilZFileNo and (more than 313 items) the
// "_Z2" file, which it opens into FilZ2FileNo.
bool MakeShapePointFileData_ini_Chika();

// One record's value lines: items 1 .. 59, 60 .. min(313, ItemCount) and 314 .. ItemCount, each with the id.
bool MakeShapeDbfData_Chika(std::string_view line, std::int32_t id);

// One fixed-column file into the split outputs; ids count the written points. A record whose X or Y is
// blank or "9999999" is logged ("LINE:" and its line's position after the header) and skipped.
bool MakePoint_Chika(const std::string& path);

}  // namespace ModPoint
