// Appends 5 million rows of a three-column table with one index, then runs 1 million indexed look-ups,
// once through platform/db and once written directly against the sqlite3 C API, in the same run, and
// prints rows per second for each with the layer's time relative to the direct code (medians of the runs).
//
//   bench_db [folder] [runs]      (default: the temporary folder, 3 runs)
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/db/Database.h"
#include "platform/db/DatabaseFiles.h"
#include "platform/db/Transaction.h"
#include "platform/text/Cp932.h"

namespace {

using namespace velmora;

constexpr int kRows = 5'000'000;
constexpr int kRowsPerFile = 500'000;  // one transaction per input file
constexpr int kLookups = 1'000'000;

struct Data {
    std::vector<std::string> names;  // CP932 texts of up to 20 characters
    std::vector<int> lookupKeys;
};

Data makeData() {
    Data d;
    for (int i = 0; i < 1000; ++i) d.names.push_back(text::toCp932("駅名" + std::to_string(i * 7919) + "ﾃｽﾄ"));
    std::uint64_t x = 88172645463325252ull;
    for (int i = 0; i < kLookups; ++i) {
        x ^= x << 13, x ^= x >> 7, x ^= x << 17;
        d.lookupKeys.push_back(static_cast<int>(x % (kRows + kRows / 10)));  // a tenth miss
    }
    return d;
}

int key(int i) { return 100000 + i; }
double value(int i) { return i * 0.25; }

double seconds(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// ---- through the layer ----

void layerAppend(const std::string& path, const Data& d) {
    db::Database database = db::Database::create(path, db::Database::IfExists::Replace);
    database.createTable(db::TableDef("点データ")
                             .field("キー", db::FieldType::Long)
                             .field("値", db::FieldType::Double)
                             .field("名称", db::FieldType::Text, 20)
                             .index("キー", "キー"));
    db::Appender& rows = database.appender("点データ");
    for (int first = 0; first < kRows; first += kRowsPerFile) {
        db::Transaction file(database);
        for (int i = first; i < first + kRowsPerFile; ++i) {
            rows.newRow();
            rows.set("キー", key(i));
            rows.set("値", value(i));
            rows.set("名称", d.names[static_cast<std::size_t>(i % 1000)]);
            rows.save();
        }
        file.commit();
    }
    database.close();
}

std::uint64_t layerLookups(const std::string& path, const Data& d) {
    db::Database database = db::Database::open(path);
    db::Query q = database.query("SELECT 値, 名称 FROM 点データ WHERE キー = ?");
    std::uint64_t check = 0;
    for (int k : d.lookupKeys) {
        q.bind(1, key(k));
        while (q.next()) check += static_cast<std::uint64_t>(q.asDouble("値")) + q.asText("名称").size();
    }
    return check;
}

// ---- directly on sqlite3 ----

void must(int rc, sqlite3* h) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(h));
        std::exit(1);
    }
}

sqlite3* rawOpen(const std::string& path, int flags) {
    sqlite3* h = nullptr;
    must(sqlite3_open_v2(path.c_str(), &h, flags, nullptr), h);
    must(sqlite3_exec(h,
                      "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE;"
                      "PRAGMA cache_size=-65536; PRAGMA mmap_size=1073741824;",
                      nullptr, nullptr, nullptr),
         h);
    return h;
}

void rawAppend(const std::string& path, const Data& d) {
    std::filesystem::remove(path);
    sqlite3* h = rawOpen(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX);
    must(sqlite3_exec(h,
                      "CREATE TABLE \"点データ\" (\"キー\" INTEGER, \"値\" DOUBLE, \"名称\" TEXT(20));"
                      "CREATE INDEX \"点データ.キー\" ON \"点データ\" (\"キー\");",
                      nullptr, nullptr, nullptr),
         h);
    sqlite3_stmt* ins = nullptr;
    must(sqlite3_prepare_v2(h, "INSERT INTO \"点データ\" (\"キー\",\"値\",\"名称\") VALUES (?,?,?)", -1, &ins, nullptr), h);
    for (int first = 0; first < kRows; first += kRowsPerFile) {
        must(sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr), h);
        for (int i = first; i < first + kRowsPerFile; ++i) {
            const std::string& name = d.names[static_cast<std::size_t>(i % 1000)];
            sqlite3_bind_int64(ins, 1, key(i));
            sqlite3_bind_double(ins, 2, value(i));
            sqlite3_bind_text(ins, 3, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
            must(sqlite3_step(ins), h);
            sqlite3_reset(ins);
        }
        must(sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr), h);
    }
    sqlite3_finalize(ins);
    sqlite3_close(h);
}

std::uint64_t rawLookups(const std::string& path, const Data& d) {
    sqlite3* h = rawOpen(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX);
    sqlite3_stmt* q = nullptr;
    must(sqlite3_prepare_v2(h, "SELECT \"値\", \"名称\" FROM \"点データ\" WHERE \"キー\" = ?", -1, &q, nullptr), h);
    std::uint64_t check = 0;
    for (int k : d.lookupKeys) {
        sqlite3_bind_int64(q, 1, key(k));
        while (sqlite3_step(q) == SQLITE_ROW) {
            check += static_cast<std::uint64_t>(sqlite3_column_double(q, 0));
            sqlite3_column_text(q, 1);
            check += static_cast<std::uint64_t>(sqlite3_column_bytes(q, 1));
        }
        sqlite3_reset(q);
    }
    sqlite3_finalize(q);
    sqlite3_close(h);
    return check;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path folder = argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
    int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::string layerPath = (folder / "xxtmpBenchLayer.mdb").string();
    const std::string rawPath = (folder / "xxtmpBenchRaw.mdb").string();
    Data d = makeData();

    std::vector<double> rawAppendS, layerAppendS, rawLookupS, layerLookupS;
    for (int r = 0; r < runs; ++r) {
        rawAppendS.push_back(seconds([&] { rawAppend(rawPath, d); }));
        layerAppendS.push_back(seconds([&] { layerAppend(layerPath, d); }));
        std::uint64_t a = 0, b = 0;
        rawLookupS.push_back(seconds([&] { a = rawLookups(rawPath, d); }));
        layerLookupS.push_back(seconds([&] { b = layerLookups(layerPath, d); }));
        if (a != b) {
            std::fprintf(stderr, "look-ups disagree: %llu vs %llu\n", static_cast<unsigned long long>(a),
                         static_cast<unsigned long long>(b));
            return 1;
        }
        std::printf("run %d: append raw %.2f s, layer %.2f s; look-ups raw %.2f s, layer %.2f s\n", r + 1,
                    rawAppendS.back(), layerAppendS.back(), rawLookupS.back(), layerLookupS.back());
    }
    auto report = [](const char* what, int n, double raw, double layer) {
        std::printf("%-28s raw %12.0f rows/s   layer %12.0f rows/s   layer/raw time %.2fx\n", what, n / raw,
                    n / layer, layer / raw);
        return layer / raw;
    };
    std::printf("median of %d run(s), %d rows, %d look-ups:\n", runs, kRows, kLookups);
    double appendRatio = report("append (3 columns, 1 index)", kRows, median(rawAppendS), median(layerAppendS));
    double lookupRatio = report("indexed look-ups", kLookups, median(rawLookupS), median(layerLookupS));
    double worst = std::max(appendRatio, lookupRatio);
    std::filesystem::remove(layerPath);
    std::filesystem::remove(rawPath);
    std::printf("%s: the layer is within %.2fx of sqlite3 (goal 1.5x)\n", worst <= 1.5 ? "PASS" : "FAIL", worst);
    return worst <= 1.5 ? 0 : 2;
}
