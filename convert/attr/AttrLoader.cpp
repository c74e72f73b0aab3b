#include "convert/attr/AttrLoader.h"

#include <algorithm>

#include <cstdint>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/attr/AttrHeaderCheck.h"
#include "convert/attr/AttrRecords.h"
#include "convert/core/ConversionProgress.h"
#include "convert/line/LineRecords.h"
#include "platform/db/Database.h"
#include "platform/db/DbErrors.h"
#include "platform/db/Transaction.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/Sjis.h"
#include "platform/ui/UiService.h"

namespace ModAttr {

using namespace velmora;

bool MakeAttrDb() {
    try {
        db::Database database =
            db::Database::create(conversionState().AppFolder + kAttrDbName, db::Database::IfExists::Replace);
        bool ok = makeTable(database);
        database.close();
        return ok;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModAttr (ModAttr MakeAttrDb)");
        return false;
    }
}

bool makeTable(db::Database& database) {
    try {
        return makeTable_AttrTData(database) && makeTable_AttrDTData(database);
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModAttr (makeTable)");
        return false;
    }
}

bool makeTable_AttrTData(db::Database& database) {
    try {
        const LayerDef& layer = selectedAttrLayer();
        db::TableDef table(kTableData);
        table.field(kLayerCode, db::FieldType::Text, 3);
        for (int i = 1; i <= layer.ItemCount - 1; ++i) {
            std::int16_t type = 0;
            if (!ModPolygon::SetTextToVbidx(layer.ItemType.at(i), type)) return false;
            db::FieldType ft = type == ModPolygon::FieldType::Integer ? db::FieldType::Integer
                               : type == ModPolygon::FieldType::Long  ? db::FieldType::Long
                                                                      : db::FieldType::Text;
            table.field(text::fromCp932(layer.ItemName.at(i)), ft, layer.ItemWidth.at(i));
        }
        const std::string item1 = text::fromCp932(layer.ItemName.at(1));
        const std::string item2 = text::fromCp932(layer.ItemName.at(2));
        table.index(item1, item1).index(item2, item2);
        database.createTable(table);
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModAttr (ModAttr makeTable_AttrTData)");
        return false;
    }
}

bool makeTable_AttrDTData(db::Database& database) {
    try {
        db::TableDef ledger(kLedgerData);
        ledger.field(kLayerCode, db::FieldType::Text, 3)
            .field(kAttributeNumber, db::FieldType::Double)
            .field(kLineCount, db::FieldType::Long)
            .field(text::fromCp932(selectedAttrLayer().ItemName.at(kTitleItem)), db::FieldType::Text, 40)
            .index(kAttributeNumber, kAttributeNumber);
        database.createTable(ledger);
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModAttr (ModAttr makeTable_AttrDTData)");
        return false;
    }
}

std::vector<TableColumn> tableColumns() {
    const LayerDef& layer = selectedAttrLayer();
    std::vector<TableColumn> columns;
    for (int i = 1; i <= layer.ItemCount - 1; ++i)
        columns.push_back({text::fromCp932(layer.ItemName.at(i)), layer.ItemStart.at(i), layer.ItemWidth.at(i),
                           isTextItem(layer.ItemType.at(i))});
    return columns;
}

bool SetAttrTextToTbl(db::Database& database, const std::string& path) {
    ConversionState& s = conversionState();
    try {
        InputStart start = openAttrInput(path);
        if (start != InputStart::Ready) return start == InputStart::Skipped;
        text::LineReader& in = s.InFileNo.file();
        progress::setMaximum(s.RecHedCount);
        progress::setCaption("初期処理中・・・");
        progress::setVisible(true);
        ui::service().yield();

        const std::vector<TableColumn> columns = tableColumns();
        const std::string titleField = text::fromCp932(selectedAttrLayer().ItemName.at(kTitleItem));
        db::Appender& table = database.appender(kTableData);
        db::Appender& ledger = database.appender(kLedgerData);
        // The first record of a key is the one kept; the later ones go without a word.
        table.dropRepeatedKeys();
        ledger.dropRepeatedKeys();
        db::Transaction transaction(database);
        std::string line;
        while (in.next(line)) {
            std::string_view kind = ModLine::RecordKind(line);
            if (kind == "T") {
                if (!SetAttrTextToTbl_T(line, table, columns)) {
                    s.InFileNo.closeQuietly();
                    return false;
                }
            } else if (kind == "DT") {
                if (!SetAttrTextToTbl_DT(line, ledger, titleField)) {
                    s.InFileNo.closeQuietly();
                    return false;
                }
            }
            progress::step();
        }
        transaction.commit();
        // A table's header counts its records: the lines after the header.
        const long records = in.lineNumber() - 1;
        s.InFileNo.close();
        modCommon::ChkStatedRecordCount(path, s.RecHedCount, records);
        progress::fill();
        progress::setVisible(false);
        return true;
    } catch (const std::exception& e) {
        s.InFileNo.closeQuietly();
        ui::showError(e, "Error: ModAttr (ModAttr SetAttrTextToTbl)");
        return false;
    }
}

namespace {

// Saves the row; a key the table already holds drops the row without a word, as the loaders always did.
void saveIgnoringDuplicate(db::Appender& appender) {
    try {
        appender.save();
    } catch (const RunTimeError& e) {
        if (e.number() != db::err::DuplicateKey) throw;
    }
}

}  // namespace

bool SetAttrTextToTbl_T(std::string_view line, db::Appender& table, const std::vector<TableColumn>& columns) {
    try {
        // A file cut inside the record's first column is refused (ChkRecordLength); columns past the end
        // of a whole line are blank: their fields stay Null.
        if (!columns.empty()) {
            const auto first = std::min_element(columns.begin(), columns.end(),
                                                [](const TableColumn& a, const TableColumn& b) { return a.start < b.start; });
            modCommon::ChkRecordLength(line, static_cast<long>(first->start) + first->width - 1);
        }
        table.newRow();
        table.set(kLayerCode, text::sjisCharCut(line, 1, 3));
        for (const TableColumn& c : columns) {
            std::string_view cut = modCommon::MidByteSjis(line, c.start, c.width);
            if (c.text) {
                if (!text::trimBlanks(cut).empty()) table.set(c.field, cut);
            } else {
                table.setIfNumeric(c.field, cut);
            }
        }
        saveIgnoringDuplicate(table);
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModAttr (ModAttr SetAttrTextToTbl_T)");
        return false;
    }
}

bool SetAttrTextToTbl_DT(std::string_view line, db::Appender& ledger, const std::string& titleField) {
    try {
        LedgerRow row = parseLedgerRow(line);
        ledger.newRow();
        ledger.set(kLayerCode, row.layerCode);
        ledger.set(kAttributeNumber, row.attributeNumber);
        ledger.set(kLineCount, row.lineCount);
        if (row.title) ledger.set(titleField, *row.title);
        saveIgnoringDuplicate(ledger);
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModAttr (ModAttr SetAttrTextToTbl_DT)");
        return false;
    }
}

}  // namespace ModAttr
