#include "convert/area/PolygonDb.h"

#include "convert/area/PolygonErrors.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFiles.h"
#include "platform/text/Cp932.h"

namespace velmora::ModPolygon {

using db::Database;
using db::TableDef;
using DbType = db::FieldType;

namespace {

TableDef longFields(TableDef t, std::initializer_list<const char*> names) {
    for (const char* f : names) t.field(f, DbType::Long);
    return t;
}

}  // namespace

std::string PolygonDbPath() { return conversionState().AppFolder + kPolygonDbFileName; }

bool makeTable_NodeData(Database& db) {
    return guardedProcedure("makeTable_NodeData", [&] {
        TableDef t("ノードデータ");
        t.field("レイヤコード", DbType::Text, 3);
        t = longFields(std::move(t), {"メッシュコード", "ノード一連番号", "Ｘ座標", "Ｙ座標", "ノード台帳の有無",
                                      "ノード属性番号", "接続リンク数", "図郭情報", "対応点メッシュコード", "対応点番号"});
        // No writer reads the nodes back by a field: indexes would only cost their building.
        db.createTable(t);
        return true;
    });
}

bool makeTable_LinkData(Database& db) {
    return guardedProcedure("makeTable_LinkData", [&] {
        TableDef links("リンクデータ");
        links.field("レイヤコード", DbType::Text, 3);
        links = longFields(std::move(links), {"起点メッシュコード", "起点番号", "終点メッシュコード", "終点番号",
                                              "リンク一連番号", "リンク台帳の有無", "リンク属性番号",
                                              "リンク構成中間点数", "LinkIdx", "使用フラグ1", "使用フラグ2"});
        links.index("LinkIdx", "LinkIdx", true);
        db.createTable(links);

        // The points are kept by the database's LinkVertexStore: the table stays, empty and without indexes.
        db.createTable(longFields(TableDef("リンクデータ中間点"), {"LinkIdx", "中間点番号", "Ｘ座標", "Ｙ座標"}));
        return true;
    });
}

bool makeTable_Polygon(Database& db) {
    return guardedProcedure("makeTable_Polygon", [&] {
        TableDef areas("ポリゴンデータ");
        areas.field("レイヤコード", DbType::Text, 3);
        areas = longFields(std::move(areas), {"代表点メッシュコード", "代表点Ｘ座標", "代表点Ｙ座標", "エリア一連番号",
                                              "エリア台帳の有無", "エリア属性番号", "エリア構成リンク数", "LinkIdx"});
        areas.index("LinkIdx", "LinkIdx", true);
        db.createTable(areas);

        // The writers make no polygons and never read the references back: no indexes to build.
        db.createTable(longFields(TableDef("ポリゴンリンクデータ"), {"LinkIdx", "リンク番号", "メッシュコード", "番号", "フラグ"}));

        // Every item of the selected row has its field, flagged for output or not.
        auto& s = conversionState();
        const LayerDef& layer = layerRow(s.PolygonLayers, s.SelectedIndex);
        TableDef ledger("エリア台帳データ");
        ledger.field("レイヤコード", DbType::Text, 3).field("属性番号", DbType::Long).field("行数", DbType::Long);
        for (std::size_t i = 1; i <= static_cast<std::size_t>(layer.ItemCount); ++i) {
            std::int16_t type = 0;
            if (!SetTextToVbidx(layer.ItemType.at(i), type)) return false;
            const std::string name = text::fromCp932(layer.ItemName.at(i));
            if (type == FieldType::Integer) ledger.field(name, DbType::Integer);
            else if (type == FieldType::Long) ledger.field(name, DbType::Long);
            else ledger.field(name, DbType::Text, layer.ItemWidth.at(i));
        }
        ledger.index("属性番号", "属性番号", true);
        db.createTable(ledger);
        return true;
    });
}

bool makeTable(Database& db) {
    return guardedProcedure("makeTable",
                            [&] { return makeTable_NodeData(db) && makeTable_LinkData(db) && makeTable_Polygon(db); });
}

bool MakePolygonDb() {
    return guardedProcedure("MakePolygonDb", [&] {
        const std::string path = PolygonDbPath();
        db::removeFile(path);
        Database db = Database::create(path, Database::IfExists::Fail);
        if (!makeTable(db)) return false;  // the half-built file stays until the next area job
        db.close();
        return true;
    });
}

}  // namespace velmora::ModPolygon
