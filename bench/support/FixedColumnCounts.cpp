#include "bench/support/FixedColumnCounts.h"

#include <fstream>

namespace velmora::bench {

namespace {

std::string kindOf(const std::string& line) {
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos || first >= 3) return "";
    const std::size_t last = line.substr(0, 3).find_last_not_of(' ');
    return line.substr(first, last + 1 - first);
}

bool isRecord(const std::string& kind) {
    for (const char* k : {"H", "N", "L", "S", "A", "DS", "DL", "DP", "DA"})
        if (kind == k) return true;
    return false;
}

}  // namespace

// A continuation line holds up to five 16-column vertices (two 8-column numbers) or five 14-column
// references, so the line's width tells how many it carries.
FixedColumnCounts countFixedColumnRecords(const std::vector<std::string>& paths) {
    FixedColumnCounts c;
    for (const std::string& path : paths) {
        std::ifstream in(path, std::ios::binary);
        std::string owner;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::string kind = kindOf(line);
            if (isRecord(kind)) {
                ++c.records[kind];
                owner = kind;
            } else if (owner == "L") {
                c.vertices += static_cast<std::int64_t>(line.size()) / 16;
            } else if (owner == "S" || owner == "A") {
                c.references += static_cast<std::int64_t>(line.size()) / 14;
            }
        }
    }
    return c;
}

}  // namespace velmora::bench
