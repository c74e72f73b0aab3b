#pragma once
// The work database of the boundary lines and representative points of an area job:
// "xxtmpPolygonDabaDB.mdb" in the program folder, with one table per record kind of the area-structure
// files. The ledger table's fields follow the items of the selected area data item, so the database is
// made anew for every job.
#include <string>

namespace velmora::db {
class Database;
}

namespace velmora::ModPolygon {

inline constexpr const char* kPolygonDbFileName = "xxtmpPolygonDabaDB.mdb";

// AppFolder followed by the database's file name.
std::string PolygonDbPath();

// Deletes a leftover database, creates it anew with all six tables, closes it. False after an error box
// or the type-name message: the job must stop (a half-built file stays until the next area job).
bool MakePolygonDb();

// The tables in order, stopping at the first builder that fails.
bool makeTable(velmora::db::Database& db);
bool makeTable_NodeData(velmora::db::Database& db);  // ノードデータ
bool makeTable_LinkData(velmora::db::Database& db);  // リンクデータ, リンクデータ中間点
bool makeTable_Polygon(velmora::db::Database& db);   // ポリゴンデータ, ポリゴンリンクデータ, エリア台帳データ

}  // namespace velmora::ModPolygon
