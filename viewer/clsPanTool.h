#pragma once
// Pan: the map follows a left drag without modifiers.
#include "viewer/MapTool.h"

class clsPanTool : public velmora::viewer::MapTool {
public:
    int ToolType() const override { return maptool::Pan; }

protected:
    int pointerCode() const override { return velmora::map::pointer::Pan; }
    void pMap_MouseDown(int button, int shift, int x, int y) override;
};
