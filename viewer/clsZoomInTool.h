#pragma once
// Zoom in: a click halves the view about the clicked point; a dragged rectangle becomes the view.
#include "viewer/RectangleZoomTool.h"

class clsZoomInTool : public velmora::viewer::RectangleZoomTool {
public:
    int ToolType() const override { return maptool::ZoomIn; }

protected:
    int pointerCode() const override { return velmora::map::pointer::ZoomIn; }
    velmora::map::MapRect newExtent(const velmora::map::MapPoint& p, const velmora::map::MapRect& r) const override;
    std::string errorPlace() const override { return "Class-ZoomInTool-pMap_MouseDown"; }
};
