#include "convert/line/RoadLinkWriter.h"

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
namespace ui = velmora::ui;

namespace {

struct LinkGroup {
    std::int32_t linkIdx;         // the smallest LinkIdx of the link's copies
    std::string attributeNumber;  // empty when the link record had none
};

}  // namespace

bool MakeShapeLineFileData_Doro(Database& db, bool& goOn) {
    return RunWriter("MakeShapeLineFileData_Doro", [&] {
        Query ledgerRows = db.query("SELECT * FROM リンク台帳データ");
        goOn = true;
        if (!ledgerRows.next()) {
            const ui::Answer a = ui::message("台帳データが選択されていません。\r属性情報が作成されませんが、このまま作成しますか？",
                                             "確認ﾒｯｾｰｼﾞ", ui::Icon::Information, ui::Buttons::YesNo);
            if (a == ui::Answer::No) {
                goOn = false;
                return true;
            }
        }

        if (!WriteLineHeaderBlock(3)) return ClosePairQuietly(), false;
        Query groups = db.query(kDistinctLinksQuery);
        std::vector<LinkGroup> links;
        const int linkIdx = groups.column("LinkIdx2"), attribute = groups.column("リンク属性番号");
        while (groups.next()) links.push_back({groups.asLong(linkIdx), groups.asText(attribute)});
        if (links.empty()) return ClosePairQuietly(), sd::refuseNothingToWrite(), false;

        LineLedger ledger(db);
        LinkVertices vertices(db);
        velmora::text::LineWriter& d = conversionState().FilDFileNo.file();
        // A link stored without vertices writes nothing; the bar advances all the same.
        auto writeLink = [&](const LinkGroup& link, bool& shape) {
            if (!vertices.find(link.linkIdx)) return true;
            RunningBox box;
            std::int16_t points = 0;
            sd::writeLinkIdx(d, link.linkIdx);
            vertices.write(d, box, points);
            shape = OutPutLineHedFile(ledger, std::to_string(link.linkIdx), points, link.attributeNumber, box.minX,
                                      box.minY, box.maxX, box.maxY, 1, "0");
            return shape;
        };
        bool written = false;
        if (!WriteRows(links, "線データ変換中・・・", writeLink, written)) return ClosePairQuietly(), false;
        return FinishWriter();
    });
}

}  // namespace ModLine
