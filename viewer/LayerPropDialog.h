#pragma once
// The main window's opening of the layer property dialog for the selected theme node, and what its OK
// changes: the layer's symbol, its tree icon and the map.
namespace velmora::viewer {

class MapWindowServices;

// symbolOnly: opened by a double-click (the symbol tab only). Nothing for no node or a root; a table
// node shows its source and fields and changes nothing. Failures: "Error: frmMapMain (ShowLayerPropDialog)".
void ShowLayerPropDialog(MapWindowServices& window, bool symbolOnly);

}  // namespace velmora::viewer
