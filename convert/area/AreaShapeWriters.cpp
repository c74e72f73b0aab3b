#include "convert/area/AreaShapeWriters.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "convert/area/PolygonErrors.h"
#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionProgress.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/line/LineWriterSteps.h"
#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/db/Database.h"
#include "platform/db/Names.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"

namespace velmora::ModPolygon {

using db::Database;
using db::Query;
namespace sd = shapedesc;

namespace {

enum class Output { Lines, Points };

// What tells the four writers apart.
struct Variant {
    const char* procedure;
    Output output;
    bool selection;          // one query per mesh condition instead of one grouped query
    const char* serialName;  // the lines' fifth field
};
constexpr Variant kLines{"MakeShapeArcFileData", Output::Lines, false, "Link一連No"};
constexpr Variant kLinesSelect{"MakeShapeArcFileData_Select", Output::Lines, true, "LINK一連No"};
constexpr Variant kPoints{"MakeShapePolygon_PointFileData", Output::Points, false, nullptr};
constexpr Variant kPointsSelect{"MakeShapePolygon_PointFileData_Select", Output::Points, true, nullptr};

constexpr std::int32_t kWidestSixDigitIdx = 999999;

// The rows of the main queries: the shape id and what the shape's record needs, as numbers (a
// nationwide database holds hundreds of thousands of them).
struct LinkRow {
    std::int32_t id;
    std::array<std::int32_t, 5> values;  // start mesh, start node, end mesh, end node, link serial
};
struct AreaRow {
    std::int32_t id;
    std::int32_t serial;
    std::int32_t attribute;
    std::int32_t x, y;
};

constexpr const char* kDistinctAreas =
    "SELECT 代表点メッシュコード, 代表点Ｘ座標, 代表点Ｙ座標, エリア一連番号, エリア台帳の有無, エリア属性番号, "
    "エリア構成リンク数, Min(LinkIdx) AS LinkIdx2 FROM ポリゴンデータ "
    "GROUP BY 代表点メッシュコード, 代表点Ｘ座標, 代表点Ｙ座標, エリア一連番号, エリア台帳の有無, エリア属性番号, "
    "エリア構成リンク数 "
    "ORDER BY 代表点メッシュコード, 代表点Ｘ座標, 代表点Ｙ座標, エリア一連番号, エリア台帳の有無, エリア属性番号, "
    "エリア構成リンク数";
constexpr const char* kLinksOfCondition =
    "SELECT 起点メッシュコード, 起点番号, 終点メッシュコード, 終点番号, リンク一連番号, LinkIdx AS LinkIdx2 "
    "FROM リンクデータ WHERE 起点メッシュコード >= ? AND 起点メッシュコード <= ? ORDER BY リンク一連番号, rowid";
constexpr const char* kAreasOfCondition =
    "SELECT 代表点Ｘ座標, 代表点Ｙ座標, エリア一連番号, エリア属性番号, LinkIdx AS LinkIdx2 FROM ポリゴンデータ "
    "WHERE 代表点メッシュコード >= ? AND 代表点メッシュコード <= ? ORDER BY エリア一連番号, rowid";

// The rows' columns are found by name once; hundreds of thousands of rows are read.
std::vector<LinkRow> readLinks(Query& q) {
    const int id = q.column("LinkIdx2");
    int c[5];
    for (int i = 0; const char* name : {"起点メッシュコード", "起点番号", "終点メッシュコード", "終点番号", "リンク一連番号"})
        c[i++] = q.column(name);
    std::vector<LinkRow> rows;
    while (q.next())
        rows.push_back({q.asLong(id), {q.asLong(c[0]), q.asLong(c[1]), q.asLong(c[2]), q.asLong(c[3]), q.asLong(c[4])}});
    return rows;
}

std::vector<AreaRow> readAreas(Query& q) {
    const int id = q.column("LinkIdx2"), serial = q.column("エリア一連番号"), attribute = q.column("エリア属性番号"),
              x = q.column("代表点Ｘ座標"), y = q.column("代表点Ｙ座標");
    std::vector<AreaRow> rows;
    while (q.next())
        rows.push_back({q.asLong(id), q.asLong(serial), q.asLong(attribute), q.asLong(x), q.asLong(y)});
    return rows;
}

std::string baseName() { return sd::shapeBaseName(conversionState().OutputPath); }
std::string suffix(Output o) { return o == Output::Lines ? "_L" : "_P"; }

// The header block of the line output.
void writeLineHeader(const Variant& v) {
    auto& s = conversionState();
    sd::openPair();
    text::LineWriter& h = s.FilHFileNo.file();
    sd::writeMakeFileName(h, baseName() + suffix(v.output));
    sd::writeShapeType(h, sd::Kind::Line, s.DatumCode);
    sd::writeFieldCount(h, 6);
    for (const char* name : {"起点MeshCD", "起点番号", "終点MeshCD", "終点番号", v.serialName})
        sd::writeFieldName(h, text::toCp932(name), "C", 6);
    sd::writeFieldName(h, "LINKIDX", "C", LinkIdxFieldWidth());
}

// The progress display of one query's n rows: lines count in tenths up to n/10 × 1.1, points in units up
// to n × 1.1.
void beginProgress(Output o, std::size_t n, const std::string& caption) {
    const double rows = static_cast<double>(n);
    if (o == Output::Lines) progress::setMaximumInTenths(rows / 10 * 1.1);
    else progress::setMaximum(rows * 1.1);
    progress::setCaption(caption);
    ui::service().yield();
    progress::setVisible(true);
    ui::service().yield();
}

// Writes the rows of one query; `write(row)` gives false when the writer must stop and sets `written`
// for a shape written.
template <class Row, class Write>
bool writeRows(Output o, const std::vector<Row>& rows, const std::string& caption, Write&& write) {
    beginProgress(o, rows.size(), caption);
    for (const Row& row : rows) {
        if (!write(row)) return false;
        if (o == Output::Lines) progress::stepTenth();
        else progress::step();
    }
    return true;
}

class LineShapes {
public:
    explicit LineShapes(Database& db) : vertices_(db) {}

