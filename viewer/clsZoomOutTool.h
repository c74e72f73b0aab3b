#pragma once
// Zoom out: a click doubles the view about the clicked point; the whole view shrinks into a dragged
// rectangle (a rectangle a quarter as wide makes the view four times as wide, about its centre).
#include "viewer/RectangleZoomTool.h"

class clsZoomOutTool : public velmora::viewer::RectangleZoomTool {
public:
    int ToolType() const override { return maptool::ZoomOut; }

protected:
    int pointerCode() const override { return velmora::map::pointer::ZoomOut; }
    velmora::map::MapRect newExtent(const velmora::map::MapPoint& p, const velmora::map::MapRect& r) const override;
    std::string errorPlace() const override { return "Class-ZoomOutTool-pMap_MouseDown"; }
};
