#include "convert/point/PointDb.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "convert/attr/AttrRecords.h"
#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionProgress.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/point/PointDistinctRows.h"
#include "convert/point/PointHeader.h"
#include "convert/point/PointLoading.h"
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

// Fields for items first .. last of the layer (items beyond ItemCount are left out). False when
// SetTextToVbidx refused a type name (its message shown).
bool addItemFields(db::TableDef& table, const LayerDef& layer, int first, int last) {
    for (int i = first; i <= std::min<int>(last, layer.ItemCount); ++i) {
        const auto k = static_cast<std::size_t>(i);
        std::int16_t type = 0;
        if (!ModPolygon::SetTextToVbidx(layer.ItemType.at(k), type)) return false;
        table.field(text::fromCp932(layer.ItemName.at(k)), db::fieldTypeOfNumber(type), layer.ItemWidth.at(k));
    }
    return true;
}

// ポイントデータ with items first .. last; with indexes on X and Y unless they are omitted.
db::FieldType coordinateType(Coordinates coordinates) {
    return coordinates == Coordinates::Real ? db::FieldType::Double : db::FieldType::Long;
}

bool createPointTable(db::Database& database, int last, IndexTiming indexes, Coordinates coordinates) {
    db::TableDef table(kPointTable);
    table.field(kLayerCodeField, db::FieldType::Text, 3)
        .field(kMeshCodeField, db::FieldType::Long)
        .field(kXField, coordinateType(coordinates))
        .field(kYField, coordinateType(coordinates));
    if (!addItemFields(table, selectedPointLayer(), 1, last)) return false;
    if (indexes == IndexTiming::WithTable) table.index(kXField, kXField).index(kYField, kYField);
    database.createTable(table);
    return true;
}

// The items of one table row cut from a record and stored as the loaders store them: a text as cut, a
// number (converted once, by the field's own rule) only when the cut reads as one. With `bytes`, the
// stored values are also appended in the form rows are compared in (PointDistinctRows.h).
class ItemStore {
public:
    // The appender's fields from `firstField` on hold items first .. last of the layer.
    ItemStore(db::Appender& table, std::size_t firstField, const LayerDef& layer, int first, int last) : table_(table) {
        for (int i = first; i <= std::min<int>(last, layer.ItemCount); ++i) {
            const auto k = static_cast<std::size_t>(i);
            items_.push_back({&table.fields().at(firstField + static_cast<std::size_t>(i - first)),
                              layer.ItemStart.at(k), layer.ItemWidth.at(k), ModAttr::isTextItem(layer.ItemType.at(k))});
        }
    }
    void number(const db::FieldDef& f, std::string_view value, std::string* bytes) {
        const std::int64_t n = db::wholeNumberFor(f, value);
        table_.set(f.name, n);
        if (bytes) appendValue(*bytes, std::to_string(n));
    }
    // Starts the row with X and Y in the appender's fields xField and xField + 1.
    void coordinates(std::size_t xField, const PointColumns& p, std::string* bytes) {
        number(table_.fields().at(xField), p.x, bytes);
        number(table_.fields().at(xField + 1), p.y, bytes);
    }
    void items(std::string_view line, std::string* bytes) {
        for (const Item& f : items_) {
            const std::string_view cut = modCommon::MidByteSjis(line, f.start, f.width);
            if (f.text) {
                table_.set(f.field->name, cut);
                if (bytes) appendValue(*bytes, cut);
            } else if (text::isNumeric(cut)) {
                number(*f.field, cut, bytes);
            } else if (bytes) {
                appendNull(*bytes);
            }
        }
    }

private:
    struct Item {
        const db::FieldDef* field;
        int start, width;
        bool text;
    };
    db::Appender& table_;
    std::vector<Item> items_;
};

// The fixed-column loaders' loop: records of blank or "9999999" coordinates are logged with the line's
// position after the header and not stored; `store` stores every other record. A file read to its end
// is checked against the count of its header, as the single-file writers check it.
template <class Store>
bool loadLines(db::Database& database, const char* procedure, Store&& store) {
    ConversionState& s = conversionState();
    const std::string path = s.InFileNo.file().path();
    long lines = s.InFileNo.file().lineNumber();
    const bool loaded = loadRemainingLines(database, procedure, s.RecHedCount,
                                           [&](std::string_view line, long lineNumber) {
                                               lines = lineNumber;
                                               const PointColumns p = cutPoint(line);
                                               if (const std::int16_t code = unusableCoordinates(p.x, p.y))
                                                   modCommon::PutLogFileMsg(code, "LINE:" + std::to_string(lineNumber - 1));
                                               else
                                                   store(line, p);
                                           });
    if (loaded) modCommon::ChkStatedRecordCount(path, s.RecHedCount, lines);
    return loaded;
}

}  // namespace

