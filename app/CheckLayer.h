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

// Whether writing the dBASE table at `tablePath` would overwrite a table the main map shows: the table of
// one of its layers (the layer's .shp with .dbf) or one of its tables. False without a main window.
bool tableOnMap(const std::string& tablePath);

// The main window's map (frmMapMain::MainMap), or nullptr when there is no main window.
const MapLayerFiles* mainMap();

// The path made absolute and normal as checkLayer compares it.
std::string normalFilePath(const std::string& path);

}  // namespace velmora::modCommon
