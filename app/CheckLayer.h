#pragma once
// Whether a file is already a layer of a map. Both paths are made absolute and normal (".", "..",
// repeated "/", symbolic links) before they are compared, so another spelling of a file on the map is
// still found; letter case counts.
#include <string>

class MapLayerFiles;

namespace velmora::modCommon {

// True when the path is not empty and some layer of the map (first to last) has that file. False for an
// empty path, no map, or no match. A run-time error shows its box "Error: modMbCommon (checkLayer)" and
// gives false.
bool checkLayer(const MapLayerFiles* map, const std::string& path);

// The main window's map as the checks read it (frmMapMain::LayerFiles), or nullptr without a main window.
const MapLayerFiles* mainMap();

// The path made absolute and normal as checkLayer compares it.
std::string normalFilePath(const std::string& path);

}  // namespace velmora::modCommon
