#include "convert/point/PointDb.h"

#include <optional>

#include "convert/attr/AttrRecords.h"
#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionProgress.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/point/PointDistinctRows.h"
#include "convert/point/PointHeader.h"
#include "convert/point/PointRecords.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFiles.h"
#include "platform/db/FieldRules.h"
#include "platform/db/Transaction.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/Sjis.h"
#include "platform/ui/UiService.h"

namespace ModPoint {

using namespace velmora;

namespace {

// Runs one procedure: a run-time error shows its box under the procedure's name and gives false.
template <class F>
bool guarded(const char* procedure, F&& f) {
    try {
        return f();
    } catch (const std::exception& e) {
        ui::showError(e, std::string("Error: ModPoint (ModPoint ") + procedure + ")");
        return false;
    }
}

// ポイントデータ of the selected row, with its two indexes. A type name SetTextToVbidx refuses gives
// nothing (its message shown).
std::optional<db::TableDef> pointTableDef() {
    const LayerDef& layer = selectedPointLayer();
    db::TableDef table(kPointTable);
    table.field(kLayerCodeField, db::FieldType::Text, 3)
        .field(kMeshCodeField, db::FieldType::Long)
        .field(kXField, db::FieldType::Long)
        .field(kYField, db::FieldType::Long);
    for (int i = 1; i <= layer.ItemCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        std::int16_t type = 0;
        if (!ModPolygon::SetTextToVbidx(layer.ItemType.at(k), type)) return std::nullopt;
        table.field(text::fromCp932(layer.ItemName.at(k)), db::fieldTypeOfNumber(type), layer.ItemWidth.at(k));
    }
    table.index(kXField, kXField).index(kYField, kYField);
    return table;
}

}  // namespace

std::string PointDbPath() { return conversionState().AppFolder + kPointDbName; }

bool MakePointDb(IndexTiming indexes) {
    return guarded("MakePointDb", [&] {
        const std::string path = PointDbPath();
        db::removeFile(path);
        db::Database database = db::Database::create(path, db::Database::IfExists::Fail);
        if (!makePointTable(database, indexes)) return false;
        database.close();
        return true;
    });
}

bool makePointTable(db::Database& database, IndexTiming indexes) {
    return guarded("makePointTable", [&] { return makeTable_PointData2(database, indexes); });
}

bool makeTable_PointData2(db::Database& database, IndexTiming indexes) {
    return guarded("makeTable_PointData2", [&] {
        std::optional<db::TableDef> table = pointTableDef();
        if (!table) return false;
        if (indexes == IndexTiming::WithTable) {
            database.createTable(*table);
        } else {
            db::TableDef fields(table->name());
            for (const db::FieldDef& f : table->fields()) fields.field(f.name, f.type, f.size);
            database.createTable(fields);
        }
        return true;
    });
}

bool SetPointTextToTbl2(db::Database& database, const std::string&, DistinctRows* distinct) {
    ConversionState& s = conversionState();
    try {
        progress::setMaximum(s.RecHedCount);
        progress::setCaption("初期処理中・・・");
        progress::setVisible(true);
        ui::service().yield();

        const LayerDef& layer = selectedPointLayer();
        db::Appender& table = database.appender(kPointTable);
        // The table's fields: layer code, mesh code, X, Y, then item k at 3 + k.
        const std::vector<db::FieldDef>& fields = table.fields();
        struct ItemField {
            const db::FieldDef* field;
            int start, width;
            bool text;
        };
        std::vector<ItemField> items;
        for (int i = 1; i <= layer.ItemCount; ++i) {
            const auto k = static_cast<std::size_t>(i);
            items.push_back({&fields.at(3 + k), layer.ItemStart.at(k), layer.ItemWidth.at(k),
                             ModAttr::isTextItem(layer.ItemType.at(k))});
        }
        text::LineReader& in = s.InFileNo.file();
        db::Transaction transaction(database);
        std::string line, bytes;
        // A number is converted once, by the field's own rule, for the table and for the comparison.
        auto storeNumber = [&](const db::FieldDef& f, std::string_view value) {
            const std::int64_t number = db::wholeNumberFor(f, value);
            table.set(f.name, number);
            if (distinct) appendValue(bytes, std::to_string(number));
        };
        while (in.next(line)) {
            if (!text::trimBlanks(line).empty()) {
                const PointColumns p = cutPoint(line);
                if (const std::int16_t code = unusableCoordinates(p.x, p.y)) {
                    modCommon::PutLogFileMsg(code, "LINE:" + std::to_string(in.lineNumber() - 1));
                } else {
                    bytes.clear();
                    table.newRow();
                    table.set(kLayerCodeField, text::sjisCharCut(line, 1, 3));
                    table.set(kMeshCodeField, p.mesh);
                    storeNumber(fields.at(2), p.x);
                    storeNumber(fields.at(3), p.y);
                    for (const ItemField& f : items) {
                        const std::string_view cut = modCommon::MidByteSjis(line, f.start, f.width);
                        if (f.text) {
                            table.set(f.field->name, cut);
                            if (distinct) appendValue(bytes, cut);
                        } else if (text::isNumeric(cut)) {
                            storeNumber(*f.field, cut);
                        } else if (distinct) {
                            appendNull(bytes);
                        }
                    }
                    table.save();
                    if (distinct) distinct->add(bytes);
                }
            }
            progress::step();
        }
        transaction.commit();
        s.InFileNo.close();
        progress::fill();
        progress::setVisible(false);
        return true;
    } catch (const std::exception& e) {
        s.InFileNo.closeQuietly();
        ui::showError(e, "Error: ModPoint (ModPoint SetPointTextToTbl2)");
        return false;
    }
}

}  // namespace ModPoint
