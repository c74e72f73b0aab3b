#pragma once
// The two zoom tools share their mouse handling: the left button (any modifiers) drags a rectangle with the
// map's tracking; at the release the tool computes the new extent from the point pressed and the rectangle.
// A failure shows the tool's box (its description, a line break and the tool's place) and leaves the extent.
#include <string>

#include "viewer/MapTool.h"

namespace velmora::viewer {

class RectangleZoomTool : public MapTool {
protected:
    void pMap_MouseDown(int button, int shift, int x, int y) override;
    // r narrower than this many map units is a click at p, not a drag.
    static constexpr double ClickWidth = 0.00001;
    virtual map::MapRect newExtent(const map::MapPoint& p, const map::MapRect& r) const = 0;
    // "Class-ZoomInTool-pMap_MouseDown", ...
    virtual std::string errorPlace() const = 0;

private:
    void finish(const map::MapPoint& p, const map::MapRect& r);
    void showFailure(const std::exception& e) const;
};

}  // namespace velmora::viewer