    // A link without vertex rows writes nothing.
    bool write(const LinkRow& link, bool& written) {
        auto& s = conversionState();
        if (!vertices_.find(link.id)) return true;
        ModLine::RunningBox box;
        std::int16_t points = 0;
        sd::writeLinkIdx(s.FilDFileNo.file(), link.id);
        vertices_.write(s.FilDFileNo.file(), box, points);
        text::LineWriter& h = s.FilHFileNo.file();
        sd::writeLinkNo(h, link.id);
        ModLine::WriteBox(h, box);
        sd::writePartsPoints(h, 1, points);
        sd::writePartIdx(h, "0");
        for (std::size_t i = 0; i < link.values.size(); ++i) values_[i] = std::to_string(link.values[i]);
        values_[5] = std::to_string(link.id);
        sd::writeDbfItem(h, values_);
        written = true;
        return true;
    }

private:
    ModLine::LinkVertices vertices_;
    std::vector<std::string> values_ = std::vector<std::string>(6);
};

class PointShapes {
public:
    explicit PointShapes(Database& db) : ledger_(db.query(ledgerQuery())), values_(1 + fields_) {}

    // An area without a ledger row gets the code-7 log line and no point.
    bool write(const AreaRow& area, bool& written) {
        auto& s = conversionState();
        ledger_.bind(1, area.attribute);
        if (!ledger_.next()) {
            modCommon::PutLogFileMsg(7, text::toCp932("エリア一連番号 = ") + std::to_string(area.serial) + "/" +
                                            text::toCp932("エリア属性番号 = ") + std::to_string(area.attribute));
            return true;
        }
        sd::writeLinkIdx(s.FilDFileNo.file(), area.id);
        sd::writeLinkData(s.FilDFileNo.file(), sd::Millionths{XYtoMillionths(area.x)}, sd::Millionths{XYtoMillionths(area.y)});
        sd::writeLinkNo(s.FilHFileNo.file(), area.id);
        values_[0] = std::to_string(area.serial);
        for (std::size_t i = 1; i < values_.size(); ++i) values_[i] = ledger_.asText(static_cast<int>(i));
        sd::writeDbfItem(s.FilHFileNo.file(), values_);
        written = true;
        return true;
    }

private:
    // The flagged items of the selected row, by name; the attribute number first.
    std::string ledgerQuery() {
        auto& s = conversionState();
        const LayerDef& layer = layerRow(s.PolygonLayers, s.SelectedIndex);
        std::string sql = "SELECT 属性番号";
        for (std::size_t i = 1; i <= static_cast<std::size_t>(layer.ItemCount); ++i) {
            if (!layer.ItemOutput.at(i)) continue;
            sql += ", " + db::quoteName(text::fromCp932(layer.ItemName.at(i)));
            ++fields_;
        }
        return sql + " FROM エリア台帳データ WHERE 属性番号 = ?";
    }

