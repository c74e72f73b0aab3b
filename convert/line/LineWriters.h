#pragma once
// The line shape writers: every line record of the line database becomes one polyline of one part per
// referenced link (kind 4), written through the intermediate shape description and Brunhale.
namespace velmora::db {
class Database;
}

namespace ModLine {

// Every line. True when Brunhale wrote the output; false on any failure (after its message, or silently
// when the database holds no line).
bool MakeShapeLineFileData(velmora::db::Database& db);

// The lines the mesh selection picks: one query per condition of StartMeshWhere (1 .. MeshRangeCount).
// `written` tells whether at least one line was written; without any, the user is told that nothing
// matched, Brunhale is not run and the result is true.
bool MakeShapeLineFileData_Select(velmora::db::Database& db, bool& written);

}  // namespace ModLine
