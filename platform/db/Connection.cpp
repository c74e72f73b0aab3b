#include "platform/db/Connection.h"

#include <sqlite3.h>

#include "platform/db/Appender.h"
#include "platform/db/DbErrors.h"
#include "platform/db/Names.h"

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

namespace {

struct Statement {
    sqlite3_stmt* s;
    ~Statement() { sqlite3_finalize(s); }
};

std::string columnString(sqlite3_stmt* s, int i) {
    auto p = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(s, i))) : std::string();
}

}  // namespace

void Connection::deferIndexesOfEmptyTables() {
    struct Index {
        std::string name, table, sql;
    };
    std::vector<Index> indexes;
    {
        // Indexes made by CREATE INDEX only (sql not Null), in the order they were made.
        Statement q{prepare("SELECT name, tbl_name, sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL "
                            "AND tbl_name NOT IN (SELECT tbl_name FROM sqlite_master WHERE type = 'index' "
                            "AND sql LIKE 'CREATE UNIQUE%') ORDER BY rowid")};
        while (sqlite3_step(q.s) == SQLITE_ROW)
            indexes.push_back({columnString(q.s, 0), columnString(q.s, 1), columnString(q.s, 2)});
    }
    std::string emptyTable;
    for (const Index& index : indexes) {
        if (index.table != emptyTable) {
            Statement any{prepare("SELECT 1 FROM " + quoteName(index.table) + " LIMIT 1")};
            if (sqlite3_step(any.s) == SQLITE_ROW) continue;
            emptyTable = index.table;
        }
        exec("DROP INDEX " + quoteName(index.name));
        deferredIndexes.push_back(index.sql);
    }
}

void Connection::flushAppenders() {
    for (Appender* a : appenders) a->flush();
}

void Connection::buildDeferredIndexes() {
    while (!deferredIndexes.empty()) {
        exec(deferredIndexes.front());
        deferredIndexes.erase(deferredIndexes.begin());
    }
}

}  // namespace velmora::db::detail
