#pragma once
// The pan of the pan tool and of the right button: the panning pointer while the map follows the mouse,
// the pointer from before once the button is up.
namespace velmora::map {
class MapView;
}

namespace velmora::modCommon {

// Starts the pan from a mouse-down handler of `button` (1 left, 2 right). A failure shows the error box
// "Error: modMbCommon (MapPan)".
void MapPan(map::MapView* map, int button);

}  // namespace velmora::modCommon
