#pragma once
// The catchment tree of the catchment selection dialog: the root "全国", one node per region and under each
// its catchments, read from the program folder's "DataSyusui.csv"; the cascade of a tick; the selection
// it gives the catchment export.
//
// DataSyusui.csv (CP932, no heading, fields split on "," without quoting):
//   1,<region>
//   2,<region>,<catchment code>,<catchment name>
// A catchment record is used only under the latest region record of the same region; records of other
// kinds are skipped.
#include <string>

#include "app/TreeModel.h"

namespace velmora {

inline constexpr const char* kCatchmentTreeFileName = "DataSyusui.csv";
inline constexpr const char* kCatchmentTreeRootKey = "t";
inline constexpr const char* kRegionKeyPrefix = "r";
inline constexpr const char* kCatchmentKeyPrefix = "IDX";

// Adds the file's tree to an empty model: root (key "t"), regions (key "r" + region, text region and
// three blanks), catchments (key "IDX" + code, text code, three blanks, name). A missing file (53), a
// first field that is not a number (13), a record too short for its kind (9) and a repeated key (35602)
// are run-time errors; the nodes added before stay.
void loadCatchmentTree(TreeModel& tree, const std::string& path);

// The cascade after the user ticked or unticked node n. Ticking a node with children marks it bold and
// ticks its children (marked bold too when n is the root) and grandchildren; ticking any node but the
// root marks its parent and the root bold. Unticking a node with children clears its bold and its
// children's ticks and bold and its grandchildren's ticks; the root loses its bold when no region stays
// ticked.
void catchmentTreeNodeCheck(TreeModel& tree, int n);

// The ticked catchments of the bold regions, in tree order: the first six characters of each code,
// joined by "," ("" when none).
std::string catchmentSelection(const TreeModel& tree);

}  // namespace velmora
