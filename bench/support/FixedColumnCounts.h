#pragma once
// How many records of each kind generated fixed-column files hold, and how many vertices and link
// references their continuation lines carry: the row counts of the work database a job builds of them.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace velmora::bench {

struct FixedColumnCounts {
    std::map<std::string, std::int64_t> records;  // by record kind ("N", "L", "S", "A", "DS", ...)
    std::int64_t vertices = 0;                    // on the continuation lines of "L"
    std::int64_t references = 0;                  // on the continuation lines of "S" and "A"

    std::int64_t of(const std::string& kind) const {
        const auto it = records.find(kind);
        return it == records.end() ? 0 : it->second;
    }
};

FixedColumnCounts countFixedColumnRecords(const std::vector<std::string>& paths);

}  // namespace velmora::bench
