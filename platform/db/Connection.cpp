#include "platform/db/Connection.h"

#include <sqlite3.h>

#include "platform/db/DbErrors.h"

namespace velmora::db::detail {

void Connection::checkOpen() const {
    if (!handle) fail(err::ObjectInvalid, "Object invalid or no longer set. (the database is closed)");
}

void Connection::exec(const std::string& sql) {
    checkOpen();
    int rc = sqlite3_exec(handle, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) failEngine(handle, rc);
}

sqlite3_stmt* Connection::prepare(std::string_view sql) {
    checkOpen();
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v3(handle, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                                &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        failPrepare(handle, sql);
    }
    if (!stmt) fail(err::SyntaxError, "Syntax error in query expression. (empty SQL)");
    return stmt;
}

}  // namespace velmora::db::detail
