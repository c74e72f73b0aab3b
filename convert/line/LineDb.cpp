#include "convert/line/LineDb.h"

#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFiles.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace ModLine {

using velmora::RunTimeError;
using velmora::conversionState;
using velmora::db::Database;
using velmora::db::FieldType;
using velmora::db::TableDef;
namespace ui = velmora::ui;

namespace {

// Runs one builder: a run-time error shows its box under the builder's name and gives false.
template <class F>
bool build(const char* procedure, F&& f) {
    try {
        return f();
    } catch (const RunTimeError& e) {
        ui::showRunTimeError(e, std::string("Error: ModLine (ModLine ") + procedure + ")");
        return false;
    }
}

}  // namespace

std::string LineDbPath() { return conversionState().AppFolder + kLineDbFileName; }

bool makeTable_NodeData(Database& db) {
    return build("makeTable_NodeData", [&] {
        TableDef t("ノードデータ");
        t.field("レイヤコード", FieldType::Text, 3)
            .field("メッシュコード", FieldType::Long)
            .field("ノード一連番号", FieldType::Long)
            .field("Ｘ座標", FieldType::Long)
            .field("Ｙ座標", FieldType::Long)
            .field("ノード台帳の有無", FieldType::Long)
            .field("ノード属性番号", FieldType::Double)
            .field("接続リンク数", FieldType::Long)
            .field("図郭情報", FieldType::Long)
            .field("対応点メッシュコード", FieldType::Long)
            .field("対応点番号", FieldType::Long);
        // Only the station writers of the railway item read nodes back (in mesh and serial order, the
        // selection by the start mesh, one query per selected entry); for any other item the indexes would
        // cost their building and nothing else.
        if (conversionState().SelectedIndex == kRailwayRow)
            t.index("メッシュコード", "メッシュコード")
                .index("ノード一連番号", "ノード一連番号")
                .field("起点メッシュコード", FieldType::Long)
                .index("起点メッシュコード", "起点メッシュコード");
        db.createTable(t);
        return true;
    });
}

bool makeTable_LinkData(Database& db) {
    return build("makeTable_LinkData", [&] {
        TableDef links("リンクデータ");
        links.field("レイヤコード", FieldType::Text, 3);
        for (const char* f : {"起点メッシュコード", "起点番号", "終点メッシュコード", "終点番号", "リンク一連番号",
                              "リンク台帳の有無", "リンク属性番号", "リンク構成中間点数", "LinkIdx", "使用フラグ1",
                              "使用フラグ2"})
            links.field(f, FieldType::Long);
        // The line writer finds the link of a reference by its start mesh and serial number. Serial numbers
        // start again in every mesh, so an index on either field alone leaves a row per mesh (or per link
        // of the mesh) to be tested for each reference: a nationwide file took hours. The road item writes
        // its links themselves and never looks one up.
        if (conversionState().SelectedIndex != kRoadRow)
            links.index("起点メッシュコード", {"起点メッシュコード", "リンク一連番号", "LinkIdx"});
        db.createTable(links);

        // The points themselves are kept by the database's LinkVertexStore; the table stays for the shape
        // of the database, empty and without indexes.
        TableDef vertices("リンクデータ中間点");
        for (const char* f : {"LinkIdx", "中間点番号", "Ｘ座標", "Ｙ座標"}) vertices.field(f, FieldType::Long);
        db.createTable(vertices);
        return true;
    });
}

bool makeTable_Line(Database& db) {
    return build("makeTable_Line", [&] {
        TableDef lines("ラインデータ");
        lines.field("レイヤコード", FieldType::Text, 3);
        for (const char* f : {"起点メッシュコード", "起点番号", "終点メッシュコード", "終点番号", "ライン一連番号",
                              "ライン台帳の有無", "ライン属性番号", "ライン構成リンク数", "LinkIdx"})
            lines.field(f, FieldType::Long);
        // The selection writer queries by the start mesh, one query per selected entry: without the index
        // each reads the whole table.
        lines.index("LinkIdx", "LinkIdx", true).index("起点メッシュコード", "起点メッシュコード");
        db.createTable(lines);

        TableDef refs("ラインリンクデータ");
        for (const char* f : {"LinkIdx", "リンク番号", "メッシュコード", "番号", "フラグ"}) refs.field(f, FieldType::Long);
        // A line's references are read by LinkIdx in reference order: from one index that holds the fields
        // read too, without a sort and without a look-up of the row.
        refs.index("LinkIdx", {"LinkIdx", "リンク番号", "メッシュコード", "番号"});
        db.createTable(refs);

        // The ledger takes every item of the selected row, flagged for output or not.
        auto& s = conversionState();
        const velmora::LayerDef& layer = velmora::layerRow(s.LineLayers, s.SelectedIndex);
        TableDef ledger("台帳データ");
        ledger.field("レイヤコード", FieldType::Text, 3).field("属性番号", FieldType::Long).field("行数", FieldType::Long);
        for (int i = 1; i <= layer.ItemCount; ++i) {
            std::int16_t type = 0;
            if (!velmora::ModPolygon::SetTextToVbidx(layer.ItemType.at(static_cast<std::size_t>(i)), type)) return false;
            const std::string name = velmora::text::fromCp932(layer.ItemName.at(static_cast<std::size_t>(i)));
            switch (type) {
                case velmora::ModPolygon::FieldType::Integer: ledger.field(name, FieldType::Integer); break;
                case velmora::ModPolygon::FieldType::Long: ledger.field(name, FieldType::Long); break;
                default: ledger.field(name, FieldType::Text, layer.ItemWidth.at(static_cast<std::size_t>(i))); break;
            }
        }
        ledger.index("属性番号", "属性番号", true);
        db.createTable(ledger);
        return true;
    });
}

bool makeTable_LinkDData(Database& db) {
    return build("makeTable_LinkDData", [&] {
        TableDef t("リンク台帳データ");
        t.field("レイヤコード", FieldType::Text, 3)
            .field("属性番号", FieldType::Double)
            .field("属性の行数", FieldType::Long)
            .field("道路種別CD", FieldType::Long)
            .field("路線名", FieldType::Text, 24)
            .field("線名", FieldType::Text, 22)
            .field("通称", FieldType::Text, 16);
        // The road writer reads the ledger's rows once, in rowid order (LineLedger): an index on the number
        // would cost its building and serve no query.
        db.createTable(t);
        return true;
    });
}

bool makeTable_NodeDData(Database& db) {
    return build("makeTable_NodeDData", [&] {
        TableDef t("ノード台帳データ");
        t.field("レイヤコード", FieldType::Text, 3)
            .field("属性番号", FieldType::Double)
            .field("属性の行数", FieldType::Long)
            .field("駅名", FieldType::Text, 56)
            .index("属性番号", "属性番号");
        db.createTable(t);
        return true;
    });
}

bool makeTable(Database& db) {
    return build("makeTable", [&] {
        if (!makeTable_NodeData(db) || !makeTable_LinkData(db) || !makeTable_Line(db)) return false;
        const int row = conversionState().SelectedIndex;
        if (row == kRoadRow && !makeTable_LinkDData(db)) return false;
        if (row == kRailwayRow && !makeTable_NodeDData(db)) return false;
        return true;
    });
}

bool MakeLineDb() {
    return build("MakeLineDb", [&] {
        const std::string path = LineDbPath();
        velmora::db::removeFile(path);
        Database db = Database::create(path, Database::IfExists::Fail);
        if (!makeTable(db)) return false;  // the half-built file stays until the next line job
        db.close();
        return true;
    });
}

}  // namespace ModLine
