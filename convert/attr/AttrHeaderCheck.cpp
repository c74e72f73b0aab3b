#include "convert/attr/AttrHeaderCheck.h"

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "convert/line/LineRecords.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
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
        skip = 0;
        ConversionState& s = conversionState();
        std::string line;
        if (!s.InFileNo.file().next(line)) throw RunTimeError(err::InputPastEndOfFile, "Input past end of file");
        if (ModLine::RecordKind(line) != "H") {
            ui::message("ファイルの形式が正しくありません。", "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Critical);
            return false;
        }
        const LayerDef& layer = selectedAttrLayer();
        if (!ModLine::HasHeaderKey(line, layer.HeaderKey)) {
            std::string kind;
            SelectAttrFileKind(line, kind);
            modCommon::PutLogFileMsg(kForeignAttrFile, kind);
            skip = 1;
            return true;
        }
        ModLine::HeaderColumns h = ModLine::CutHeader(line);
        s.RecHedFields.Text = {std::string(h.text1), std::string(h.text2), std::string(h.text3),
                               std::string(h.text4), std::string(h.text5)};
        s.RecHedFields.Number = text::cInt(h.number);
        s.RecHedCount = text::cLng(h.records);
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModAttr (ModAttr SetAttrTextToTbl_Hed)");
        return false;
    }
}

InputStart openAttrInput(const std::string& path) {
    ReaderSlot& in = conversionState().InFileNo;
    in.open(path);
    std::int16_t skip = 0;
    if (!SetAttrTextToTbl_Hed(skip)) {
        in.closeQuietly();
        return InputStart::Failed;
    }
    if (skip == 1) {
        in.close();
        return InputStart::Skipped;
    }
    return InputStart::Ready;
}

void SelectAttrFileKind(std::string_view headerLine, std::string& kindText) {
    try {
        for (const LayerDef& row : conversionState().AttrLayers) {
            if (ModLine::HasHeaderKey(headerLine, row.HeaderKey)) {
                kindText = text::toCp932("ファイル種別：") + row.Name;
                return;
            }
        }
        kindText = text::toCp932("ファイル種別：不明");
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModAttr (ModAttr SelectAttrFileKind)");
        kindText.clear();
    }
}

}  // namespace ModAttr
