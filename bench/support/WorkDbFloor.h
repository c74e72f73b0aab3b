#pragma once
// The least time SQLite itself needs to hold a job's work database: the same tables, column counts, row
// counts and single-column indexes, filled with rising whole numbers through prepared statements of 32 rows
// each (as the work databases write them) in one transaction under the work databases' pragmas, indexes
// built after the rows. No parsing, no queries, no
// pairs: what a job spends beyond this is ours.
#include <cstdint>
#include <filesystem>
#include <vector>

namespace velmora::bench {

struct FloorTable {
    int columns = 0;
    std::int64_t rows = 0;
    std::vector<int> indexed;  // 0-based columns with a single-column index
    bool textFirst = true;     // the first column text, as レイヤコード is; the rest whole numbers
};

struct FloorTimes {
    double insertSeconds = 0;
    double indexSeconds = 0;
    double total() const { return insertSeconds + indexSeconds; }
};

// Builds the database in `folder` (removed again) and times its filling and its indexes, in a child process
// (the caller's peak memory stays its own).
FloorTimes measureWorkDbFloor(const std::filesystem::path& folder, const std::vector<FloorTable>& tables);

}  // namespace velmora::bench
