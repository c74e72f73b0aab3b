#pragma once
// Names of map layers: unique within the map, compared exactly (letter case counts).
#include <string>

namespace velmora::map {
class MapView;
}

namespace velmora::modCommon {

// The name for a new layer made from `base`: base itself when no layer name contains it, else base with
// one more than the largest number that follows base's length in such a name ("roads", "roads7" ->
// "roads8"; "roads2.5" -> "roads3"). A number beyond the 16-bit range shows the box
// "Error: modMbCommon (getLayerName)" and gives base, or the first of base1, base2, ... that no layer has
// when base is taken. An empty base gives "".
std::string getLayerName(const map::MapView* map, const std::string& base);

}  // namespace velmora::modCommon
