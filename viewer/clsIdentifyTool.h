#pragma once
// Identify: a left click without modifiers searches the layer selected in the theme tree at the clicked
// point, flashes what it found when that is five features or fewer, and shows the result in the identify
// window.
#include "viewer/MapTool.h"
#include "viewer/ThemeSelection.h"

class clsIdentifyTool : public velmora::viewer::MapTool {
public:
    // mainWindow: the theme tree's selection and the main window's corner; it outlives the tool.
    explicit clsIdentifyTool(const velmora::viewer::ThemeSelection& mainWindow) : mainWindow_(mainWindow) {}
    int ToolType() const override { return maptool::Identify; }

    // Features found up to this count are flashed once each.
    static constexpr int MaxFlashed = 5;

protected:
    int pointerCode() const override { return velmora::map::pointer::Cross; }
    void pMap_MouseDown(int button, int shift, int x, int y) override;

private:
    const velmora::viewer::ThemeSelection& mainWindow_;
};
