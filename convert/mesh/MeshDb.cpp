#include "convert/mesh/MeshDb.h"

#include <exception>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "convert/mesh/MeshCellOutput.h"
#include "convert/mesh/MeshGeometry.h"
#include "platform/db/Database.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace ModMesh {

using velmora::conversionState;
namespace db = velmora::db;

namespace {

template <class Body>
bool guarded(const char* procedure, Body&& body) {
    try {
        return body();
    } catch (const std::exception& e) {
        velmora::ui::showError(e, std::string("Error: ModMesh (") + procedure + ")");
        return false;
    }
}

// Rings of every distinct code, first met first; `rings(code, firstNumber)` writes those of one code.
template <class Rings>
bool writeDistinctCodes(const char* procedure, Rings&& rings) {
    return guarded(procedure, [&] {
        db::Query q = MeshWorkDb().query(
            "SELECT Min(LINKNO) AS MinLink, MESHCD FROM MESH GROUP BY MESHCD ORDER BY Min(LINKNO)");
        if (!q.next()) return false;
        do {
            if (!rings(velmora::text::trimBlanks(q.asText(1)), q.asLong(0))) return false;
        } while (q.next());
        return true;
    });
}

}  // namespace

db::Database& MeshWorkDb() {
    static db::Database database;
    return database;
}

std::string MeshDbPath() { return conversionState().AppFolder + kMeshDbName; }

bool pMeshDb() {
    return guarded("pMeshDb", [] {
        MeshWorkDb().close();
        MeshWorkDb() = db::Database::create(MeshDbPath(), db::Database::IfExists::Replace);
        MeshWorkDb().createTable(
            db::TableDef(kMeshTable).field("LINKNO", db::FieldType::Long).field("MESHCD", db::FieldType::Text, 10));
        // The table takes a row per record and is read once, by one grouping and sorting query. With a small
        // cache and no mapping, SQLite's sorter spills to its temporary files instead of holding every row
        // in memory, so a prefecture-scale job needs no more memory than a small one.
        MeshWorkDb().query("PRAGMA cache_size=-1024").next();
        MeshWorkDb().query("PRAGMA mmap_size=0").next();
        return true;
    });
}

bool MeshDBAdd(db::Appender& mesh, std::int32_t linkNo, std::string_view code) {
    return guarded("MeshDBAdd", [&] {
        mesh.newRow();
        mesh.set("LINKNO", linkNo);
        mesh.set("MESHCD", code);
        mesh.save();
        return true;
    });
}

void LogRingFailure() {
    const velmora::MeshLayerDef& layer = velmora::layerRow(conversionState().MeshLayers, conversionState().SelectedIndex);
    velmora::modCommon::PutLogFileMsg(velmora::modCommon::kFreeLogLine,
                                      layer.Name + velmora::text::toCp932("作成中にエラーが発生しました(メッシュコード→ＸＹ座標変換)"));
}

bool OutPutMDBtoCsv() {
    CellWriter writer;
    return writeDistinctCodes("OutPutMDBtoCsv", [&](std::string_view code, std::int32_t first) {
        velmora::text::LineWriter& d = conversionState().FilDFileNo.file();
        MeshRing ring;
        if (!MeshMake(code, ring)) return LogRingFailure(), false;
        writer.writeRing(d, first, ring);
        return true;
    });
}

bool OutPutSaiMDBtoCsv() {
    CellWriter writer;
    return writeDistinctCodes("OutPutSaiMDBtoCsv", [&](std::string_view code, std::int32_t first) {
        velmora::text::LineWriter& d = conversionState().FilDFileNo.file();
        const int n = velmora::layerRow(conversionState().MeshLayers, conversionState().SelectedIndex).Subdivision;
        std::int32_t k = first;
        for (std::int16_t row = 0; row < n; ++row)
            for (std::int16_t column = 0; column < n; ++column) {
                MeshRing ring;
                if (!SaibunMeshMake(code, column, row, ring)) return LogRingFailure(), false;
                writer.writeRing(d, k, ring);
                ++k;
            }
        return true;
    });
}

}  // namespace ModMesh
