#include "convert/point/PointNumberFit.h"

#include "convert/attr/AttrNumberFit.h"
#include "convert/attr/AttrRecords.h"
#include "convert/core/ConversionState.h"

namespace ModPoint {

namespace {

ModAttr::NumberFit& outputNumberFit() {
    static ModAttr::NumberFit fit;
    return fit;
}

}  // namespace

void startNumberFit() { outputNumberFit() = ModAttr::NumberFit{}; }

bool overflowingNumber(const velmora::LayerDef& layer, int k, std::string_view value) {
    const auto i = static_cast<std::size_t>(k);
    return !ModAttr::isTextItem(layer.ItemType.at(i)) && ModAttr::NumberFit::overflows(value, layer.ItemWidth.at(i));
}

void logOverflow(const velmora::LayerDef& layer, int k, std::string_view value, const std::string& record) {
    outputNumberFit().leaveOut(k, layer.ItemName.at(static_cast<std::size_t>(k)), value, record);
}

std::string inputRecord() {
    const velmora::text::LineReader& in = velmora::conversionState().InFileNo.file();
    return ModAttr::recordInFile(in.path(), in.lineNumber());
}

}  // namespace ModPoint
