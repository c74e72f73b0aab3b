#pragma once
// The checks of a job's output location, made before anything is written: the output folder exists and
// the user may write in it, no shapefile the job writes is a layer of the main map, and an existing one is
// overwritten only when the user agrees. Paths are UTF-8 with "/" as separator; the files checked are
// those the job writes (OutputPath.h: the base and each suffix).
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::modCommon {

// 0 go on, -1 stop the job. Reads SelectedKind, SelectedIndex and MeshLayers. The two options are the
// job dialog's attached-output boxes (representative points, boundary lines; 1 = ticked), used by the
// area kind only.
std::int16_t ChkOutPutFilePath(const std::string& outputPath, std::int16_t pointOption,
                               std::int16_t lineOption);

// One file: refused when it is a layer of the map, asked about when it exists. 0 go on, -1 stop.
std::int16_t ChkNomalOutPutFilePath(const std::string& path);

// One file of a list check: an existing file goes into existing, and also into onMap when it is a layer
// of the map. 0, or -1 after a run-time error (its box shown).
std::int16_t ChkColOutPutFilePath(const std::string& path, std::vector<std::string>& existing,
                                  std::vector<std::string>& onMap);

// True when the file name of the path (after the last "/", up to its last ".") reads as a number, and
// after a run-time error (its box shown).
bool FilePathCheck(const std::string& path);

}  // namespace velmora::modCommon
