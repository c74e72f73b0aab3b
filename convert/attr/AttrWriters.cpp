#include "convert/attr/AttrWriters.h"

#include <cstdint>
#include <span>
#include <vector>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/attr/AttrHeaderCheck.h"
#include "convert/attr/AttrLoader.h"
#include "convert/attr/AttrNumberFit.h"
#include "convert/attr/AttrRecords.h"
#include "convert/core/ConversionProgress.h"
#include "convert/line/LineRecords.h"
#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/db/Database.h"
#include "platform/db/DbErrors.h"
#include "platform/db/Names.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace ModAttr {

using namespace velmora;

namespace {

// The numbers left out of the table being written; a new table starts with its header block.
NumberFit& tableNumberFit() {
    static NumberFit fit;
    return fit;
}

// Writes the header block; false when SetTextToShpeidx refused an item type (its message was shown).
bool writeHeaderBlock() {
    tableNumberFit() = NumberFit{};
    ConversionState& s = conversionState();
    const LayerDef& layer = selectedAttrLayer();
    text::LineWriter& h = s.FilHFileNo.file();
    shapedesc::writeMakeFileName(h, shapedesc::tableBaseName(s.OutputPath));
    shapedesc::writeShapeType(h, shapedesc::Kind::Table, s.DatumCode);
    long flagged = 0;
    for (int i = 1; i <= layer.ItemCount; ++i) flagged += layer.ItemOutput.at(i) ? 1 : 0;
    shapedesc::writeFieldCount(h, flagged);
    for (int i = 1; i <= layer.ItemCount; ++i) {
        if (!layer.ItemOutput.at(i)) continue;
        std::string letter;
        if (!ModPolygon::SetTextToShpeidx(layer.ItemType.at(i), letter)) return false;
        shapedesc::writeFieldName(h, layer.ItemName.at(i), letter, layer.ItemWidth.at(i));
    }
    return true;
}

// The progress display of a writer: n + n × 0.1 steps under the caption, shown between two yields.
void showWriterProgress(double count) {
    progress::setMaximum(count + count * 0.1);
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
        InputStart start = openAttrInput(path);
        if (start != InputStart::Ready) return start == InputStart::Skipped;
        text::LineReader& in = s.InFileNo.file();
        showWriterProgress(s.RecHedCount);

        const LayerDef& layer = selectedAttrLayer();
        text::LineWriter& h = s.FilHFileNo.file();
        text::LineWriter& d = s.FilDFileNo.file();
        std::string line, rowNumber;
        std::vector<std::string_view> values;
        std::int64_t row = 1;
        while (in.next(line)) {
            if (ModLine::RecordKind(line) == "T") {
                modCommon::ChkRecordLength(line, modCommon::layoutEnd(layer, 1, layer.ItemCount));
                shapedesc::writeLinkIdx(d, row);
                values.clear();
                for (int i = 1; i <= layer.ItemCount; ++i) {
                    if (!layer.ItemOutput.at(i)) continue;
                    std::string_view cut =
                        modCommon::MidByteSjis(line, layer.ItemStart.at(i), layer.ItemWidth.at(i));
                    if (isTextItem(layer.ItemType.at(i))) {
                        values.push_back(cut);
                    } else if (!text::isNumeric(cut)) {
                        values.push_back({});
                    } else if (NumberFit::overflows(cut, layer.ItemWidth.at(i))) {
                        values.push_back(tableNumberFit().leaveOut(i, layer.ItemName.at(i), cut,
                                                                   recordInFile(path, in.lineNumber())));
                    } else {
                        values.push_back(cut);
                    }
                }
                // The row number follows the declared fields as one value more.
                rowNumber = std::to_string(row);
                values.push_back(rowNumber);
                shapedesc::writeDbfItem(h, std::span<const std::string_view>(values));
                ++row;
            }
            progress::step();
        }
        // A table's header counts its records: the lines after the header.
        const long records = in.lineNumber() - 1;
        s.InFileNo.close();
        modCommon::ChkStatedRecordCount(path, s.RecHedCount, records);
        return true;
    } catch (const std::exception& e) {
        s.InFileNo.closeQuietly();
        ui::showError(e, "Error: ModAttr (ModAttr MakeAttrFileData)");
        return false;
    }
}

