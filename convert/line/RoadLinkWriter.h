#pragma once
// The road-link writer: every distinct link of the road item becomes one polyline of one part (kind 3)
// with the road ledger's values.
namespace velmora::db {
class Database;
}

namespace ModLine {

// True with goOn true: Brunhale wrote the output. True with goOn false: the road ledger was empty and the
// user chose not to convert without it; nothing was opened. False: a failure.
bool MakeShapeLineFileData_Doro(velmora::db::Database& db, bool& goOn);

}  // namespace ModLine
