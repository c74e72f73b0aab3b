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
        deferredIndexes.push_back({index.table, index.sql});
    }
}

void Connection::flushAppenders() {
    for (Appender* a : appenders) a->flush();
}

void Connection::buildDeferredIndexes() {
    while (!deferredIndexes.empty()) {
        exec(deferredIndexes.front().sql);
        deferredIndexes.erase(deferredIndexes.begin());
    }
}

namespace {

// Notes every name an action of a statement being prepared gives (the table read or written is one of
// them; views and subqueries included). A name that is no table costs nothing but a comparison.
int noteTable(void* tables, int, const char* first, const char* second, const char*, const char*) {
    auto* names = static_cast<std::vector<std::string>*>(tables);
    if (first) names->emplace_back(first);
    if (second) names->emplace_back(second);
    return SQLITE_OK;
}

}  // namespace

void Connection::buildDeferredIndexesFor(std::string_view sql) {
    if (deferredIndexes.empty()) return;
    checkOpen();
    std::vector<std::string> tables;
    sqlite3_set_authorizer(handle, noteTable, &tables);
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(handle, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr);
    sqlite3_finalize(stmt);
    sqlite3_set_authorizer(handle, nullptr, nullptr);
    // A statement that does not prepare fails on its own when it is made; build them all, as before.
    if (rc != SQLITE_OK) return buildDeferredIndexes();
    for (std::size_t i = 0; i < deferredIndexes.size();) {
        bool read = false;
        for (const std::string& t : tables) read = read || sameName(t, deferredIndexes[i].table);
        if (!read) {
            ++i;
            continue;
        }
        exec(deferredIndexes[i].sql);
        deferredIndexes.erase(deferredIndexes.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

}  // namespace velmora::db::detail
