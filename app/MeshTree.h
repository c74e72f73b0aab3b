#pragma once
// The mesh tree of the nationwide job dialog: the root "全国", one node per prefecture and under each its
// secondary meshes, read from the program folder's "DataView.csv", and the cascade of a tick.
//
// DataView.csv (CP932, no heading, fields split on "," without quoting):
//   1,<prefecture code>,<prefecture name>
//   2,<prefecture code>,<mesh code>,<mesh name>
// A mesh record is used only under the latest prefecture record of the same code; records of other kinds
// are skipped.
#include <string>

#include "app/TreeModel.h"

namespace velmora {

inline constexpr const char* kMeshTreeFileName = "DataView.csv";
inline constexpr const char* kMeshTreeRootKey = "t";
inline constexpr const char* kPrefectureKeyPrefix = "r";
inline constexpr const char* kMeshKeyPrefix = "IDX";

// Adds the file's tree to an empty model. A missing file (53), a first field that is not a number (13), a
// record too short for its kind (9) and a repeated key (35602) are run-time errors; the nodes added
// before stay (none for a missing file: it is opened before the root is added).
void loadMeshTree(TreeModel& tree, const std::string& path);

// The cascade after the user ticked or unticked node n: ticking marks n bold and ticks its children (bold)
// and grandchildren, and marks its parent and the root bold; unticking clears n's bold and its children's
// and grandchildren's ticks and bold, and the root's bold when no prefecture stays ticked. A parent's tick
// never follows its children's.
void meshTreeNodeCheck(TreeModel& tree, int n);

}  // namespace velmora
