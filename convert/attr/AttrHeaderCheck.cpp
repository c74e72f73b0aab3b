#include "convert/attr/AttrHeaderCheck.h"

#include "convert/core/ConversionState.h"
#include "convert/line/LineHeader.h"
#include "platform/ui/UiService.h"

namespace ModAttr {

using namespace velmora;

namespace {
constexpr std::int16_t kForeignAttrFile = 14;
}

const LayerDef& selectedAttrLayer() {
    ConversionState& s = conversionState();
    return layerRow(s.AttrLayers, s.SelectedIndex);
}

bool SetAttrTextToTbl_Hed(std::int16_t& skip) {
    try {
        return ModLine::CheckRecordHeaderLine(
            selectedAttrLayer, kForeignAttrFile,
            [](std::string_view line) {
                std::string kind;
                SelectAttrFileKind(line, kind);
                return kind;
            },
            skip);
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModAttr (ModAttr SetAttrTextToTbl_Hed)");
        return false;
    }
}

InputStart openAttrInput(const std::string& path) { return ModLine::OpenRecordInput(path, SetAttrTextToTbl_Hed); }

void SelectAttrFileKind(std::string_view headerLine, std::string& kindText) {
    try {
        kindText = ModLine::FileKindText(conversionState().AttrLayers, headerLine);
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModAttr (ModAttr SelectAttrFileKind)");
        kindText.clear();
    }
}

}  // namespace ModAttr
