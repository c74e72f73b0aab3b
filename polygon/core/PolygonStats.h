#pragma once
#include <cstdint>

namespace ostrand {

// The counts of one polygon job, filled at the end of KsPolygonMaker::build.
struct PolygonStats {
    std::int32_t total = 0;          // attribute numbers that had areas to build
    std::int32_t made = 0;           // polygons kept, complete and incomplete
    std::int32_t incomplete = 0;     // kept polygons that are possibly incomplete
    std::int32_t dropped = 0;        // attribute numbers whose data were not saved
    std::int32_t rural_records = 0;  // data items 3 and 4: ledger records, else 0
};

}  // namespace ostrand
