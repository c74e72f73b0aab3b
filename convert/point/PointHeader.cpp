#include "convert/point/PointHeader.h"

#include "convert/core/ConversionState.h"
#include "convert/line/LineHeader.h"
#include "convert/line/LineRecords.h"
#include "convert/point/PointRecords.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace ModPoint {

using namespace velmora;

const LayerDef& selectedPointLayer() {
    ConversionState& s = conversionState();
    return layerRow(s.PointLayers, s.SelectedIndex);
}

bool SetPointTextToTbl_Hed(std::int16_t& skip) {
    try {
        return ModLine::CheckRecordHeaderLine(
            selectedPointLayer, kForeignPointFile,
            [](std::string_view line) {
                std::string kind;
                SelectPointFileKind(line, kind);
                return kind;
            },
            skip);
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (SetPointTextToTbl_Hed)");
        return false;
    }
}

void SelectPointFileKind(std::string_view headerLine, std::string& kindText) {
    try {
        for (const LayerDef& row : conversionState().PointLayers) {
            if (ModLine::KeyNamesFile(headerLine, row.HeaderKey)) {
                kindText = text::toCp932("ファイル種別：") + row.Name;
                return;
            }
        }
        kindText = text::toCp932("ファイル種別：不明");
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint SelectPointFileKind)");
        kindText.clear();
    }
}

InputStart openPointInput(const std::string& path) { return ModLine::OpenRecordInput(path, SetPointTextToTbl_Hed); }

}  // namespace ModPoint
