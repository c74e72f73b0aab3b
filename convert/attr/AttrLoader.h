#pragma once
// The temporary database of the ledger-joined attribute table, xxtmpAttrDabaDB.mdb in the program folder,
// and the loader that fills it from input files: "T" rows into 表データ (items 1 to ItemCount − 1),
// "DT" ledger rows into 表台帳データ (the title field named after item 46).
#include <string>
#include <string_view>
#include <vector>

namespace velmora::db {
class Appender;
class Database;
}  // namespace velmora::db

namespace ModAttr {

// The database's file name in AppFolder.
inline constexpr const char* kAttrDbName = "xxtmpAttrDabaDB.mdb";

// Deletes a database left by an earlier job, creates it with both tables and closes it.
bool MakeAttrDb();
bool makeTable(velmora::db::Database& db);
bool makeTable_AttrTData(velmora::db::Database& db);
bool makeTable_AttrDTData(velmora::db::Database& db);

// Loads one input file into the open database; true also when the file is skipped as foreign.
bool SetAttrTextToTbl(velmora::db::Database& db, const std::string& path);

// The columns of a "T" row: items 1 to ItemCount − 1 of the selected layer with their field names
// decoded once per file.
struct TableColumn {
    std::string field;  // UTF-8
    int start;          // Shift-JIS byte
    int width;          // bytes
    bool text;
};
std::vector<TableColumn> tableColumns();

bool SetAttrTextToTbl_T(std::string_view line, velmora::db::Appender& table,
                        const std::vector<TableColumn>& columns);
// titleField: the name of item 46 (UTF-8).
bool SetAttrTextToTbl_DT(std::string_view line, velmora::db::Appender& ledger, const std::string& titleField);

// Table and field names of the database.
inline constexpr const char* kTableData = "表データ";
inline constexpr const char* kLedgerData = "表台帳データ";
inline constexpr const char* kLayerCode = "レイヤコード";
inline constexpr const char* kAttributeNumber = "属性番号";
inline constexpr const char* kLineCount = "属性の行数";
// The item whose name the ledger title field takes.
inline constexpr int kTitleItem = 46;

}  // namespace ModAttr
