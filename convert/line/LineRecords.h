#pragma once
// The fixed-column records shared by line files and area-structure files: the header line, the counts
// line, node records "N", link records "L" with their vertex lines, and the records only line files have
// (line records "S" with their reference lines, ledger records "DS", "DL", "DP") and area-structure files
// alone (area records "A" with their reference lines).
//
// Everything here is a pure cut of raw CP932 record bytes. Positions are 1-based character columns
// (a double-byte character counts once), except where a column table says bytes. Which field a column
// goes to and the rule it is stored by are listed with it, so that every loader stores the same way.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/text/Sjis.h"

namespace ModLine {

// How a column text reaches its field.
enum class StoreRule {
    AsRead,           // the text unchanged; the database converts it to the field's type
    WhenNumeric,      // the text when it reads as a number, else the field stays empty
    NumericElseZero,  // the text when it reads as a number, else 0
};

struct RecordColumn {
    std::string_view field;  // field name (UTF-8)
    int start;               // 1-based character column
    int width;               // characters
    StoreRule rule;
};

// Record kind: columns 1-3 without surrounding blanks ("H", "N", "L", "S", "DS", "DL", "DP").
std::string_view RecordKind(std::string_view line);
// A line whose kind is one of these or an area-structure file's "A" or "DA": a record of its own, never a
// continuation line of another.
bool IsRecordLine(std::string_view line);

// The cut of `width` characters from character column `start`; shorter or empty past the end of the line.
std::string_view CharColumns(std::string_view line, int start, int width);

// The header-key test of the selected row: the key occurs anywhere in line 1, exactly (case matters); an
// empty key occurs in every line, so its row takes every file of a header line. Both texts are CP932.
bool HasHeaderKey(std::string_view line1, std::string_view headerKeyCp932);
// The kind-name search ("ファイル種別：…") asks whether a row's key names the file: an empty key names
// none, or a row without one would claim every file of another kind.
bool KeyNamesFile(std::string_view line1, std::string_view headerKeyCp932);

// Header line columns, as the line job keeps them (HedFields).
struct HeaderColumns {
    std::string_view text1;    // (1, 3)  record kind
    std::string_view text2;    // (4, 10)
    std::string_view text3;    // (14, 10) data code
    std::string_view text4;    // (24, 2)
    std::string_view text5;    // (26, 4) creation year
    std::string_view number;   // (30, 4) a 16-bit number
    std::string_view records;  // (34, 8) record count of the file
};
HeaderColumns CutHeader(std::string_view line1);

// The counts line converted into the seven places of HedCounts: counts 1, 2, 4, 5, 7 in places
// 1, 2, 4, 5, 7, count 6 in place 3 (count 3 is converted first and then replaced); place 6 is never set
// and keeps what `places` held. Index 0 of the array is place 1. A count that is not a 32-bit number
// throws RunTimeError (13 or 6). `stated`, when given, gets the seven counts as they stand.
void ReadCounts(std::string_view line2, std::array<std::int32_t, 7>& places,
                std::array<std::int32_t, 7>* stated = nullptr);

// Continuation lines of a record of n vertices or references: n / 5 plus one for a remainder; none for
// n <= 0.
std::int32_t ContinuationLineCount(std::int32_t n);

// Node record "N" (60 columns) into ノードデータ, in the table's field order.
std::span<const RecordColumn> NodeColumns();
// Railway item only: 起点メッシュコード receives the node's mesh code again.
inline constexpr RecordColumn kNodeStartMeshColumn{"起点メッシュコード", 4, 6, StoreRule::AsRead};

// Link record "L" (51 columns) into リンクデータ; the last column holds the vertex count.
std::span<const RecordColumn> LinkColumns();
inline constexpr RecordColumn kLinkVertexCountColumn{"リンク構成中間点数", 46, 6, StoreRule::AsRead};

// Line record "S" (53 columns) into ラインデータ; the last column holds the reference count.
std::span<const RecordColumn> LineColumns();
inline constexpr RecordColumn kLineReferenceCountColumn{"ライン構成リンク数", 48, 6, StoreRule::AsRead};

// Area record "A" (51 columns) of area-structure files into ポリゴンデータ; the last column holds the
// number of link references. The attribute number is stored as read, so a blank one is refused.
std::span<const RecordColumn> AreaColumns();
inline constexpr RecordColumn kAreaReferenceCountColumn{"エリア構成リンク数", 46, 6, StoreRule::AsRead};

// Vertex k (0-4) of a link's continuation line: X (16k+1, 8), Y (16k+9, 8).
struct VertexColumns {
    std::string_view x, y;
};
VertexColumns CutVertex(const velmora::text::SjisColumns& line, int k);

// Reference k (0-4) of a line's or an area's continuation line: mesh code (14k+1, 6), signed number (14k+7, 6),
// flag (14k+13, 2).
struct ReferenceColumns {
    std::string_view mesh, number, flag;
};
ReferenceColumns CutReference(const velmora::text::SjisColumns& line, int k);

// The three leading columns of the ledger records "DS", "DL", "DP" and of the area ledger "DA": layer
// code (1, 3), attribute number (4, 10), row count (14, 3). The row count's field is 行数 in 台帳データ and 属性の行数 in the
// road and station ledgers.
std::span<const RecordColumn> LineLedgerColumns();
std::span<const RecordColumn> RoadLedgerColumns();     // adds 道路種別CD (17, 2)
std::span<const RecordColumn> StationLedgerColumns();  // the three leading columns only

// Road ledger names: Shift-JIS byte ranges, trimmed, stored only when not empty.
struct ByteColumn {
    std::string_view field;
    int start;  // 1-based byte
    int width;  // bytes
};
std::span<const ByteColumn> RoadLedgerNameColumns();

// Station ledger name: characters 17-44, trimmed, always stored into 駅名.
inline constexpr RecordColumn kStationNameColumn{"駅名", 17, 28, StoreRule::AsRead};

}  // namespace ModLine
