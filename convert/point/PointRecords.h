#pragma once
// The point record "P" of a fixed-column point file, cut out of raw CP932 bytes, and the value fields of
// its items. The header line and the record kind are cut by ModLine (LineRecords.h), which every
// fixed-column file shares.
#include <cstdint>
#include <string_view>
#include <vector>

namespace velmora {
struct LayerDef;
}

namespace ModPoint {

// Log codes of a point record whose coordinates cannot be written.
inline constexpr std::int16_t kBlankCoordinates = 10;
inline constexpr std::int16_t kInvalidCoordinates = 15;
// Log code of a file that belongs to another point data item.
inline constexpr std::int16_t kForeignPointFile = 12;

// Columns 1-3, trimmed of blanks, are "P".
bool isPointRecord(std::string_view line);

// Character columns 4-9 (mesh code), 10-17 (X) and 18-25 (Y), untrimmed.
struct PointColumns {
    std::string_view mesh;
    std::string_view x;
    std::string_view y;
};
PointColumns cutPoint(std::string_view line);
// The last column of the coordinates (Y, 18-25): the last line of a file that ends before it without a
// line end is cut short (ChkRecordLength); a whole line that ends before it has blank coordinates.
inline constexpr long kPointCoordinatesEnd = 25;

// Coordinates that cannot be written: empty after trimming blanks (log code 10), or a mark of an unknown
// position (log code 15): the data set's "no value" 9999999, or the 999999 some layouts (the power plants)
// put in the mesh code and both coordinates; 0 for coordinates that go on to be converted.
std::int16_t unusableCoordinates(std::string_view x, std::string_view y);

// How a writer takes an item's byte cut: the whole-file writer trims text items and the joined line, the
// mesh-filtered and port writers keep every blank.
enum class ValueCut { Trimmed, AsCut };

// Appends one field per written item of first .. last (items beyond ItemCount are not written): a text
// item its byte cut, a numeric item its byte cut when that reads as a number and an empty field
// otherwise. The fields point into `line`.
void appendItemValues(const velmora::LayerDef& layer, std::string_view line, int first, int last, ValueCut cut,
                      std::vector<std::string_view>& values);

// Trims blanks from the front of the first field and the end of the last, as trimming the joined line
// would: the commas between fields stop it.
void trimJoinedEnds(std::vector<std::string_view>& values);

}  // namespace ModPoint
