#pragma once
// The temporary line database of a line job: "xxtmpLineDabaDB.mdb" in the program folder, with the
// tables the line loader fills and the line writers query.
#include <string>

namespace velmora::db {
class Database;
}

namespace ModLine {

inline constexpr const char* kLineDbFileName = "xxtmpLineDabaDB.mdb";

// AppFolder followed by the database's file name.
std::string LineDbPath();

// Deletes a leftover database, creates it anew with every table of the selected line item, closes it.
// False after an error box or the type-name message: the job must stop.
bool MakeLineDb();

// The tables in order, stopping at the first builder that fails.
bool makeTable(velmora::db::Database& db);
bool makeTable_NodeData(velmora::db::Database& db);   // ノードデータ (with 起点メッシュコード for row 26)
bool makeTable_LinkData(velmora::db::Database& db);   // リンクデータ, リンクデータ中間点
bool makeTable_Line(velmora::db::Database& db);       // ラインデータ, ラインリンクデータ, 台帳データ
bool makeTable_LinkDData(velmora::db::Database& db);  // リンク台帳データ (road item)
bool makeTable_NodeDData(velmora::db::Database& db);  // ノード台帳データ (railway item)

// Line-table rows with tables of their own.
inline constexpr int kRoadRow = 25;
inline constexpr int kRailwayRow = 26;

}  // namespace ModLine
