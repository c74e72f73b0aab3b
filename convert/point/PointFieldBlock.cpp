#include "convert/point/PointFieldBlock.h"

#include <span>
#include <string>

#include "convert/core/ConversionRoutines.h"
#include "convert/core/LayerDef.h"
#include "convert/point/PointNumberFit.h"
#include "convert/point/PointRecords.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"

namespace ModPoint {

using namespace velmora;

bool writeFieldBlock(text::LineWriter& h, const LayerDef& layer, int first, int last, bool linkKey) {
    if (last > layer.ItemCount) last = layer.ItemCount;
    long count = linkKey ? 1 : 0;
    for (int i = first; i <= last; ++i) count += layer.ItemOutput.at(static_cast<std::size_t>(i)) ? 1 : 0;
    shapedesc::writeFieldCount(h, count);
    for (int i = first; i <= last; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!layer.ItemOutput.at(k)) continue;
        std::string letter;
        if (!ModPolygon::SetTextToShpeidx(layer.ItemType.at(k), letter)) return false;
        shapedesc::writeFieldName(h, layer.ItemName.at(k), letter, layer.ItemWidth.at(k));
    }
    if (linkKey) shapedesc::writeFieldName(h, kLinkKeyField, "N", 6);
    return true;
}

void writeKeyedValues(text::LineWriter& out, const LayerDef& layer, std::string_view line, int first, int last,
                      std::string_view key, std::vector<std::string_view>& values) {
    values.clear();
    appendItemValues(layer, line, first, last, ValueCut::AsCut, values);
    fitNumbers(layer, first, last, values, inputRecord);
    values.push_back(key);
    shapedesc::writeDbfItem(out, std::span<const std::string_view>(values));
}

}  // namespace ModPoint
