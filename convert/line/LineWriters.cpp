#include "convert/line/LineWriters.h"

#include <cstdint>
#include <string>
#include <vector>

#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/core/ConversionProgress.h"
#include "convert/line/LineRecordBlock.h"
#include "convert/line/LineWriterSteps.h"
#include "convert/core/RunningNumber.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/db/Database.h"
#include "platform/errors/RunTimeError.h"
#include "platform/ui/UiService.h"

namespace ModLine {

using velmora::conversionState;
using velmora::db::Database;
using velmora::db::Query;
namespace sd = velmora::shapedesc;

namespace {

struct LineRow {
    std::int32_t linkIdx;
    std::string attributeNumber;
};

// The queries of one line (C): its references, the link of a reference, the link's vertices.
class LineShapeWriter {
public:
    explicit LineShapeWriter(Database& db)
        : ledger_(db),
          references_(db.query(kReferencesOfLineQuery)),
          link_(db.query(kLinkOfReferenceQuery)),
          vertices_(db) {}

    // Writes one line; false when the writer must stop (a message has been shown). `shapeWritten` tells
    // whether its record block was written.
    bool write(const LineRow& line, bool& shapeWritten) {
        shapeWritten = false;
        velmora::text::LineWriter& d = conversionState().FilDFileNo.file();
        RunningBox box;
        std::int16_t points = 0, parts = 0;
        std::string partIndex;
        bool opened = false;

        references_.bind(1, line.linkIdx);
        while (references_.next()) {
            const std::int64_t mesh = references_.asLong(0);
            const std::int64_t number = references_.asLong(1);
            link_.bind(1, mesh).bind(2, number < 0 ? -number : number);
            if (!link_.next()) continue;
            if (!vertices_.find(link_.asLong(0))) continue;
            if (!opened) {
                sd::writeLinkIdx(d, line.linkIdx);
                opened = true;
            }
            incremented(parts);
            partIndex += partIndex.empty() ? std::string("0") : "," + std::to_string(points);
            vertices_.write(d, box, points);
        }
        if (parts == 0) return true;
        if (!OutPutLineHedFile(ledger_, std::to_string(line.linkIdx), points, line.attributeNumber, box.minX, box.minY,
                               box.maxX, box.maxY, parts, partIndex))
            return false;
        shapeWritten = true;
        return true;
    }

private:
    LineLedger ledger_;
    Query references_, link_;
    LinkVertices vertices_;
};

std::vector<LineRow> readLines(Query& q) {
    std::vector<LineRow> rows;
    const int linkIdx = q.column("LinkIdx"), attribute = q.column("ライン属性番号");
    while (q.next()) rows.push_back({q.asLong(linkIdx), q.asText(attribute)});
    return rows;
}

const std::string kCaption = "線データ変換中・・・";

// The fields of a line that the writer reads: the rows the query sorts carry these alone.
const std::string kLinesRead = "SELECT LinkIdx, ライン属性番号 FROM ラインデータ ";

}  // namespace

bool MakeShapeLineFileData(Database& db) {
    return RunWriter("MakeShapeLineFileData", [&] {
        if (!WriteLineHeaderBlock(4)) return ClosePairQuietly(), false;
        Query q = db.query(kLinesRead + "ORDER BY ライン一連番号, LinkIdx");
        const std::vector<LineRow> lines = readLines(q);
        if (lines.empty()) return ClosePairQuietly(), sd::refuseNothingToWrite(), false;
        LineShapeWriter writer(db);
        bool written = false;
        if (!WriteRows(lines, kCaption, [&](const LineRow& l, bool& shape) { return writer.write(l, shape); }, written))
            return ClosePairQuietly(), false;
        return FinishWriter();
    });
}

bool MakeShapeLineFileData_Select(Database& db, bool& written) {
    written = false;
    return RunWriter("MakeShapeLineFileData_Select", [&] {
        if (!WriteLineHeaderBlock(4)) return ClosePairQuietly(), false;
        Query q = db.query(kLinesRead + "WHERE 起点メッシュコード >= ? AND 起点メッシュコード <= ? ORDER BY ライン一連番号, LinkIdx");
        LineShapeWriter writer(db);
        if (!WriteSelection(q, kCaption, readLines,
                            [&](const LineRow& l, bool& shape) { return writer.write(l, shape); }, written))
            return ClosePairQuietly(), false;
        return FinishSelection(written);
    });
}

}  // namespace ModLine
