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
    // fills the tables without keeping them up to date row by row, in the order they were made.
    struct DeferredIndex {
        std::string table;
        std::string sql;  // its CREATE INDEX statement
    };
    std::vector<DeferredIndex> deferredIndexes;
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
    // Builds the deferred indexes again: those of the tables a query reads before it is prepared, the
    // others when the database closes. Every query sees the indexes its tables were defined with, and so
    // plans as it would have; a table no query reads (the nodes of a line job that writes no stations)
    // costs no index build until the close, and none when the file is closed to be deleted.
    void buildDeferredIndexes();
    void buildDeferredIndexesFor(std::string_view sql);
};

// Data pointer for binding a text: an empty view may carry no pointer at all, which SQLite would store as
// Null; it is empty text all the same.
inline const char* nonNullData(std::string_view text) { return text.data() ? text.data() : ""; }

}  // namespace velmora::db::detail
