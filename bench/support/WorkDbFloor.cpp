#include "bench/support/WorkDbFloor.h"

#include <sqlite3.h>

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

void fill(sqlite3* db, std::size_t t, const FloorTable& table) {
    std::string sql = "INSERT INTO " + tableName(t) + " VALUES(?";
    for (int c = 1; c < table.columns; ++c) sql += ",?";
    sql += ")";
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &insert, nullptr) != SQLITE_OK) throw std::runtime_error(sql);
    for (std::int64_t r = 1; r <= table.rows; ++r) {
        if (table.textFirst) sqlite3_bind_text(insert, 1, "L  ", 3, SQLITE_STATIC);
        else sqlite3_bind_int64(insert, 1, r);
        // Every number rising with the row: sorted keys are an index build's cheapest case, so the time
        // stays a floor whatever order a job's real keys come in.
        for (int c = 1; c < table.columns; ++c) sqlite3_bind_int64(insert, c + 1, r);
        if (sqlite3_step(insert) != SQLITE_DONE) throw std::runtime_error("insert failed");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
}

}  // namespace

FloorTimes measureWorkDbFloor(const std::filesystem::path& folder, const std::vector<FloorTable>& tables) {
    const std::filesystem::path path = folder / "xxtmpFloor.db";
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot open " + path.string());
    FloorTimes times;
    try {
        exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE; "
                 "PRAGMA cache_size=-65536; PRAGMA temp_store=MEMORY;");
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

}  // namespace velmora::bench
