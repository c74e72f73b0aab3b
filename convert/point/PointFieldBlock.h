#pragma once
// The field list of a point output's header block, shared by the ordinary layers and the port layer's
// shapefile and tables.
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

}  // namespace ModPoint