namespace {

// "SELECT * FROM 表データ ORDER BY" items 1, 2 and 3, ascending. Text keys are CP932 bytes and sort
// byte-wise (the Japanese sort order of the original engine is not available); Nulls come first. The
// append order breaks ties, so that equal keys keep the order of the input files.
std::string sortedTableSql(const LayerDef& layer) {
    std::string sql = std::string("SELECT * FROM ") + kTableData + " ORDER BY ";
    for (int i = 1; i <= 3; ++i) {
        // An item that is no field of the table (a layer of fewer than four items) cannot sort it.
        if (i > layer.ItemCount - 1)
            throw RunTimeError(db::err::TooFewParameters, "Too few parameters. Expected 1.");
        sql += db::quoteName(text::fromCp932(layer.ItemName.at(i))) + ", ";
    }
    return sql + "rowid";
}

}  // namespace

bool MakeAttrFileData_Toku(db::Database& database) {
    ConversionState& s = conversionState();
    try {
        if (!writeHeaderBlock()) return false;
        const LayerDef& layer = selectedAttrLayer();
        db::Query rows = database.query(sortedTableSql(layer));
        if (!rows.next()) {
            s.FilHFileNo.close();
            s.FilDFileNo.close();
            return false;
        }
        db::Query count = database.query(std::string("SELECT COUNT(*) FROM ") + kTableData);
        count.next();
        showWriterProgress(count.asDouble(0));

        // Columns of the flagged items among 1 .. ItemCount − 1, looked up once.
        struct ValueColumn {
            int column, item;
            bool numeric;
        };
        std::vector<ValueColumn> valueColumns;
        for (int i = 1; i <= layer.ItemCount - 1; ++i)
            if (layer.ItemOutput.at(i))
                valueColumns.push_back({rows.column(text::fromCp932(layer.ItemName.at(i))), i, !isTextItem(layer.ItemType.at(i))});
        const bool titleFlagged = layer.ItemCount >= 1 && layer.ItemOutput.at(layer.ItemCount);
        const int item1 = rows.column(text::fromCp932(layer.ItemName.at(1)));
        const int item2 = rows.column(text::fromCp932(layer.ItemName.at(2)));
        const std::string titleField = text::fromCp932(layer.ItemName.at(kTitleItem));
        // The first ledger row of the key in the order the rows were appended; bound, never spliced.
        db::Query ledger = database.query(std::string("SELECT * FROM ") + kLedgerData + " WHERE " +
                                          kAttributeNumber + " = ? ORDER BY rowid");

        text::LineWriter& h = s.FilHFileNo.file();
        text::LineWriter& d = s.FilDFileNo.file();
        // One string per value, reused from row to row.
        std::vector<std::string> values(valueColumns.size() + (titleFlagged ? 1 : 0));
        std::string key1, key2;
        int titleColumn = -1;  // found with the first ledger row, where a missing field fails
        std::int64_t l = 1;
        do {
            shapedesc::writeLinkIdx(d, l);
            for (std::size_t k = 0; k < valueColumns.size(); ++k) {
                const ValueColumn& c = valueColumns[k];
                std::string& v = values[k];
                rows.readText(c.column, v);
                if (c.numeric && NumberFit::overflows(v, layer.ItemWidth.at(c.item)))
                    v = tableNumberFit().leaveOut(c.item, layer.ItemName.at(c.item), v,
                                                  text::toCp932("レコード：") + std::to_string(l));
            }
            if (titleFlagged) {
                std::string& title = values.back();
                title.clear();
                if (!rows.isNull(item1) && !rows.isNull(item2)) {
                    rows.readText(item1, key1);
                    rows.readText(item2, key2);
                    ledger.bind(1, ledgerKey(key1, key2));
                    if (ledger.next()) {
                        if (titleColumn < 0) titleColumn = ledger.column(titleField);
                        ledger.readText(titleColumn, title);
                    }
                }
            }
            shapedesc::writeDbfItem(h, std::span<const std::string>(values));
            progress::step();
            ++l;
        } while (rows.next());
        return true;
    } catch (const std::exception& e) {
        s.FilHFileNo.closeQuietly();
        s.FilDFileNo.closeQuietly();
        ui::showError(e, "Error: ModAttr (ModAttr MakeAttrFileData_Toku)");
        return false;
    }
}

}  // namespace ModAttr
