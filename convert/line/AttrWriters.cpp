#include "convert/line/AttrWriters.h"

#include <cstdint>

#include "app/ConversionRoutines.h"
#include "app/ConversionState.h"
#include "convert/line/AttrHeaderCheck.h"
#include "convert/line/AttrRecords.h"
#include "convert/line/ConversionProgress.h"
#include "convert/line/LineRecords.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace ModAttr {

using namespace velmora;

namespace {

// The output path up to the first ".dbf" in any letter case (the whole path when it holds none), in the
// description's encoding.
std::string outputBase(const std::string& outputPath) {
    std::string lower = outputPath;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text::toCp932(outputPath.substr(0, lower.find(".dbf")));
}

const LayerDef& selectedLayer() {
    ConversionState& s = conversionState();
    return layerRow(s.AttrLayers, s.SelectedIndex);
}

// Writes the header block; false when SetTextToShpeidx refused an item type (its message was shown).
bool writeHeaderBlock() {
    ConversionState& s = conversionState();
    const LayerDef& layer = selectedLayer();
    text::LineWriter& h = s.FilHFileNo.file();
    h.writeLine("MAKEFILE_NAME," + outputBase(s.OutputPath));
    h.writeLine("SHAPE_TYPE,6," + std::to_string(s.DatumCode));
    int flagged = 0;
    for (int i = 1; i <= layer.ItemCount; ++i) flagged += layer.ItemOutput.at(i) ? 1 : 0;
    h.writeLine("DBFITEM_COUNT," + std::to_string(flagged));
    for (int i = 1; i <= layer.ItemCount; ++i) {
        if (!layer.ItemOutput.at(i)) continue;
        std::string letter;
        if (!ModPolygon::SetTextToShpeidx(layer.ItemType.at(i), letter)) return false;
        h.writeLine("DBFITEM_NAME," + layer.ItemName.at(i) + "," + letter + "," +
                    std::to_string(layer.ItemWidth.at(i)) + ",0");
    }
    return true;
}

// The progress display of a writer: n + n × 0.1 steps under the caption, shown between two yields.
void showWriterProgress(double count) {
    progress::setMaximum(count * 1.1);
    progress::setCaption("表データ変換中・・・");
    ui::service().yield();
    progress::setVisible(true);
    ui::service().yield();
}

}  // namespace

bool MakeShapeAttrFileData_ini() {
    try {
        return writeHeaderBlock();
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModAttr (ModAttr MakeShapeAttrFileData_ini)");
        return false;
    }
}

bool MakeAttrFileData(const std::string& path) {
    ConversionState& s = conversionState();
    try {
        text::LineReader& in = s.InFileNo.open(path);
        std::int16_t skip = 0;
        if (!SetAttrTextToTbl_Hed(skip)) {
            s.InFileNo.closeQuietly();
            return false;
        }
        if (skip == 1) {
            s.InFileNo.close();
            return true;
        }
        showWriterProgress(s.RecHedCount);

        const LayerDef& layer = selectedLayer();
        text::LineWriter& h = s.FilHFileNo.file();
        text::LineWriter& d = s.FilDFileNo.file();
        std::string line, out;
        std::int64_t row = 1;
        while (in.next(line)) {
            if (ModLine::RecordKind(line) == "T") {
                d.writeLine("LINKIDX," + std::to_string(row));
                out.assign("DBFITEM,");
                for (int i = 1; i <= layer.ItemCount; ++i) {
                    if (!layer.ItemOutput.at(i)) continue;
                    std::string_view cut =
                        velmora::modCommon::MidByteSjis(line, layer.ItemStart.at(i), layer.ItemWidth.at(i));
                    if (isTextItem(layer.ItemType.at(i)) || text::isNumeric(cut)) out.append(cut);
                    out.push_back(',');
                }
                // The row number follows the declared fields as one value more.
                out.append(std::to_string(row));
                h.writeLine(out);
                ++row;
            }
            progress::step();
        }
        s.InFileNo.close();
        return true;
    } catch (const std::exception& e) {
        s.InFileNo.closeQuietly();
        ui::showError(e, "Error: ModAttr (ModAttr MakeAttrFileData)");
        return false;
    }
}

}  // namespace ModAttr
