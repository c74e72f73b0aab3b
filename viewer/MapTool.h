#pragma once
// What every mouse tool of the map offers: MapControl hands it the map, after which the tool alone (besides
// the tool controller's right-button pan) answers the map's mouse-down events and shows its pointer;
// ToolType names it. A tool stops listening when it is destroyed.
#include <QObject>
#include <QPointer>

#include "platform/map/MapView.h"

// The tool types; None leaves the map with the arrow pointer.
namespace maptool {
inline constexpr int None = 0, ZoomIn = 1, ZoomOut = 2, Pan = 3, Identify = 4;
}

namespace velmora::viewer {

class MapTool : public QObject {
public:
    // Throws RunTimeError 91 when no map is given.
    void MapControl(map::MapView* New_MapControl);
    virtual int ToolType() const = 0;

protected:
    // The pointer the map shows while this tool is current.
    virtual int pointerCode() const = 0;
    // button 1 left, 2 right; shift 1 Shift, 2 Ctrl, 4 Alt; x, y in pixels on the map.
    virtual void pMap_MouseDown(int button, int shift, int x, int y) = 0;

    QPointer<map::MapView> pMap;
};

}  // namespace velmora::viewer
