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
bool roadLedger() { return conversionState().SelectedIndex == kRoadRow; }
const char* ledgerQuery() {
    return roadLedger() ? "SELECT * FROM リンク台帳データ WHERE 属性番号 = ? ORDER BY rowid"
                        : "SELECT * FROM 台帳データ WHERE 属性番号 = ? ORDER BY rowid";
}
const char* ledgerRowsQuery() {
    return roadLedger() ? "SELECT * FROM リンク台帳データ ORDER BY rowid" : "SELECT * FROM 台帳データ ORDER BY rowid";
}
}  // namespace

LineLedger::LineLedger(velmora::db::Database& db) : query_(db.query(ledgerQuery())) {
    auto& s = conversionState();
    const velmora::LayerDef& layer = velmora::layerRow(s.LineLayers, s.SelectedIndex);
    for (std::size_t i = 1; i <= static_cast<std::size_t>(layer.ItemCount); ++i)
        if (layer.ItemOutput.at(i)) flaggedItems_.push_back(velmora::text::fromCp932(layer.ItemName.at(i)));
    readRows(db);
}

// Gives the same values as the look-up by number: a Null number matches no row, numbers compare as
// numbers (a whole-number field's 5 is the double 5), and the first row by rowid wins. Anything out of
// the ordinary while reading leaves the look-up by number to do its work as before.
void LineLedger::readRows(velmora::db::Database& db) {
    try {
        velmora::db::Query rows = db.query(ledgerRowsQuery());
        std::vector<int> columns = {rows.column("属性番号")};
        try {
            for (const std::string& item : flaggedItems_) columns.push_back(rows.column(item));
        } catch (const velmora::RunTimeError&) {
            missingField_ = true;
            columns.resize(1);
        }
        std::string value;
        std::uint32_t count = 0;
        while (rows.next()) {
            if (rows.isNull(columns[0])) continue;
            if (!rowOf_.emplace(rows.asDouble(columns[0]), count).second) continue;
            ++count;
            if (missingField_) continue;
            for (int c : columns) {
                rows.readText(c, value);
                text_ += value;
                ends_.push_back(text_.size());
            }
        }
        if (!missingField_) columns_ = std::move(columns);
        read_ = true;
    } catch (const velmora::RunTimeError&) {
        rowOf_.clear();
        text_.clear();
        ends_.clear();
        missingField_ = false;
    }
}

void LineLedger::valuesOf(std::string_view attributeNumber, std::vector<std::string_view>& values) {
    values.assign(flaggedItems_.size() + 1, std::string_view());
    if (velmora::text::trimBlanks(attributeNumber).empty()) return;
    const double key = velmora::text::toDouble(attributeNumber);
    if (!read_ || missingField_) {
        if (!read_ || rowOf_.count(key)) valuesFromQuery(key, values);
        return;
    }
    const auto row = rowOf_.find(key);
    if (row == rowOf_.end()) return;
    const std::size_t first = static_cast<std::size_t>(row->second) * values.size();
    std::uint64_t from = first ? ends_[first - 1] : 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = std::string_view(text_).substr(from, ends_[first + i] - from);
        from = ends_[first + i];
    }
}

void LineLedger::valuesFromQuery(double key, std::vector<std::string_view>& values) {
    query_.bind(1, key);
    if (!query_.next()) return;
    if (columns_.empty()) {
        std::vector<int> columns = {query_.column("属性番号")};
        for (const std::string& item : flaggedItems_) columns.push_back(query_.column(item));
        columns_ = std::move(columns);
    }
    queried_.resize(columns_.size());
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        query_.readText(columns_[i], queried_[i]);
        values[i] = queried_[i];
    }
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
        static thread_local std::vector<std::string_view> values;
        ledger.valuesOf(attributeNumber, values);
        sd::writeDbfItem(h, std::span<const std::string_view>(values));
        return true;
    } catch (const velmora::RunTimeError& e) {
        velmora::ui::showRunTimeError(e, "Error: ModLine (ModLine OutPutLineHedFile)");
        return false;
    }
}

}  // namespace ModLine
