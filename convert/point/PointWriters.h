#pragma once
// The writers of fixed-column point files into the open intermediate shape description (FilHFileNo,
// FilDFileNo): the header block of an ordinary point layer, the whole-file writer and the writer of the
// records whose mesh code the nationwide job selected. Points of the port layer go through the port value
// writer (PortLayer.h) instead of one value line.
#include <string>
#include <string_view>

namespace ModPoint {

// The header block of the selected point layer: base name, kind 1 and the datum code, one field per
// written item. False after a refused item type (its message) or a run-time error box.
bool MakeShapePointFileData_ini();

// Every usable point record of one file. Ids count every point record from 1, so a record that is logged
// (blank or "9999999" coordinates) leaves a gap. True also for a file of another data item (logged,
// nothing written); false after a message.
bool MakeShapePointFileData(const std::string& path);

// The records whose mesh code lies in MeshRanges; ids count the written points from 1. written tells
// whether any point was written.
bool MakeShapePointFileData_ALL(const std::string& path, bool& written);

// The loop every fixed-column writer runs over a file's point records, by writer: every record (ids count
// the records), the records of the selected mesh codes, or the split land-price records (both count the
// written points; the land-price writer logs the line's position after the header). written, when given,
// tells whether any point was written.
enum class RecordWriter { WholeFile, MeshFiltered, LandPriceSplit };
bool writePointFile(RecordWriter kind, const std::string& path, const char* procedure, bool* written = nullptr);

// Whether a mesh code lies in one of MeshRanges(1 .. MeshRangeCount), ends included. A blank code lies in
// none; a code that is no number shows the run-time error box and lies in none.
bool ChkSelectMeshCode(std::string_view meshCode);

}  // namespace ModPoint
