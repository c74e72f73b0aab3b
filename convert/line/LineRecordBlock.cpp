#include "convert/line/LineRecordBlock.h"

#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/line/LineDb.h"
#include "convert/line/LineWriterSteps.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/db/Database.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace ModLine {

using velmora::conversionState;
namespace sd = velmora::shapedesc;

namespace {
const char* ledgerQuery() {
    return conversionState().SelectedIndex == kRoadRow
               ? "SELECT * FROM リンク台帳データ WHERE 属性番号 = ? ORDER BY rowid"
               : "SELECT * FROM 台帳データ WHERE 属性番号 = ? ORDER BY rowid";
}
}  // namespace

LineLedger::LineLedger(velmora::db::Database& db) : query_(db.query(ledgerQuery())) {
    auto& s = conversionState();
    const velmora::LayerDef& layer = velmora::layerRow(s.LineLayers, s.SelectedIndex);
    for (std::size_t i = 1; i <= static_cast<std::size_t>(layer.ItemCount); ++i)
        if (layer.ItemOutput.at(i)) flaggedItems_.push_back(velmora::text::fromCp932(layer.ItemName.at(i)));
}

void LineLedger::valuesOf(std::string_view attributeNumber, std::vector<std::string>& values) {
    values.resize(flaggedItems_.size() + 1);
    for (std::string& v : values) v.clear();
    if (velmora::text::trimBlanks(attributeNumber).empty()) return;
    query_.bind(1, velmora::text::toDouble(attributeNumber));
    if (!query_.next()) return;
    if (columns_.empty()) {
        std::vector<int> columns = {query_.column("属性番号")};
        for (const std::string& item : flaggedItems_) columns.push_back(query_.column(item));
        columns_ = std::move(columns);
    }
    for (std::size_t i = 0; i < columns_.size(); ++i) query_.readText(columns_[i], values[i]);
}

bool OutPutLineHedFile(LineLedger& ledger, std::string_view id, std::int16_t pointCount, std::string_view attributeNumber,
                       std::int64_t minX, std::int64_t minY, std::int64_t maxX, std::int64_t maxY, std::int16_t partCount,
                       std::string_view partIndexText) {
    try {
        velmora::text::LineWriter& h = conversionState().FilHFileNo.file();
        sd::writeLinkNo(h, id);
        WriteBox(h, RunningBox{minX, minY, maxX, maxY});
        sd::writePartsPoints(h, partCount, pointCount);
        sd::writePartIdx(h, partIndexText);
        static thread_local std::vector<std::string> values;
        ledger.valuesOf(attributeNumber, values);
        sd::writeDbfItem(h, values);
        return true;
    } catch (const velmora::RunTimeError& e) {
        velmora::ui::showRunTimeError(e, "Error: ModLine (ModLine OutPutLineHedFile)");
        return false;
    }
}

}  // namespace ModLine