    std::size_t fields_ = 0;
    Query ledger_;
    std::vector<std::string> values_;
};

// Closes the pair, runs Brunhale (or, for a selection without a shape, shows the no-data message),
// offers a written shapefile to the map and deletes the pair. The question comes before the deletion.
bool finish(const Variant& v, bool written, const MapOffer& offerToMap) {
    sd::closePair();
    progress::setCaption("Shapeﾌｧｲﾙ出力中・・・");
    ui::service().yield();
    if (v.selection && !written) {
        ui::message("選択されたメッシュコードに該当するデータがありませんでした。", "ﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
    } else if (sd::runShapeWriterOnPair(sd::PairDeletion::Never)) {
        progress::fill();
        ui::service().yield();
        if (offerToMap) offerToMap(baseName() + suffix(v.output) + ".shp");
    }
    progress::fill();
    sd::deletePair();
    ui::service().yield();
    return true;
}

// The rows of every mesh condition of the nationwide selection, in order; a condition without rows is
// passed over. The conditions' codes are bound, never spliced into the query.
template <class Row, class Read, class Write>
bool writeSelection(const Variant& v, Query& q, const std::vector<std::string>& conditions, const char* field,
                    const std::string& caption, Read&& read, Write&& write) {
    auto& s = conversionState();
    for (std::int32_t i = 1; i <= s.MeshRangeCount; ++i) {
        const ModLine::MeshCondition c = ModLine::ParseMeshWhere(conditions.at(static_cast<std::size_t>(i)), field);
        q.bind(1, c.from).bind(2, c.to);
        const std::vector<Row> rows = read(q);
        if (rows.empty()) continue;
        if (!writeRows(v.output, rows, ModLine::ConditionCaption(caption, i, s.MeshRangeCount), write)) return false;
    }
    return true;
}

template <class Row, class Read, class Shapes>
bool writeOutput(Database& db, const Variant& v, const MapOffer& offerToMap, const char* allQuery,
                 const char* conditionQuery, const std::vector<std::string>& conditions, const char* field,
                 const std::string& caption, Read&& read, Shapes& shapes) {
    bool written = false;
    auto write = [&](const Row& row) { return shapes.write(row, written); };
    if (v.selection) {
        Query q = db.query(conditionQuery);
        if (!writeSelection<Row>(v, q, conditions, field, caption, read, write)) return ModLine::ClosePairQuietly(), false;
    } else {
        Query q = db.query(allQuery);
        const std::vector<Row> rows = read(q);
        if (rows.empty() || !writeRows(v.output, rows, caption, write)) return ModLine::ClosePairQuietly(), false;
    }
    return finish(v, written, offerToMap);
}

bool writeLines(Database& db, const Variant& v, const MapOffer& offerToMap) {
    return ModLine::RunWriterTitled(errorTitle(v.procedure), [&] {
        writeLineHeader(v);
        LineShapes shapes(db);
        return writeOutput<LinkRow>(db, v, offerToMap, ModLine::kDistinctLinksQuery, kLinksOfCondition,
                                    conversionState().StartMeshWhere, "起点メッシュコード", "線データ変換中・・・",
                                    readLinks, shapes);
    });
}

bool writePoints(Database& db, const Variant& v, const MapOffer& offerToMap) {
    return ModLine::RunWriterTitled(errorTitle(v.procedure), [&] {
        auto& s = conversionState();
        if (!ModLine::WriteItemHeaderBlock(layerRow(s.PolygonLayers, s.SelectedIndex), baseName() + suffix(v.output),
                                           sd::Kind::Point, "C"))
            return ModLine::ClosePairQuietly(), false;
        PointShapes shapes(db);
        return writeOutput<AreaRow>(db, v, offerToMap, kDistinctAreas, kAreasOfCondition, s.RepMeshWhere,
                                    "代表点メッシュコード", "代表点データ変換中・・・", readAreas, shapes);
    });
}

}  // namespace

int LinkIdxFieldWidth() { return conversionState().LinkIdxCounter[0] > kWidestSixDigitIdx ? 10 : 6; }

bool MakeShapeArcFileData(Database& db, const MapOffer& offerToMap) { return writeLines(db, kLines, offerToMap); }
bool MakeShapeArcFileData_Select(Database& db, const MapOffer& offerToMap) {
    return writeLines(db, kLinesSelect, offerToMap);
}
bool MakeShapePolygon_PointFileData(Database& db, const MapOffer& offerToMap) {
    return writePoints(db, kPoints, offerToMap);
}
bool MakeShapePolygon_PointFileData_Select(Database& db, const MapOffer& offerToMap) {
    return writePoints(db, kPointsSelect, offerToMap);
}

}  // namespace velmora::ModPolygon
