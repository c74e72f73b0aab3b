#pragma once
// The selection of the nationwide jobs, read from the mesh tree (MeshTree.h) at the start of a job.
//
// The walk: the prefectures in tree order; the meshes of a bold prefecture in tree order; a prefecture
// that is not bold is stepped over (it has no ticked mesh). The ticked meshes the walk meets are the
// selection, and the selection is exact: a record is selected exactly when its code is a ticked one. The
// codes are sorted by value, and neighbours share one entry First..Last only when neither a secondary mesh
// code (row and column digits 0 to 7) nor another code of the tree lies between them, so an entry never
// takes in a mesh the user left unticked, listed in the tree or not (533907 and 533910 share one; 533945
// and 533950 do not, for 533946 and 533947 may stand in the data).
//
// Entries go into the conversion state as the converters read them: MeshRangeCount (-1 the root is
// ticked, 0 nothing, else the number of entries), MeshRanges, StartMeshWhere and RepMeshWhere (entry 0
// unused). Mesh codes are read as numbers: a code that is not one is run-time error 13.
#include <string>
#include <vector>

#include "app/TreeModel.h"

namespace velmora {

// The code of a mesh node: the six characters of its key after "IDX".
std::string meshNodeCode(const TreeModel::Node& node);

// The codes of the ticked meshes the walk meets, in walk order.
std::vector<std::string> walkTickedMeshCodes(const TreeModel& tree);

// One entry: the texts of its first and last code (equal for an entry of one code).
struct MeshCodeRun {
    std::string first, last;
};
// The exact entries of the walk's codes, ascending.
std::vector<MeshCodeRun> exactMeshRuns(const TreeModel& tree);

// The condition fragments of an entry on a column: "<column> = F" or "<column> >= F AND <column> <= L".
std::string meshCondition(const std::string& column, const MeshCodeRun& run);
inline constexpr const char* kStartMeshColumn = "起点メッシュコード";
inline constexpr const char* kRepMeshColumn = "代表点メッシュコード";

// The point job's selection: MeshRangeCount and MeshRanges.
void selectMeshRanges(const TreeModel& tree);
// The line job's selection: MeshRangeCount and StartMeshWhere.
void selectMeshLine(const TreeModel& tree);
// The area job's selection: the comma list of the walk's codes for the polygon library ("" when the root
// is ticked or nothing is), and, when an attached output is wanted, MeshRangeCount with StartMeshWhere
// and RepMeshWhere. Without attached outputs MeshRangeCount stays 0 and the fragment lists as they were.
void selectMeshPolygon(const TreeModel& tree, bool attachedOutputs, std::string& meshCodeList);

// Whether the root is ticked: the whole country, whatever is unticked below it.
bool rootTicked(const TreeModel& tree);

// The mesh job's codes: every ticked node whose key holds "IDX", its key without the first three
// characters, in tree order.
std::vector<std::string> tickedMeshKeys(const TreeModel& tree);

}  // namespace velmora
