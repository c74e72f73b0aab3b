#pragma once
// The line database a line job builds from its input files, as table sizes for the SQLite floor: the
// tables of the data item's row with their column counts and single-column indexes, and as many rows as
// the files hold records (a row per vertex, per link reference of a line).
#include <string>
#include <vector>

#include "bench/support/WorkDbFloor.h"

namespace velmora::bench {

// `row`: 25 the road item, 26 the railway item, any other an ordinary line item with `ledgerItems` items.
std::vector<FloorTable> lineDbFloorTables(const std::vector<std::string>& inputs, int row, int ledgerItems);

}  // namespace velmora::bench
