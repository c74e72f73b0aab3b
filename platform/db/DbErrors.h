#pragma once
// Run-time errors of the work databases. The numbers are those the classic database engine gave for the
// same situations, so an error box reads as it always did ("3022 ..."). Every failure of this layer is a
// velmora::RunTimeError carrying one of these numbers.
#include <string>
#include <string_view>

#include "platform/errors/RunTimeError.h"

struct sqlite3;

namespace velmora::db {

namespace err {
// Storing a value into a field (the conversions the engine made when a text was assigned to a field):
inline constexpr int DataTypeConversion = 3421;    // blank or non-numeric text into a numeric field
inline constexpr int NumericFieldOverflow = 3349;  // number outside the 16-bit, 32-bit or double range
inline constexpr int FieldTooSmall = 3163;         // text longer than the field's size in characters
inline constexpr int DuplicateKey = velmora::err::DuplicateKey;  // 3022: repeated value in a unique index
inline constexpr int NullInKey = 3058;             // no value for the field of a unique index

// Definitions:
inline constexpr int TableExists = 3010;           // a table of that name exists already
inline constexpr int AlreadyInCollection = 3367;   // a field or index name repeated within one table
inline constexpr int NoFieldDefined = 3264;        // a table without fields
inline constexpr int InvalidName = 3125;           // empty name, forbidden character, or not UTF-8/CP932
inline constexpr int InvalidArgument = 3001;       // a text size outside 1 to 255
inline constexpr int ItemNotFound = 3265;          // no field or column of that name
inline constexpr int TableNotFound = 3078;         // no table of that name

// Files:
inline constexpr int DatabaseExists = 3204;        // create over an existing file without replacing it
inline constexpr int FileNotFound = 3024;          // open of a missing file
inline constexpr int InvalidPath = 3044;           // the folder of the file does not exist
inline constexpr int FileInUse = 3045;             // the file is held by another connection
inline constexpr int PathFileAccess = velmora::err::PathFileAccessError;  // 75: in use, not writable
inline constexpr int UnrecognizedFormat = 3343;    // the file is no database
inline constexpr int DiskError = 3043;             // reading or writing the file failed (disk full too)

// Queries, rows and objects:
inline constexpr int SyntaxError = 3075;           // SQL the engine cannot prepare
inline constexpr int TooFewParameters = 3061;      // SQL naming a column that does not exist
inline constexpr int NoCurrentRecord = 3021;       // a value read while no row is current
inline constexpr int InvalidUseOfNull = 94;        // a Null read as a number
inline constexpr int NotInTransaction = 3034;      // commit without begin
inline constexpr int ObjectInvalid = 3420;         // a query or database used after close
inline constexpr int EngineError = 3000;           // anything else SQLite reports (its message follows)
}  // namespace err

[[noreturn]] void fail(int number, const std::string& description);

// Raises the error for a failed SQLite call on the connection (result code rc): a unique violation is
// 3022, a missing key value 3058, a file held elsewhere 3045, file and disk trouble 3043, a damaged or
// foreign file 3343, the rest 3000.
[[noreturn]] void failEngine(sqlite3* handle, int rc);

// Raises the error for SQL that does not prepare: an unknown table 3078, an unknown column 3061, else 3075.
[[noreturn]] void failPrepare(sqlite3* handle, std::string_view sql);

}  // namespace velmora::db
