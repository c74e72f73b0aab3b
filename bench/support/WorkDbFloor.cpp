#include "bench/support/WorkDbFloor.h"

#include <sqlite3.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "bench/support/BenchSupport.h"

namespace velmora::bench {

namespace {

void exec(sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "sqlite3_exec failed";
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}

std::string tableName(std::size_t t) { return "t" + std::to_string(t); }

// Rows go in as the work databases write them, several to one INSERT (platform/db's appender).
constexpr std::int64_t kGroupRows = 32;

sqlite3_stmt* prepareInsert(sqlite3* db, std::size_t t, const FloorTable& table, std::int64_t rows) {
    std::string row = "(?";
    for (int c = 1; c < table.columns; ++c) row += ",?";
    row += ")";
    std::string sql = "INSERT INTO " + tableName(t) + " VALUES" + row;
    for (std::int64_t r = 1; r < rows; ++r) sql += "," + row;
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr) != SQLITE_OK) throw std::runtime_error(sql);
    return insert;
}

void fill(sqlite3* db, std::size_t t, const FloorTable& table) {
    sqlite3_stmt* group = prepareInsert(db, t, table, kGroupRows);
    sqlite3_stmt* single = prepareInsert(db, t, table, 1);
    for (std::int64_t first = 1; first <= table.rows;) {
        sqlite3_stmt* insert = table.rows - first + 1 >= kGroupRows ? group : single;
        const std::int64_t rows = insert == group ? kGroupRows : 1;
        for (std::int64_t k = 0; k < rows; ++k) {
            const std::int64_t r = first + k;
            const int p = static_cast<int>(k) * table.columns + 1;
            if (table.textFirst) sqlite3_bind_text(insert, p, "L  ", 3, SQLITE_STATIC);
            else sqlite3_bind_int64(insert, p, r);
            // Every number rising with the row: sorted keys are an index build's cheapest case, so the
            // time stays a floor whatever order a job's real keys come in.
            for (int c = 1; c < table.columns; ++c) sqlite3_bind_int64(insert, p + c, r);
        }
        if (sqlite3_step(insert) != SQLITE_DONE) throw std::runtime_error("insert failed");
        sqlite3_reset(insert);
        first += rows;
    }
    sqlite3_finalize(group);
    sqlite3_finalize(single);
}

FloorTimes measureHere(const std::filesystem::path& folder, const std::vector<FloorTable>& tables) {
    const std::filesystem::path path = folder / "xxtmpFloor.db";
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot open " + path.string());
    FloorTimes times;
    try {
        // platform/db's settings (Database.cpp).
        exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE; "
                 "PRAGMA cache_size=-65536; PRAGMA temp_store=FILE; PRAGMA mmap_size=0;");
        for (std::size_t t = 0; t < tables.size(); ++t) {
            std::string sql = "CREATE TABLE " + tableName(t) + (tables[t].textFirst ? "(c0 TEXT" : "(c0 INTEGER");
            for (int c = 1; c < tables[t].columns; ++c) sql += ",c" + std::to_string(c) + " INTEGER";
            exec(db, sql + ")");
        }
        const Clock::time_point start = Clock::now();
        exec(db, "BEGIN");
        for (std::size_t t = 0; t < tables.size(); ++t) fill(db, t, tables[t]);
        exec(db, "COMMIT");
        const Clock::time_point filled = Clock::now();
        for (std::size_t t = 0; t < tables.size(); ++t)
            for (int c : tables[t].indexed)
                exec(db, "CREATE INDEX i" + std::to_string(t) + "_" + std::to_string(c) + " ON " + tableName(t) +
                             "(c" + std::to_string(c) + ")");
        times.insertSeconds = seconds(start, filled);
        times.indexSeconds = seconds(filled, Clock::now());
    } catch (...) {
        sqlite3_close(db);
        std::filesystem::remove(path);
        throw;
    }
    sqlite3_close(db);
    std::filesystem::remove(path);
    return times;
}

}  // namespace

FloorTimes measureWorkDbFloor(const std::filesystem::path& folder, const std::vector<FloorTable>& tables) {
    // In a child of its own: the engine's cache would otherwise raise this process's peak memory, which
    // every program the benchmark starts afterwards would report as its own.
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe failed");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        FloorTimes times{-1, -1};
        try {
            times = measureHere(folder, tables);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "SQLite floor: %s\n", e.what());
        }
        const bool sent = ::write(fds[1], &times, sizeof times) == static_cast<ssize_t>(sizeof times);
        ::_exit(sent ? 0 : 1);
    }
    ::close(fds[1]);
    FloorTimes times{-1, -1};
    const bool read = pid > 0 && ::read(fds[0], &times, sizeof times) == static_cast<ssize_t>(sizeof times);
    ::close(fds[0]);
    if (pid > 0) ::waitpid(pid, nullptr, 0);
    if (!read || times.insertSeconds < 0) throw std::runtime_error("the SQLite floor could not be measured");
    return times;
}

}  // namespace velmora::bench
