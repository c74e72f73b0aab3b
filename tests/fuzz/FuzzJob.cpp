#include "tests/fuzz/FuzzJob.h"

#include <filesystem>
#include <string>

#include "convert/core/ConversionLog.h"
#include "platform/text/Cp932.h"
#include "platform/ui/ScriptedUi.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/tools/gen/AreaFileGen.h"
#include "tests/tools/gen/LineFileGen.h"
#include "tests/tools/gen/PointFileGen.h"

namespace fuzz {

namespace {

using namespace velmora;

// The attribute-table row the seeds are written for: text, number and unused items at byte columns.
struct AttrItem {
    const char* name;
    const char* type;
    int start, width;
};
constexpr AttrItem kAttrItems[] = {
    {"コード", "Text", 4, 5}, {"名称", "Text1", 9, 20}, {"人数", "Long", 29, 8},
    {"区分", "Integer", 37, 2}, {"評価", "Double", 39, 3},
};

void fillAttrRow(LayerDef& l, const std::string& name, const std::string& key) {
    l = LayerDef{};
    l.Name = text::toCp932(name);
    l.HeaderKey = text::toCp932(key);
    l.ItemCount = static_cast<std::int16_t>(std::size(kAttrItems));
    for (std::size_t i = 0; i < std::size(kAttrItems); ++i) {
        l.ItemName[i + 1] = text::toCp932(kAttrItems[i].name);
        l.ItemType[i + 1] = kAttrItems[i].type;
        l.ItemStart[i + 1] = static_cast<std::int16_t>(kAttrItems[i].start);
        l.ItemWidth[i + 1] = static_cast<std::int16_t>(kAttrItems[i].width);
        l.ItemOutput[i + 1] = true;
    }
    l.ItemName[46] = text::toCp932("表題");
}

// The point rows the seeds are written for: 1 the port layer, 8 land prices (the fixed-column layout of
// 2001), 12 an ordinary layer. Made once: the port and land-price rows convert hundreds of names.
const PointLayerTable& pointRows() {
    static const PointLayerTable rows = [] {
        PointLayerTable t{};
        gen::fillPointLayerRow(t[1], gen::portLayer());
        gen::fillPointLayerRow(t[8], gen::landPriceLayer());
        gen::fillPointLayerRow(t[12], gen::standardPointLayer());
        return t;
    }();
    return rows;
}

}  // namespace

void startJob(DataKind kind, int selectedRow) {
    static ui::ScriptedUi scripted;
    static const bool installed = (scripted.install(), true);
    (void)installed;
    scripted.clearRecords();

    ConversionState& s = conversionState();
    s.InFileNo.closeQuietly();
    for (WriterSlot* w : {&s.LogFileNo, &s.FilHFileNo, &s.FilDFileNo, &s.FilZFileNo, &s.FilZ2FileNo}) w->closeQuietly();
    resetConversionState();
    setProgramFolder(scratchFolder());
    for (int row = 0; row < 28; ++row)
        gen::fillLineLayerRow(s.LineLayers[static_cast<std::size_t>(row)], "行" + std::to_string(row),
                              "KEY" + std::to_string(row) + "X", {});
    gen::fillLineLayerRow(s.LineLayers[3], "海岸線", "N03-L", gen::ordinaryLedgerItems());
    gen::fillLineLayerRow(s.LineLayers[25], "道路", "N01-RD", gen::roadLedgerItems());
    gen::fillLineLayerRow(s.LineLayers[26], "鉄道", "N02-RW", gen::ordinaryLedgerItems());
    for (int row = 0; row < 14; ++row)
        fillAttrRow(s.AttrLayers[static_cast<std::size_t>(row)], "表" + std::to_string(row),
                    row == 3 ? "W07" : "R" + std::to_string(row) + "X");
    for (int row = 0; row < 13; ++row)
        datagen::fill_area_layer_row(s.PolygonLayers.at(static_cast<std::size_t>(row)), "面" + std::to_string(row),
                                     row <= 10 ? datagen::area_row_header_key(row) : "AKEY" + std::to_string(row),
                                     datagen::area_ledger_items(row));
    if (kind == DataKind::Point) s.PointLayers = pointRows();
    s.AppFolder = scratchFolder();
    s.SelectedKind = kind;
    s.SelectedIndex = static_cast<std::int16_t>(selectedRow);
    s.DatumCode = 2000;
    std::filesystem::create_directories(s.AppFolder + "Log");
    s.LogFilePath = s.AppFolder + "Log/fuzz.log";
    modCommon::openLogFile(text::LineWriter::Mode::Replace);
}

}  // namespace fuzz