std::string PointDbPath() { return conversionState().AppFolder + kPointDbName; }

bool MakePointDb(IndexTiming indexes, Coordinates coordinates) {
    return guarded("MakePointDb", [&] {
        const std::string path = PointDbPath();
        db::removeFile(path);
        db::Database database = db::Database::create(path, db::Database::IfExists::Fail);
        if (!makePointTable(database, indexes, coordinates)) return false;
        database.close();
        return true;
    });
}

bool makePointTable(db::Database& database, IndexTiming indexes, Coordinates coordinates) {
    return guarded("makePointTable", [&] {
        const std::int16_t row = conversionState().SelectedIndex;
        if (row == 8 || row == 9)
            return makeTable_PointData1(database, indexes, coordinates) && makeTable_Zoku(database, indexes, coordinates);
        return makeTable_PointData2(database, indexes);
    });
}

bool makeTable_PointData1(db::Database& database, IndexTiming indexes, Coordinates coordinates) {
    return guarded("makeTable_PointData1",
                   [&] { return createPointTable(database, kLastPointTableItem, indexes, coordinates); });
}

bool makeTable_Zoku(db::Database& database, IndexTiming indexes, Coordinates coordinates) {
    return guarded("makeTable_Zoku", [&] {
        const LayerDef& layer = selectedPointLayer();
        for (auto [name, first, last] : {std::tuple{kAttrTable1, kLastPointTableItem + 1, kLastAttrTable1Item},
                                         std::tuple{kAttrTable2, kLastAttrTable1Item + 1, static_cast<int>(LayerDef::MaxItem)}}) {
            db::TableDef table(name);
            table.field(kXField, coordinateType(coordinates)).field(kYField, coordinateType(coordinates));
            if (!addItemFields(table, layer, first, last)) return false;
            if (indexes == IndexTiming::WithTable) table.index(kXField, kXField).index(kYField, kYField);
            database.createTable(table);
        }
        return true;
    });
}

bool makeTable_PointData2(db::Database& database, IndexTiming indexes) {
    return guarded("makeTable_PointData2", [&] {
        return createPointTable(database, LayerDef::MaxItem, indexes, Coordinates::Whole);
    });
}

namespace {

// One row of ポイントデータ: layer code, mesh code, X and Y (fields 2 and 3), the items of `items`.
void addPointRow(db::Appender& table, ItemStore& items, std::string_view line, const PointColumns& p,
                 std::string* bytes) {
    table.newRow();
    table.set(kLayerCodeField, text::sjisCharCut(line, 1, 3));
    table.set(kMeshCodeField, p.mesh);
    items.coordinates(2, p, bytes);
    items.items(line, bytes);
    table.save();
}

}  // namespace

bool SetPointTextToTbl2(db::Database& database, const std::string&, DistinctRows* distinct) {
    const LayerDef& layer = selectedPointLayer();
    db::Appender& table = database.appender(kPointTable);
    // Fields: layer code, mesh code, X, Y, items.
    ItemStore store(table, 4, layer, 1, layer.ItemCount);
    std::string bytes;
    std::string* compared = distinct ? &bytes : nullptr;
    return loadLines(database, "SetPointTextToTbl2", [&](std::string_view line, const PointColumns& p) {
        bytes.clear();
        addPointRow(table, store, line, p, compared);
        if (distinct) distinct->add(bytes);
    });
}

bool SetPointTextToTbl1(db::Database& database, const std::string&) {
    const LayerDef& layer = selectedPointLayer();
    db::Appender& points = database.appender(kPointTable);
    db::Appender& attr1 = database.appender(kAttrTable1);
    db::Appender& attr2 = database.appender(kAttrTable2);
    ItemStore pointItems(points, 4, layer, 1, kLastPointTableItem);
    ItemStore attr1Items(attr1, 2, layer, kLastPointTableItem + 1, kLastAttrTable1Item);
    ItemStore attr2Items(attr2, 2, layer, kLastAttrTable1Item + 1, layer.ItemCount);
    return loadLines(database, "SetPointTextToTbl1", [&](std::string_view line, const PointColumns& p) {
        addPointRow(points, pointItems, line, p, nullptr);
        for (auto [table, items] : {std::pair{&attr1, &attr1Items}, std::pair{&attr2, &attr2Items}}) {
            table->newRow();
            items->coordinates(0, p, nullptr);
            items->items(line, nullptr);
            table->save();
        }
    });
}

}  // namespace ModPoint
