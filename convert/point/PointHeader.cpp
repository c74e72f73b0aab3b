#include "convert/point/PointHeader.h"

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "convert/line/LineRecords.h"
#include "convert/point/PointRecords.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
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
        skip = 0;
        ConversionState& s = conversionState();
        std::string line;
        if (!s.InFileNo.file().next(line)) throw RunTimeError(err::InputPastEndOfFile, "Input past end of file");
        if (ModLine::RecordKind(line) != "H") {
            ui::message("ファイルの形式が正しくありません。", "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Critical);
            return false;
        }
        if (!ModLine::HasHeaderKey(line, selectedPointLayer().HeaderKey)) {
            std::string kind;
            SelectPointFileKind(line, kind);
            modCommon::PutLogFileMsg(kForeignPointFile, kind);
            skip = 1;
            return true;
        }
        const ModLine::HeaderColumns h = ModLine::CutHeader(line);
        s.RecHedFields.Text = {std::string(h.text1), std::string(h.text2), std::string(h.text3),
                               std::string(h.text4), std::string(h.text5)};
        s.RecHedFields.Number = text::cInt(h.number);
        s.RecHedCount = text::cLng(h.records);
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (SetPointTextToTbl_Hed)");
        return false;
    }
}

void SelectPointFileKind(std::string_view headerLine, std::string& kindText) {
    try {
        for (const LayerDef& row : conversionState().PointLayers) {
            // A row the catalogue left empty has no key to be recognised by.
            if (!row.HeaderKey.empty() && ModLine::HasHeaderKey(headerLine, row.HeaderKey)) {
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

InputStart openPointInput(const std::string& path) {
    ReaderSlot& in = conversionState().InFileNo;
    in.open(path);
    std::int16_t skip = 0;
    if (!SetPointTextToTbl_Hed(skip)) {
        in.closeQuietly();
        return InputStart::Failed;
    }
    if (skip == 1) {
        in.close();
        return InputStart::Skipped;
    }
    return InputStart::Ready;
}

}  // namespace ModPoint
