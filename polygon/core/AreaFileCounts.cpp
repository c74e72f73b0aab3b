#include "polygon/core/AreaFileCounts.h"

#include <algorithm>

namespace ostrand {

namespace {

// The 8-column count at pos (what is left of it at the end of the line).
std::optional<long long> count_at(const std::string& line, std::size_t pos) {
    const std::size_t end = std::min(line.size(), pos + 8);
    std::size_t i = pos;
    while (i < end && line[i] == ' ') ++i;
    const bool negative = i < end && line[i] == '-';
    if (i < end && (line[i] == '-' || line[i] == '+')) ++i;
    const std::size_t digits = i;
    long long v = 0;
    for (; i < end && line[i] >= '0' && line[i] <= '9'; ++i) v = v * 10 + (line[i] - '0');
    if (i == digits) return std::nullopt;
    while (i < end && line[i] == ' ') ++i;
    if (i != end) return std::nullopt;
    return negative ? -v : v;
}

}  // namespace

std::optional<AreaFileCounts> read_area_file_counts(const std::string& line) {
    const auto nodes = count_at(line, 8), links = count_at(line, 16), areas = count_at(line, 24),
               ledgers = count_at(line, 48);
    if (!nodes || !links || !areas || !ledgers) return std::nullopt;
    const AreaFileCounts c{*nodes, *links, *areas, *ledgers};
    if (c.nodes < 0 || c.links < 0 || c.areas < 0 || c.ledgers < 0) return std::nullopt;
    if (c.areas > 0 && c.ledgers == 0) return std::nullopt;
    return c;
}

}  // namespace ostrand
