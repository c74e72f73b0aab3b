#include "convert/point/PointRecords.h"

#include "convert/attr/AttrRecords.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/LayerDef.h"
#include "convert/line/LineRecords.h"
#include "platform/text/Conversions.h"

namespace ModPoint {

using namespace velmora;

bool isPointRecord(std::string_view line) { return ModLine::RecordKind(line) == "P"; }

PointColumns cutPoint(std::string_view line) {
    return {ModLine::CharColumns(line, 4, 6), ModLine::CharColumns(line, 10, 8), ModLine::CharColumns(line, 18, 8)};
}

std::int16_t unusableCoordinates(std::string_view x, std::string_view y) {
    x = text::trimBlanks(x);
    y = text::trimBlanks(y);
    if (x.empty() || y.empty()) return kBlankCoordinates;
    if (x == "9999999" || y == "9999999") return kInvalidCoordinates;
    return 0;
}

void appendItemValues(const LayerDef& layer, std::string_view line, int first, int last, ValueCut cut,
                      std::vector<std::string_view>& values) {
    if (last > layer.ItemCount) last = layer.ItemCount;
    for (int i = first; i <= last; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!layer.ItemOutput.at(k)) continue;
        std::string_view value = modCommon::MidByteSjis(line, layer.ItemStart.at(k), layer.ItemWidth.at(k));
        if (ModAttr::isTextItem(layer.ItemType.at(k))) {
            if (cut == ValueCut::Trimmed) value = text::trimBlanks(value);
        } else if (!text::isNumeric(value)) {
            value = {};
        }
        values.push_back(value);
    }
}

void trimJoinedEnds(std::vector<std::string_view>& values) {
    if (values.empty()) return;
    std::string_view& front = values.front();
    while (!front.empty() && front.front() == ' ') front.remove_prefix(1);
    std::string_view& back = values.back();
    while (!back.empty() && back.back() == ' ') back.remove_suffix(1);
}

}  // namespace ModPoint
