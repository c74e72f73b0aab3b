#pragma once
// The station writers of the railway item: the station nodes (ledger flag 1) as points of the output
// base with "_駅名", with the fields 属性番号 and 駅名 of the station ledger.
namespace velmora::db {
class Database;
}

namespace ModLine {

// Every station node. True when Brunhale wrote the stations; false on any failure (silently when the
// database holds no station node).
bool MakeShapeLine_PointFileData(velmora::db::Database& db);

// The station nodes the mesh selection picks, condition by condition. `written` tells whether at least
// one station was written; without any, the user is told that nothing matched and the result is true.
bool MakeShapeLine_PointFileData_Select(velmora::db::Database& db, bool& written);

}  // namespace ModLine
