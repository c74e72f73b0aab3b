#pragma once
// What the property dialog and the add-theme dialog need of the main window, apart from its map: the
// selected theme node, the layer names and tree nodes of added themes, and a layer's tree icon drawn
// afresh. The main window provides it over its theme tree; tests provide it over a bare map.
#include <string>

#include "viewer/SelectedNode.h"

namespace velmora::map {
class MapView;
}

namespace velmora::viewer {


class MapWindowServices {
public:
    virtual ~MapWindowServices() = default;

    virtual map::MapView& map() = 0;
    // The folder the add-theme dialog opens in first (the program folder).
    virtual std::string programFolder() const = 0;
    virtual SelectedNode selectedNode() const = 0;
    // A name no layer of the map has yet, made from the base (modCommon::getLayerName).
    virtual std::string layerName(const std::string& base) = 0;
    // A node for a layer (the map layer named `text`) or a table, first under its root (modCommon::ThemeLst_Set).
    virtual void addThemeNode(const std::string& path, const std::string& text, bool layer) = 0;
    // The layer's swatch drawn afresh at (left, top) twips and given to every node named after it, the
    // tree's check marks kept.
    virtual void renewLayerIcon(const std::string& layerName, int left, int top) = 0;
};

}  // namespace velmora::viewer
