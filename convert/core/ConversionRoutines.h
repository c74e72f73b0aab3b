#pragma once
// The small routines every converter shares: cutting a field out of a record, typing the fields of work
// tables and dBASE files, turning coordinates into degrees, telling input formats apart.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

namespace modCommon {

// The bytes start .. start+length-1 (1-based) of a raw CP932 record: fewer when the record ends, none when
// start lies past its end. The result points into `record` (nothing is allocated or decoded).
// A cut never yields half a character: a double-byte character split at either end of the cut is left out
// (text::sjisByteCut). start < 1 or length < 0 throws RunTimeError(5).
std::string_view MidByteSjis(std::string_view record, long start, long length);

// The bytes a fixed-column record of the items first..last of a layer reaches unless blanks were trimmed
// from it: the end of the written item that starts first (0 for none). Later items are not counted: a
// text at the end of a record may come without its trailing blanks.
template <class Layer>
long layoutEnd(const Layer& layer, int first, int last) {
    long start = 0, end = 0;
    for (int i = first; i <= last && i < static_cast<int>(layer.ItemStart.size()); ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!layer.ItemOutput[k] || layer.ItemWidth[k] <= 0) continue;
        if (end == 0 || layer.ItemStart[k] < start) {
            start = layer.ItemStart[k];
            end = start + layer.ItemWidth[k] - 1;
        }
    }
    return end;
}
// A file cut inside its last record: the line being read ends before its layout does and has no line
// end, so the columns it lacks were lost, not left blank. RunTimeError(InputRefused) naming the file and
// line. A short line that has its line end is whole: its trailing blanks were trimmed away, and the
// columns past its end are blank fields, which the readers take as their layouts say (a point without
// coordinates logged and skipped, a value left empty, the end of a vertex list). Length and end are
// counted alike: bytes for byte columns, characters for character columns.
void ChkRecordLength(std::size_t length, long layoutEnd);
inline void ChkRecordLength(std::string_view record, long layoutEnd) { ChkRecordLength(record.size(), layoutEnd); }

// The selected data item (row SelectedIndex of the table of SelectedKind) whose declared items have no
// rows in the catalogue would convert into outputs without attribute fields: RunTimeError(InputRefused)
// naming it.
void ChkSelectedItemRows();

// An input file without a single line: "入力ファイル path にデータがありません。", as a message text and as
// RunTimeError(InputRefused) for a reader that expects the file's first line.
std::string EmptyInputText(const std::string& path);
[[noreturn]] void RefuseEmptyInput(const std::string& path);

// Reads a whole input file through the line reader's checks (a regular file, no line too long, CP932
// text) for a reader that does not make them (the polygon library): a refusal is thrown as the reader
// throws it; a file without any line is refused as empty (RefuseEmptyInput).
void ChkInputText(const std::string& path);

// File format codes of ChkFileFormat.
namespace FileFormat {
inline constexpr std::int16_t Unknown = 0;  // missing or unreadable file
inline constexpr std::int16_t Fixed = 1;
inline constexpr std::int16_t Comma = 2;
inline constexpr std::int16_t Tab = 3;
inline constexpr std::int16_t Mixed = 9;
}  // namespace FileFormat

// Tells the format of an input file by its first line that does not begin with "H" (or its last line
// when all do): a comma gives Comma, a tab Tab, both Mixed, neither Fixed. A missing file shows
// "指定されたファイルが存在しません" and gives Unknown; an empty file shows that it holds no data and gives
// Unknown; a read error or refusal (no regular file, a line that is no CP932 text) shows its error box and
// gives Unknown.
std::int16_t ChkFileFormat(const std::string& path);

}  // namespace modCommon

namespace ModPolygon {

// Work-table field types of the catalogue's item type names.
namespace FieldType {
inline constexpr std::int16_t Integer = 3;  // 16-bit
inline constexpr std::int16_t Long = 4;     // 32-bit
inline constexpr std::int16_t Text = 10;
}  // namespace FieldType

// "Integer" → 3, "Long" → 4, "Text"/"Text1"/"Text2" → 10 (exact names). Any other name shows
// "型が一致しません" and gives false, leaving fieldType as it was. The name is CP932 as read from the catalogue.
bool SetTextToVbidx(std::string_view typeName, std::int16_t& fieldType);

// "Integer"/"Long" → "N", "Text"/"Text1"/"Text2"/"Text3" → "C". Any other name as SetTextToVbidx.
bool SetTextToShpeidx(std::string_view typeName, std::string& letter);

// Degrees of a coordinate in 1/36000 degree: value / 36000 rounded to six decimals, half away from zero,
// computed exactly. A text is read as the number it reads as; a text that is not a number (the empty text
// included) shows the run-time error box and gives false, leaving degrees as it was.
bool XYtoData(std::string_view value, double& degrees);
bool XYtoData(double value, double& degrees);
// XYtoData of a whole number of units in millionths of a degree: its degrees are exactly this over 10^6.
// Writers of stored coordinates format it with text::appendMillionths (the same text as the degrees).
std::int64_t XYtoMillionths(std::int64_t units);  // units within the range of a Long field

}  // namespace ModPolygon

}  // namespace velmora
