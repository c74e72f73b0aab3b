#pragma once
// The main window's add-theme dialog "テーマの追加": shapefiles become map layers, every other chosen file
// a table node; and the 5 % margin it puts around the map's full extent.
#include <string>

namespace velmora::map {
class MapView;
}

namespace velmora::viewer {

class MapWindowServices;

// A layer exactly when the file name ends in ".shp" in any letter case after at least one character.
bool isLayerFile(const std::string& path);

// addThemeFilter 2 offers the tables first. lastThemePath: where the dialog opens (its folder), and
// afterwards the last path taken. Cancel ends silently; a failure after the dialog shows
// "Error: frmMapMain (AddLayer_DialogShow)" and keeps what was added before it.
void AddLayer_DialogShow(MapWindowServices& window, int addThemeFilter, std::string& lastThemePath);

// The full extent widened on all four sides by 5 % of its width. Nothing for an empty full extent.
void SetFullExtentMargin(map::MapView& map);

}  // namespace velmora::viewer
