#pragma once
// The point work database "xxtmpPointDabaDB.mdb": several fixed-column files of one point item are
// loaded into it and every distinct record is written once (PointMerge.h).
#include <string>

namespace velmora::db {
class Database;
}

namespace ModPoint {

class DistinctRows;

inline constexpr const char* kPointDbName = "xxtmpPointDabaDB.mdb";
inline constexpr const char* kPointTable = "ポイントデータ";
inline constexpr const char* kLayerCodeField = "レイヤコード";
inline constexpr const char* kMeshCodeField = "メッシュコード";
inline constexpr const char* kXField = "Ｘ座標";
inline constexpr const char* kYField = "Ｙ座標";
// The land-price rows keep items 1 to 5 in ポイントデータ, 6 to 200 in 属性データ1 and the rest in
// 属性データ2, one row of each per record, joined by X and Y.
inline constexpr const char* kAttrTable1 = "属性データ1";
inline constexpr const char* kAttrTable2 = "属性データ2";
inline constexpr int kLastPointTableItem = 5;
inline constexpr int kLastAttrTable1Item = 200;

// AppFolder followed by the database's name.
std::string PointDbPath();

// Whether the tables get their indexes on X and Y. They serve look-ups by coordinates; the merges make
// none, and keeping them up to date would take most of their loading time.
enum class IndexTiming { WithTable, Omitted };
// The type of the X and Y fields: 32-bit whole numbers (1/36000 degree), or real numbers for the
// arc-seconds of delimited land-price files, whose fractions would otherwise move and merge sites.
enum class Coordinates { Whole, Real };

// Deletes and creates the database with the tables of the selected row, and closes it. False after a
// message (a half-made file stays until the next job).
bool MakePointDb(IndexTiming indexes = IndexTiming::WithTable, Coordinates coordinates = Coordinates::Whole);
// The tables of the selected row: for the land-price rows 8 and 9 the three tables, each with its X and Y
// indexes, otherwise ポイントデータ alone.
bool makePointTable(velmora::db::Database& db, IndexTiming indexes = IndexTiming::WithTable,
                    Coordinates coordinates = Coordinates::Whole);
// ポイントデータ of a land-price row (items 1 to 5), and 属性データ1 and 属性データ2 (X, Y and their items).
bool makeTable_PointData1(velmora::db::Database& db, IndexTiming indexes = IndexTiming::WithTable,
                          Coordinates coordinates = Coordinates::Whole);
bool makeTable_Zoku(velmora::db::Database& db, IndexTiming indexes = IndexTiming::WithTable,
                    Coordinates coordinates = Coordinates::Whole);
// ポイントデータ of an ordinary point row: layer code, mesh code, X, Y and every item of the row, written
// or not; indexes on X and on Y.
bool makeTable_PointData2(velmora::db::Database& db, IndexTiming indexes = IndexTiming::WithTable);

// Loads the rest of the file open in InFileNo (its header accepted) into ポイントデータ, one row per line,
// in one transaction, and closes the file. A blank line is passed over; a line whose trimmed X or Y is
// blank or "9999999" is logged (code 10 or 15, "LINE:" and its position after the header) and not stored.
// False after the loader's error box (a mesh code or coordinate that is no 32-bit number, an item value
// the field refuses). The path only names the file. With `distinct`, every stored row is told to it.
bool SetPointTextToTbl2(velmora::db::Database& db, const std::string& path, DistinctRows* distinct = nullptr);
// The same for a land-price row: every record gives one row of each of the three tables.
bool SetPointTextToTbl1(velmora::db::Database& db, const std::string& path);

}  // namespace ModPoint
