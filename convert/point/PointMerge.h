#pragma once
// Several fixed-column files of one ordinary point item merged into one point output through the point
// work database: one point per distinct record.
#include <string>
#include <vector>

namespace ModPoint {

// Loads every listed file (blank entries passed over) and writes one point per distinct row over the
// coordinates and all items, written or not, in the order the rows were first loaded; texts compare byte
// for byte. A file of another data item is logged and skipped. Ids are 32-bit, from 1. The caller wrote
// the header block and opened the pair, the log and the progress display. False after a message, and
// without one when no row was loaded; the database file is deleted once the merge has read it.
bool MakePoint_Multi(const std::vector<std::string>& files);

}  // namespace ModPoint
