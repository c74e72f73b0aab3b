#pragma once
// The SQLite connection behind a Database, shared with the queries made on it so that a query outliving
// its database's close notices instead of touching a closed handle. Internal to platform/db.
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora::db {
class Appender;
}

namespace velmora::db::detail {

struct Connection {
    sqlite3* handle = nullptr;  // null once closed
    std::string path;           // absolute
    // Plain indexes of tables that were empty when the database was opened, taken off so that a load
    // fills the tables without keeping them up to date row by row (CREATE INDEX statements, in order).
    std::vector<std::string> deferredIndexes;
    // The appenders of the database, whose saved rows may wait to be written in groups (Appender.h).
    std::vector<Appender*> appenders;

    // 3420 when the connection was closed.
    void checkOpen() const;
    // Runs SQL without results or bound values (definitions, pragmas, transaction control).
    void exec(const std::string& sql);
    sqlite3_stmt* prepare(std::string_view sql);
    // Writes every row the appenders have saved: before anything reads the tables or commits.
    void flushAppenders();
    // Takes the plain indexes off the tables that hold no rows (a table with a unique index keeps all of
    // its own: the load needs it to refuse repeated keys).
    void deferIndexesOfEmptyTables();
    // Builds the deferred indexes again, before the first query and at the latest when the database
    // closes: every query sees the indexes the tables were defined with, and so plans as it would have.
    void buildDeferredIndexes();
};

// Data pointer for binding a text: an empty view may carry no pointer at all, which SQLite would store as
// Null; it is empty text all the same.
inline const char* nonNullData(std::string_view text) { return text.data() ? text.data() : ""; }

}  // namespace velmora::db::detail
