#pragma once
// The de-duplication database of a mesh job over several files: every written record notes its shape
// number and mesh code in table MESH of "xxtmpMesh.mdb"; after the last file one ring is written per
// distinct code (n × n rings for a subdivided layer), numbered with the smallest shape number of that
// code, in the order of those numbers. A code met again later so gets a record block but no second ring.
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::db {
class Appender;
class Database;
}  // namespace velmora::db

namespace ModMesh {

inline constexpr const char* kMeshDbName = "xxtmpMesh.mdb";
inline constexpr const char* kMeshTable = "MESH";

// The work database of the job, held from pMeshDb until the converter closes it.
velmora::db::Database& MeshWorkDb();
// AppFolder followed by the database's name.
std::string MeshDbPath();

// Creates the database afresh (a leftover file is deleted first) with table MESH (LINKNO 32-bit,
// MESHCD text of 10) into MeshWorkDb. False after the error box "Error: ModMesh (pMeshDb)": also when
// the leftover file is still open.
bool pMeshDb();

// Appends (shape number, code) through the table's appender. False after the error box
// "Error: ModMesh (MeshDBAdd)" (a code longer than 10 characters among others).
bool MeshDBAdd(velmora::db::Appender& mesh, std::int32_t linkNo, std::string_view code);

// Write the rings of the distinct codes into the open coordinate file (FilDFileNo): whole cells, or the
// n × n cells of each code in the cell order of a record. False when the table is empty (no message),
// after a code without a ring (the log line "<layer>作成中にエラーが発生しました(メッシュコード→ＸＹ座標変換)"),
// or after the error box "Error: ModMesh (OutPutMDBtoCsv)" / "(OutPutSaiMDBtoCsv)".
bool OutPutMDBtoCsv();
bool OutPutSaiMDBtoCsv();

// The log line of a code whose ring cannot be computed.
void LogRingFailure();

}  // namespace ModMesh
