#pragma once
// The main window's map capture: the shown view written as a Windows bitmap at twice the map's size, to a
// file the user names.
#include <string>

namespace velmora::map {
class MapView;
}

namespace velmora::viewer {

// lastExportPath: where the save dialog starts (the program folder when empty), and afterwards the name
// returned. Cancel ends silently; an empty name shows "No filename specified. Map was not exported.". A
// failure of the export itself reaches the caller (its own error box).
void ExportMapImage(map::MapView& map, int kind, std::string& lastExportPath, const std::string& programFolder);

}  // namespace velmora::viewer
