#pragma once
// The port layer: more fields than one dBASE table takes, so its conversion writes the point shapefile
// with the basic items (1 to 125) and nine tables without shapes with the yearly items (52 each, _S53 to
// _S61), every row ending with the point id as LinkKey so that tables and points join.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "convert/core/ConversionState.h"

namespace ModPoint {

// The port layer's row of the point layer table.
inline constexpr int kPortRow = 1;
inline constexpr int kPortTables = 9;
inline constexpr int kPortBasicItems = 125;
inline constexpr int kPortTableItems = 52;
// Table k is named by the base, "_S" and 53 + k.
inline constexpr int kFirstPortTableNumber = 53;

// The extra header files "MakeShapeFile.fil_0" .. "_8" of the nine tables while a port job runs.
std::array<velmora::WriterSlot, kPortTables>& KouwanFileNo();

// The whole port job inside the pair and log the caller opened: the ten header blocks, the points of the
// file (the whole file, or with MeshRangeCount other than -1 the selected mesh codes), ten runs of
// Brunhale, the log's end line, the log closed. made is true only with a true result. On failure the
// outputs already made and the intermediate files stay; the open files are closed.
bool MakePoint_Kouwan(const std::string& path, bool& made);

// The header blocks of the shapefile (FilHFileNo) and of the nine tables (KouwanFileNo).
bool MakeShapePointFileData_ini_Kouwan();

// One point record's value lines: the written items 1 .. 125 and the id into the shapefile's header file,
// each table's written items and the id into its own header file.
bool MakeShapeDbfData_Kouwan(std::string_view line, std::int32_t id);

}  // namespace ModPoint
