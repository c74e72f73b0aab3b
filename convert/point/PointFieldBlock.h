#pragma once
// The field list of a point output's header block and the value lines of the keyed outputs, shared by the
// ordinary layers, the port layer's shapefile and tables and the split land-price outputs.
#include <string_view>
#include <vector>

namespace velmora {
struct LayerDef;
}
namespace velmora::text {
class LineWriter;
}

namespace ModPoint {

// The key field every port output ends with: the point id, type "N", width 6.
inline constexpr const char* kLinkKeyField = "LinkKey";

// "DBFITEM_COUNT" and one "DBFITEM_NAME" per written item of first .. last (items beyond ItemCount are
// not written); with linkKey the LinkKey field follows and is counted. False when SetTextToShpeidx
// refused an item type (its message was shown).
bool writeFieldBlock(velmora::text::LineWriter& h, const velmora::LayerDef& layer, int first, int last, bool linkKey);

// The value line of a keyed output: one field per written item of first .. last (as cut, PointRecords.h;
// a number too wide for its field empty and logged, PointNumberFit.h) and then the key; a range without
// written items gives the key alone. `values` is working space.
void writeKeyedValues(velmora::text::LineWriter& out, const velmora::LayerDef& layer, std::string_view line, int first,
                      int last, std::string_view key, std::vector<std::string_view>& values);

}  // namespace ModPoint
