#include "convert/point/PointDb.h"

#include "convert/attr/AttrRecords.h"
#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionProgress.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/point/PointHeader.h"
#include "convert/point/PointRecords.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFiles.h"
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

}  // namespace

std::string PointDbPath() { return conversionState().AppFolder + kPointDbName; }

bool MakePointDb() {
    return guarded("MakePointDb", [] {
        const std::string path = PointDbPath();
        db::removeFile(path);
        db::Database database = db::Database::create(path, db::Database::IfExists::Fail);
        if (!makePointTable(database)) return false;
        database.close();
        return true;
    });
}

bool makePointTable(db::Database& database) {
    return guarded("makePointTable", [&] { return makeTable_PointData2(database); });
}

bool makeTable_PointData2(db::Database& database) {
    return guarded("makeTable_PointData2", [&] {
        const LayerDef& layer = selectedPointLayer();
        db::TableDef table(kPointTable);
        table.field(kLayerCodeField, db::FieldType::Text, 3)
            .field(kMeshCodeField, db::FieldType::Long)
            .field(kXField, db::FieldType::Long)
            .field(kYField, db::FieldType::Long);
        for (int i = 1; i <= layer.ItemCount; ++i) {
            const auto k = static_cast<std::size_t>(i);
            std::int16_t type = 0;
            if (!ModPolygon::SetTextToVbidx(layer.ItemType.at(k), type)) return false;
            table.field(text::fromCp932(layer.ItemName.at(k)), db::fieldTypeOfNumber(type), layer.ItemWidth.at(k));
        }
        table.index(kXField, kXField).index(kYField, kYField);
        database.createTable(table);
        return true;
    });
}

bool SetPointTextToTbl2(db::Database& database, const std::string&) {
    ConversionState& s = conversionState();
    try {
        progress::setMaximum(s.RecHedCount);
        progress::setCaption("初期処理中・・・");
        progress::setVisible(true);
        ui::service().yield();

        const LayerDef& layer = selectedPointLayer();
        struct ItemField {
            std::string name;
            int start, width;
            bool text;
        };
        std::vector<ItemField> items;
        for (int i = 1; i <= layer.ItemCount; ++i) {
            const auto k = static_cast<std::size_t>(i);
            items.push_back({text::fromCp932(layer.ItemName.at(k)), layer.ItemStart.at(k), layer.ItemWidth.at(k),
                             ModAttr::isTextItem(layer.ItemType.at(k))});
        }
        text::LineReader& in = s.InFileNo.file();
        db::Appender& table = database.appender(kPointTable);
        db::Transaction transaction(database);
        std::string line;
        while (in.next(line)) {
            if (!text::trimBlanks(line).empty()) {
                const PointColumns p = cutPoint(line);
                if (const std::int16_t code = unusableCoordinates(p.x, p.y)) {
                    modCommon::PutLogFileMsg(code, "LINE:" + std::to_string(in.lineNumber() - 1));
                } else {
                    table.newRow();
                    table.set(kLayerCodeField, text::sjisCharCut(line, 1, 3));
                    table.set(kMeshCodeField, p.mesh);
                    table.set(kXField, p.x);
                    table.set(kYField, p.y);
                    for (const ItemField& f : items) {
                        const std::string_view cut = modCommon::MidByteSjis(line, f.start, f.width);
                        if (f.text) table.set(f.name, cut);
                        else table.setIfNumeric(f.name, cut);
                    }
                    table.save();
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
