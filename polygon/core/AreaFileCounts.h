#pragma once
// The counts line of an area file (its second line) as the job's checks read it.
#include <optional>
#include <string>

namespace ostrand {

struct AreaFileCounts {
    long long nodes = 0;    // node lines to skip
    long long links = 0;    // link lines
    long long areas = 0;    // area lines
    long long ledgers = 0;  // area-ledger lines

    // The file's count: the lines the makers read.
    long long records() const { return links + areas + ledgers; }
};

// The counts the makers would use, or nothing when the line cannot be such a line: a count that is
// missing or not a number (its 8 columns, or what the line holds of them: blanks, an optional sign,
// digits, blanks), a negative count, or areas without a ledger, which the makers would read as areas to
// drop.
std::optional<AreaFileCounts> read_area_file_counts(const std::string& line);

}  // namespace ostrand
