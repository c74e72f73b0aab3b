#include "convert/area/PolygonLoader.h"

#include <span>

#include "convert/area/PolygonErrors.h"
#include "convert/area/PolygonLedger.h"
#include "convert/core/ConversionState.h"
#include "convert/line/LineHeader.h"
#include "convert/line/LineLoaderSteps.h"
#include "convert/line/LineRecords.h"
#include "convert/line/LinkVertexStore.h"
#include "convert/line/StatedPartCounts.h"
#include "platform/db/Database.h"

namespace velmora::ModPolygon {

using db::Appender;

bool SelectFileKind(std::string_view headerLine, std::string& kindText) {
    kindText.clear();
    return guardedProcedure("SelectFileKind", [&] {
        const auto& rows = conversionState().PolygonLayers;
        kindText = ModLine::FileKindText(std::span(rows.data(), kAreaItemRows), headerLine);
        return true;
    });
}

bool SetTextToTbl_Hed(std::int16_t& skip) {
    skip = 0;
    return guardedProcedure("SetTextToTbl_Hed", [&] {
        auto& s = conversionState();
        auto fileKind = [](std::string_view line) {
            std::string t;
            SelectFileKind(line, t);
            return t;
        };
        return ModLine::CheckHeaderLines({layerRow(s.PolygonLayers, s.SelectedIndex), 1, fileKind}, skip);
    });
}

bool SetTextToTbl_Node(std::string_view line, Appender& nodes) {
    return ModLine::RunRecordReader(errorTitle("SetTextToTbl_Node"), [&] { ModLine::AppendNodeRecord(line, nodes); });
}

bool SetTextToTbl_Link(std::string_view line, Appender& links, ModLine::LinkVertexStore& vertices) {
    return ModLine::RunRecordReader(errorTitle("SetTextToTbl_Link"),
                                    [&] { ModLine::AppendLinkRecord(line, links, vertices); });
}

bool SetTextToTbl_Pliy(std::string_view line, Appender& areas, Appender& references) {
    return ModLine::RunRecordReader(errorTitle("SetTextToTbl_Pliy"), [&] {
        ModLine::AppendReferencingRecord(line, ModLine::AreaColumns(), ModLine::kAreaReferenceCountColumn, areas,
                                         references);
    });
}

bool PolySetTextToTbl(db::Database& db, const std::string& path) {
    auto& s = conversionState();
    try {
        s.InFileNo.open(path);
        std::int16_t skip = 0;
        if (!SetTextToTbl_Hed(skip)) return false;
        if (skip == 1) {
            s.InFileNo.close();
            return true;
        }
        Appender& nodes = db.appender("ノードデータ");
        Appender& links = db.appender("リンクデータ");
        links.writeInGroups();  // keyed by LinkIdx, which the loader numbers
        ModLine::LinkVertexStore& vertices = ModLine::linkVertexStore(db);
        Appender& areas = db.appender("ポリゴンデータ");
        areas.writeInGroups();  // keyed by LinkIdx, which the loader numbers
        Appender& references = db.appender("ポリゴンリンクデータ");
        Appender& ledger = db.appender("エリア台帳データ");
        ledger.dropRepeatedKeys();  // the first record of an attribute number is the one kept
        const AreaLedgerReader ledgerReader(s.SelectedIndex, layerRow(s.PolygonLayers, s.SelectedIndex));
        ModLine::StatedPartCounts parts(s.HedCountsStated);
        const bool loaded =
            ModLine::LoadRecordLines(db, s.HedCounts[0], parts.counting([&](std::string_view kind, std::string_view line) {
                if (kind == "N") return SetTextToTbl_Node(line, nodes);
                if (kind == "L") return SetTextToTbl_Link(line, links, vertices);
                if (kind == "A") return SetTextToTbl_Pliy(line, areas, references);
                if (kind == "DA") return ledgerReader.read(line, ledger);
                return true;
            }));
        if (loaded) parts.check(path);
        return loaded;
    } catch (const RunTimeError& e) {
        s.InFileNo.closeQuietly();
        ui::showRunTimeError(e, errorTitle("PolySetTextToTbl"));
        return false;
    }
}

}  // namespace velmora::ModPolygon
