#pragma once
// The four-way seasonal mesh layer: every second-level record carries a season digit (1 spring, 2 summer,
// 3 autumn, 4 winter) at character 12, and the job writes four polygon shapefiles, the output's base
// followed by the digit of each season.
#include <string>
#include <vector>

namespace ModMesh {

inline constexpr const char* kFourWayLayerName = "波向・海霧・自然漁場２次メッシュ";

// Converts the files in list order into four shapefiles. A record is kept when its code (from character 6)
// matches one of chosenCodes as far as that code's characters reach, the code's blanks trimmed; all when it
// is empty. One shape number runs through all four outputs. Records of any other season digit are passed
// over. True only when Brunhale wrote all four outputs; a failed run still lets the other seasons be
// written, and the result is false.
bool TokusyuMakeShape(const std::vector<std::string>& files, const std::string& outputPath,
                      const std::vector<std::string>& chosenCodes);

}  // namespace ModMesh
