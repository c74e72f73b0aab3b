#pragma once
// The main window's side of MapWindowServices: its map, its theme tree and swatch surface.
#include "viewer/MapWindowServices.h"

class frmMapMain;

namespace velmora::viewer {

class MainWindowServices : public MapWindowServices {
public:
    explicit MainWindowServices(frmMapMain& window) : w_(window) {}

    map::MapView& map() override;
    std::string programFolder() const override;
    SelectedNode selectedNode() const override;
    std::string layerName(const std::string& base) override;
    void addThemeNode(const std::string& path, const std::string& text, bool layer) override;
    void renewLayerIcon(const std::string& layerName, int left, int top) override;

private:
    frmMapMain& w_;
};

}  // namespace velmora::viewer
