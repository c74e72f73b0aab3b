#pragma once
// The writers that describe an attribute-table output as a table without shapes (kind 6) in the open
// intermediate shape description (FilHFileNo, FilDFileNo): a header block, then per table row a
// "LINKIDX" line in the coordinate file and a "DBFITEM" line in the header file.
#include <string>

namespace velmora::db {
class Database;
}

namespace ModAttr {

// The header block of the selected attribute-table item. False after a refused item type (its message)
// or a run-time error box.
bool MakeShapeAttrFileData_ini();

// One record pair per "T" record of one input file, rows numbered from 1 within the file, the row number
// appended to the values. True also when the file is skipped as belonging to another data item.
bool MakeAttrFileData(const std::string& path);

// The ledger-joined item: the header block, then one record pair per row of 表データ in key order with the
// title of its ledger row as the last value. False without a message when the table is empty.
bool MakeAttrFileData_Toku(velmora::db::Database& db);

}  // namespace ModAttr
