#pragma once
// The item layout file of delimited point files ("DataDBFItemCS.csv" in the program folder): for each item
// of a point layer the input column that holds it and the sub-field spec that cuts it, and the columns of
// the coordinates. The file is installation data: CP932, split at every ",", no quoting; field 0 of every
// line is a number, item rows hold 0 there and the layer's Name in field 2, in item order.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {
struct LayerDef;
}

namespace ModPoint {

inline constexpr const char* kCsvItemLayoutFile = "DataDBFItemCS.csv";

// How an item's value is taken from its source column.
struct SubFieldSpec {
    enum class Form { Whole, Bytes, Joined, None };
    Form form = Form::Whole;
    std::int32_t start = 0, length = 0;  // Bytes: 1-based Shift-JIS byte start and length
    std::vector<std::int32_t> columns;   // Joined: 1-based input columns
};

// The text of field 10: empty (the whole column), "M" x start x length, "A" x column x ..., or anything
// else (no value). A start below 1 is RunTimeError(5); a piece that is no number 13; missing pieces 9.
SubFieldSpec parseSubFieldSpec(const std::string& spec);

struct CsvItemLayout {
    std::vector<std::int32_t> SourceColumns;  // index 0 is item 1
    std::vector<std::string> SubFieldSpecs;   // the text of field 10, empty when the field is
    std::int32_t XColumn = 0;
    std::int32_t YColumn = 0;
};

// The item layout file of a point row in a data year: the land-price layers of newer years (row 8 from
// 2006, row 9 from 2005) have a file of their own, "DataDBFItemCS2.csv".
std::string csvItemLayoutFile(int row, int dataYear);

// The fields of a line split at every separator (no quoting), into `fields`.
void splitAt(std::string_view line, char separator, std::vector<std::string_view>& fields);
// Fields of a layout line split at every ",", numbered from 0; a number beyond them is RunTimeError(9).
std::vector<std::string_view> layoutFields(std::string_view line);
std::string_view layoutField(const std::vector<std::string_view>& fields, std::size_t n);

// Reads the layout of the layer from the file. Run-time errors: the file cannot be read (53, 75), a line
// whose field 0 is no number (13), more item rows than the layer has items or a line too short for the
// fields an item row needs (9).
// An item without rows in the file (or a data year the file does not describe) would put every point at
// the wrong place without attributes: refused before anything is written, RunTimeError(InputRefused)
// naming the file, the item and the data year.
CsvItemLayout readCsvItemLayout(const velmora::LayerDef& layer, const std::string& path);
[[noreturn]] void refuseLayoutWithoutItem(const velmora::LayerDef& layer, const std::string& path);

}  // namespace ModPoint
