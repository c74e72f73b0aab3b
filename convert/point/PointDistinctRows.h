#pragma once
// The distinct rows of a merge, told as the loader stores them: a row is distinct when no earlier row of
// the merge holds the same values, compared byte for byte. A hash of each row's values finds the earlier
// rows that may be equal; those are read back from the table and compared in full. The table of hashes
// (16 bytes per slot, at most half full) is the only memory that grows with the rows.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/Query.h"

namespace velmora::db {
class Database;
}

namespace ModPoint {

// A row's values in the form rows are compared in: per value a 0 byte for Null, or a 1 byte, the length,
// ":" and the value as text (a number in its plain decimal form, a text as stored).
void appendNull(std::string& bytes);
void appendValue(std::string& bytes, std::string_view value);
// The values of columns first .. last of the current row of a query, in that form.
void rowBytes(const velmora::db::Query& row, int first, int last, std::string& bytes);

class DistinctRows {
public:
    // `earlierRow` reads one row of the table by rowid ("... WHERE rowid = ?1"); its columns first .. last
    // are the compared values.
    DistinctRows(velmora::db::Query earlierRow, int first, int last);

    // The next row the loader stored (rows get rowids 1, 2, 3, ... in a fresh table): true when it is the
    // first of its values.
    bool add(const std::string& bytes);
    // One flag per stored row, in rowid order.
    const std::vector<bool>& distinct() const { return distinct_; }
    long count() const { return count_; }

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::int64_t rowid = 0;  // 0: empty
    };
    void grow();
    bool sameAsRow(std::int64_t rowid, const std::string& bytes);

    velmora::db::Query earlierRow_;
    int first_, last_;
    std::vector<Slot> slots_;
    std::vector<bool> distinct_;
    long count_ = 0;
    std::string earlierBytes_;
};

}  // namespace ModPoint
