#include "convert/line/StationWriters.h"

#include <string>
#include <vector>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/core/ConversionProgress.h"
#include "convert/line/LineWriterSteps.h"
#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/db/Database.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace ModLine {

using velmora::conversionState;
using velmora::db::Database;
using velmora::db::Query;
namespace sd = velmora::shapedesc;
namespace text = velmora::text;

namespace {

const std::string kCaption = "駅名データ変換中・・・";

struct StationNode {
    std::string attributeNumber;  // empty when the node record had none
    std::int32_t x, y;
};

// A: the pair and its header block, fixed whatever the railway layer's items are.
void writeStationHeaderBlock() {
    auto& s = conversionState();
    sd::openPair();
    text::LineWriter& h = s.FilHFileNo.file();
    sd::writeMakeFileName(h, sd::shapeBaseName(s.OutputPath) + "_駅名");
    sd::writeShapeType(h, sd::Kind::Point, s.DatumCode);
    sd::writeFieldCount(h, 2);
    sd::writeFieldName(h, text::toCp932("属性番号"), "N", 12);
    sd::writeFieldName(h, text::toCp932("駅名"), "C", 56);
}

std::vector<StationNode> readNodes(Query& q) {
    std::vector<StationNode> nodes;
    while (q.next()) nodes.push_back({q.asText("ノード属性番号"), q.asLong("Ｘ座標"), q.asLong("Ｙ座標")});
    return nodes;
}

// B: one station node. Every station carries the id 1: record block and vertex list pair by their order.
class StationWriter {
public:
    explicit StationWriter(Database& db)
        : ledger_(db.query("SELECT 属性番号, 駅名 FROM ノード台帳データ WHERE 属性番号 = ? ORDER BY rowid")) {}

    // False when a coordinate could not be converted. `stationWritten` tells whether it was written.
    bool write(const StationNode& node, bool& stationWritten) {
        stationWritten = false;
        bool found = false;
        // A node flagged for the ledger without an attribute number has no ledger row to find.
        if (!text::trimBlanks(node.attributeNumber).empty()) {
            ledger_.bind(1, text::toDouble(node.attributeNumber));
            found = ledger_.next();
        }
        if (!found) {
            velmora::modCommon::PutLogFileMsg(11, text::toCp932("ノード属性番号 = ") + node.attributeNumber);
            return true;
        }
        auto& s = conversionState();
        double dx, dy;
        if (!velmora::ModPolygon::XYtoData(node.x, dx) || !velmora::ModPolygon::XYtoData(node.y, dy)) return false;
        sd::writeLinkIdx(s.FilDFileNo.file(), 1);
        sd::writeLinkData(s.FilDFileNo.file(), dx, dy);
        sd::writeLinkNo(s.FilHFileNo.file(), 1);
        values_[0] = ledger_.asText(0);
        values_[1] = ledger_.asText(1);
        sd::writeDbfItem(s.FilHFileNo.file(), values_);
        stationWritten = true;
        return true;
    }

private:
    Query ledger_;
    std::vector<std::string> values_ = std::vector<std::string>(2);
};

}  // namespace

bool MakeShapeLine_PointFileData(Database& db) {
    return RunWriter("MakeShapeLine_PointFileData", [&] {
        writeStationHeaderBlock();
        Query q = db.query("SELECT * FROM ノードデータ WHERE ノード台帳の有無 = 1 "
                           "ORDER BY メッシュコード, ノード一連番号, rowid");
        const std::vector<StationNode> nodes = readNodes(q);
        if (nodes.empty()) return ClosePairQuietly(), sd::refuseNothingToWrite(), false;
        StationWriter writer(db);
        bool written = false;
        if (!WriteRows(nodes, kCaption, [&](const StationNode& n, bool& one) { return writer.write(n, one); }, written))
            return ClosePairQuietly(), false;
        // Stations without a ledger row are logged (code 11) and passed over: when none has one, the
        // station output is written without records, beside the lines.
        return FinishWriter(YieldAfterRun::Yes, sd::EmptyOutput::Written);
    });
}

bool MakeShapeLine_PointFileData_Select(Database& db, bool& written) {
    written = false;
    return RunWriter("MakeShapeLine_PointFileData_Select", [&] {
        writeStationHeaderBlock();
        Query q = db.query("SELECT * FROM ノードデータ WHERE ノード台帳の有無 = 1 AND 起点メッシュコード >= ? AND "
                           "起点メッシュコード <= ? ORDER BY メッシュコード, ノード一連番号, rowid");
        StationWriter writer(db);
        if (!WriteSelection(q, kCaption, readNodes,
                            [&](const StationNode& n, bool& one) { return writer.write(n, one); }, written))
            return ClosePairQuietly(), false;
        return FinishSelection(written, YieldAfterRun::Yes);
    });
}

}  // namespace ModLine
