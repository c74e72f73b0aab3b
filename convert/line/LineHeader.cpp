#include "convert/line/LineHeader.h"

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "convert/line/LineInput.h"
#include "convert/line/LineRecords.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace ModLine {

using velmora::RunTimeError;
using velmora::conversionState;
namespace ui = velmora::ui;

std::string FileKindText(std::span<const velmora::LayerDef> rows, std::string_view headerLine) {
    for (const velmora::LayerDef& row : rows)
        if (KeyNamesFile(headerLine, row.HeaderKey)) return velmora::text::toCp932("ファイル種別：") + row.Name;
    return velmora::text::toCp932("ファイル種別：不明");
}

std::string SelectFileKind_Line(std::string_view headerLine) {
    try {
        return FileKindText(conversionState().LineLayers, headerLine);
    } catch (const RunTimeError& e) {
        ui::showRunTimeError(e, "Error: ModLine (ModLine SelectFileKind_Line)");
        return {};
    }
}

void ShowFileFormatMessage() { ui::message("ファイルの形式が正しくありません。", "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Critical); }

bool CheckHeaderLines(const HeaderCheck& check, std::int16_t& skip) {
    skip = 0;
    auto& s = conversionState();
    std::string line1;
    ReadFirstInputLine(line1);
    if (RecordKind(line1) != "H") {
        ShowFileFormatMessage();
        return false;
    }
    if (!HasHeaderKey(line1, check.selected.HeaderKey)) {
        velmora::modCommon::PutLogFileMsg(check.otherItemLogCode, check.fileKind(line1));
        s.OtherItemInputFiles.push_back(s.InFileNo.file().path());
        skip = 1;
        return true;
    }
    s.ItemInputFiles.push_back(s.InFileNo.file().path());
    const HeaderColumns h = CutHeader(line1);
    const std::int16_t number = velmora::text::cInt(h.number);
    s.HedFields.Text = {std::string(h.text1), std::string(h.text2), std::string(h.text3), std::string(h.text4),
                        std::string(h.text5)};
    s.HedFields.Number = number;

    std::string line2;
    ReadInputLine(line2);
    ReadCounts(line2, s.HedCounts, &s.HedCountsStated);
    return true;
}

bool CheckRecordHeaderLine(const std::function<const velmora::LayerDef&()>& selected, std::int16_t otherItemLogCode,
                           const std::function<std::string(std::string_view headerLine)>& fileKind,
                           std::int16_t& skip) {
    skip = 0;
    auto& s = conversionState();
    std::string line;
    ReadFirstInputLine(line);
    if (RecordKind(line) != "H") {
        ShowFileFormatMessage();
        return false;
    }
    if (!HasHeaderKey(line, selected().HeaderKey)) {
        velmora::modCommon::PutLogFileMsg(otherItemLogCode, fileKind(line));
        s.OtherItemInputFiles.push_back(s.InFileNo.file().path());
        skip = 1;
        return true;
    }
    s.ItemInputFiles.push_back(s.InFileNo.file().path());
    const HeaderColumns h = CutHeader(line);
    s.RecHedFields.Text = {std::string(h.text1), std::string(h.text2), std::string(h.text3), std::string(h.text4),
                           std::string(h.text5)};
    s.RecHedFields.Number = velmora::text::cInt(h.number);
    s.RecHedCount = velmora::text::cLng(h.records);
    return true;
}

InputStart OpenRecordInput(const std::string& path, bool (*headerCheck)(std::int16_t& skip)) {
    velmora::ReaderSlot& in = conversionState().InFileNo;
    in.open(path);
    std::int16_t skip = 0;
    if (!headerCheck(skip)) {
        in.closeQuietly();
        return InputStart::Failed;
    }
    if (skip == 1) {
        in.close();
        return InputStart::Skipped;
    }
    return InputStart::Ready;
}

bool SetLineTextToTbl_Hed(std::int16_t& skip) {
    skip = 0;
    try {
        auto& s = conversionState();
        return CheckHeaderLines({velmora::layerRow(s.LineLayers, s.SelectedIndex), 13, SelectFileKind_Line}, skip);
    } catch (const RunTimeError& e) {
        ui::showRunTimeError(e, "Error: ModLine (ModLine SetLineTextToTbl_Hed)");
        return false;
    }
}

}  // namespace ModLine
