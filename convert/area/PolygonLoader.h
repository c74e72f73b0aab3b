#pragma once
// The area-structure file loader: one fixed-column area-structure file into the open work database of
// MakePolygonDb, record by record ("N" nodes, "L" links with their vertices, "A" areas with their link
// references, "DA" area ledgers).
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::db {
class Appender;
class Database;
}  // namespace velmora::db

namespace ModLine {
class LinkVertexStore;
}

namespace velmora::ModPolygon {

// Loads one file in one transaction. True: loaded, or skipped as a file of another data item (logged with
// code 1). False: the job must stop; a message has been shown.
bool PolySetTextToTbl(velmora::db::Database& db, const std::string& path);

// Reads line 1 and, for a file of the selected area item, line 2 of InFileNo into HedFields and HedCounts.
// skip 1: a file of another item, logged with code 1. False after the format message or the error box.
bool SetTextToTbl_Hed(std::int16_t& skip);

// "ファイル種別：" and the Name of the first area row (0 to 11) whose header key occurs in the line, or
// "ファイル種別：不明"; CP932. False (and the empty text) after the error box.
bool SelectFileKind(std::string_view headerLine, std::string& kindText);

// The record readers. Each appends its rows; the link and area readers read their continuation lines,
// the ledger reader of area row 7 its second line, from InFileNo. False after the reader's error box.
bool SetTextToTbl_Node(std::string_view line, velmora::db::Appender& nodes);
bool SetTextToTbl_Link(std::string_view line, velmora::db::Appender& links, ModLine::LinkVertexStore& vertices);
bool SetTextToTbl_Pliy(std::string_view line, velmora::db::Appender& areas, velmora::db::Appender& references);
bool SetTextToTbl_Area(std::string_view line, velmora::db::Appender& ledger);

// Area rows 0 to 11 hold the twelve area data items; rows 7 and 8 have ledger items of their own.
inline constexpr int kAreaItemRows = 12;
inline constexpr int kResortRow = 7;
inline constexpr int kBoundaryRow = 8;

}  // namespace velmora::ModPolygon
