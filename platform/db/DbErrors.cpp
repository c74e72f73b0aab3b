#include "platform/db/DbErrors.h"

#include <sqlite3.h>

namespace velmora::db {

void fail(int number, const std::string& description) { throw RunTimeError(number, description); }

void failEngine(sqlite3* handle, int rc) {
    std::string message = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
    int extended = handle ? sqlite3_extended_errcode(handle) : rc;
    switch (extended) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        fail(err::DuplicateKey,
             "The changes you requested to the table were not successful because they would create "
             "duplicate values in the index, primary key, or relationship. (" + message + ")");
    case SQLITE_CONSTRAINT_NOTNULL:
        fail(err::NullInKey, "Index or primary key cannot contain a Null value. (" + message + ")");
    default:
        break;
    }
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        fail(err::FileInUse, "Could not use the database; file already in use. (" + message + ")");
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
        fail(err::DiskError, "Disk or network error. (" + message + ")");
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        fail(err::UnrecognizedFormat, "Unrecognized database format. (" + message + ")");
    default:
        fail(err::EngineError, message);
    }
}

void failPrepare(sqlite3* handle, std::string_view sql) {
    std::string message = sqlite3_errmsg(handle);
    std::string text(sql);
    if (message.starts_with("no such table"))
        fail(err::TableNotFound, "Cannot find the input table or query. (" + message + ") in: " + text);
    if (message.starts_with("no such column"))
        fail(err::TooFewParameters, "Too few parameters. Expected 1. (" + message + ") in: " + text);
    int rc = sqlite3_errcode(handle);
    if (rc != SQLITE_ERROR) failEngine(handle, rc);
    fail(err::SyntaxError, "Syntax error in query expression. (" + message + ") in: " + text);
}

}  // namespace velmora::db
