#pragma once
// The cell of a standard regional mesh code as a closed ring of corners in degrees (x longitude, y
// latitude): south-west, north-west, north-east, south-east and south-west again, so corner 0 is the
// minimum and corner 2 the maximum of the cell.
//
// CellRing is the whole rule and has no side effects; MeshMake and SaibunMeshMake apply it to the mesh
// layer of the job (MeshLevel and Subdivision of row SelectedIndex of MeshLayers) and report a refusal in
// their error box.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace ModMesh {

struct MeshRing {
    std::array<double, 5> x{};
    std::array<double, 5> y{};
};

// One cell of a subdivided mesh cell: the column counts from the west edge; the row counts from the
// north edge in the 4 × 4 and 5 × 5 divisions and from the south edge in the 10 × 10 division.
struct SubCell {
    std::int16_t column = 0;
    std::int16_t row = 0;
};

// The ring of a code's cell (no `cell`) or of one cell of its subdivision. The code's digit groups are
// read by position: 1-2 latitude and 3-4 longitude of the first-level mesh, 5 row and 6 column of the
// second-level cell, 7 row and 8 column of the third-level cell, 9 the quarter of a half mesh (1 south-west,
// 2 south-east, 3 north-west, 4 north-east); characters after those the level needs are ignored.
// Level 2, 3 or 4 with subdivision 0 gives whole cells; level 2 with 5 and level 3 with 4 or 10 give
// the cells of a subdivision. Refusals (velmora::RunTimeError):
//   13 a digit group the level needs is missing or holds anything but digits ("5 " included);
//    5 a level and subdivision without rings (whole cells of a subdivided layer and the reverse too),
//      a quarter digit other than 1 to 4;
//    6 a column or row whose index arithmetic leaves the 16-bit range.
// Columns and rows outside the subdivision are not refused: they give cells outside the parent cell.
MeshRing CellRing(std::string_view code, int level, int subdivision, std::optional<SubCell> cell = std::nullopt);

// The whole cell of a code in the job's mesh layer. False after the error box "Error: ModMesh (MeshMake)";
// the ring is then unchanged.
bool MeshMake(std::string_view code, MeshRing& ring);
// Cell (column, row) of the code's subdivided cell in the job's mesh layer. False after the error box
// "Error: ModMesh (SaibunMeshMake)"; the ring is then unchanged.
bool SaibunMeshMake(std::string_view code, std::int16_t column, std::int16_t row, MeshRing& ring);

}  // namespace ModMesh
