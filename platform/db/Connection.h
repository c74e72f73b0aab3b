#pragma once
// The SQLite connection behind a Database, shared with the queries made on it so that a query outliving
// its database's close notices instead of touching a closed handle. Internal to platform/db.
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora::db::detail {

struct Connection {
    sqlite3* handle = nullptr;  // null once closed
    std::string path;           // absolute

    // 3420 when the connection was closed.
    void checkOpen() const;
    // Runs SQL without results or bound values (definitions, pragmas, transaction control).
    void exec(const std::string& sql);
    sqlite3_stmt* prepare(std::string_view sql);
};

}  // namespace velmora::db::detail
