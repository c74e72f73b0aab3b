#include "convert/line/LineLoader.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/core/ConversionProgress.h"
#include "convert/line/LineDb.h"
#include "convert/line/LineHeader.h"
#include "convert/line/LineInput.h"
#include "convert/line/LineLoaderSteps.h"
#include "convert/line/LineRecords.h"
#include "convert/line/LinkVertexStore.h"
#include "convert/line/StatedPartCounts.h"
#include "convert/core/RunningNumber.h"
#include "platform/db/Database.h"
#include "platform/db/DbErrors.h"
#include "platform/db/Transaction.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/LineReader.h"
#include "platform/text/Sjis.h"
#include "platform/ui/UiService.h"

namespace ModLine {

using velmora::RunTimeError;
using velmora::conversionState;
using velmora::db::Appender;
namespace ui = velmora::ui;
namespace text = velmora::text;

namespace {

// A record line where a continuation line should stand: the record's count promised more lines than the
// file holds. Taken as a continuation line it would be swallowed, its record lost and the job reported
// as a success.
struct RecordInPlaceOfContinuation {};

// A vertex whose X or Y is no number (a blank X ends the line's points before this is asked).
[[noreturn]] void RefuseVertex(const VertexColumns& v) {
    const auto at = text::lastReadPosition();
    throw RunTimeError(velmora::err::InputRefused,
                       "入力ファイル " + (at ? text::positionText(*at) : std::string("?")) + "の中間点の座標（X「" +
                           text::fromCp932(v.x) + "」、Y「" + text::fromCp932(v.y) + "」）が数値ではありません。");
}

bool guarded(const char* procedure, const std::function<void()>& body) {
    return RunRecordReader(std::string("Error: ModLine (ModLine ") + procedure + ")", body);
}

// Reads the continuation lines of a record of n entries from InFileNo. Entry k (0-4) of each line gets
// the next running number and goes to `store`, which gives false where the line stops; the number then
// has counted that position too, and the next line is read all the same. A record line among them throws
// RecordInPlaceOfContinuation.
template <class Store>
void readContinuationLines(std::int32_t n, Store&& store) {
    std::int16_t number = 0;
    std::string cont;
    for (std::int32_t i = 0, count = ContinuationLineCount(n); i < count; ++i) {
        ReadInputLine(cont);
        if (IsRecordLine(cont)) throw RecordInPlaceOfContinuation{};
        const text::SjisColumns columns(cont);
        for (int k = 0; k < 5; ++k)
            if (!store(columns, k, incremented(number))) break;
    }
}

// The selected row's ledger items, decoded once per file.
struct LedgerItem {
    std::string name;  // UTF-8 field name
    bool text;         // the type name contains "Text" (exact case)
    long start, width;
};
std::vector<LedgerItem>& ledgerItems() {
    static std::vector<LedgerItem> items;
    return items;
}

void prepareLedgerItems() {
    auto& s = conversionState();
    const velmora::LayerDef& layer = velmora::layerRow(s.LineLayers, s.SelectedIndex);
    std::vector<LedgerItem>& items = ledgerItems();
    items.clear();
    for (std::size_t i = 1; i <= static_cast<std::size_t>(layer.ItemCount); ++i)
        items.push_back({text::fromCp932(layer.ItemName.at(i)), layer.ItemType.at(i).find("Text") != std::string::npos,
                         layer.ItemStart.at(i), layer.ItemWidth.at(i)});
}

}  // namespace

std::string_view AsStored(std::string_view cut) { return cut.data() ? cut : std::string_view("", 0); }

void StoreColumns(Appender& a, std::string_view line, std::span<const RecordColumn> columns) {
    const text::SjisColumns cuts(line);
    // A file cut inside the record's first column is refused (ChkRecordLength); columns past the end of a
    // whole line are blank and stored by their rules.
    if (!columns.empty()) {
        const RecordColumn& first = *std::min_element(columns.begin(), columns.end(),
                                                      [](const RecordColumn& a, const RecordColumn& b) { return a.start < b.start; });
        velmora::modCommon::ChkRecordLength(cuts.charCount(), static_cast<long>(first.start) + first.width - 1);
    }
    for (const RecordColumn& c : columns) {
        const std::string_view cut = cuts.cut(c.start, c.width);
        switch (c.rule) {
            case StoreRule::AsRead: a.set(c.field, AsStored(cut)); break;
            case StoreRule::WhenNumeric: a.setIfNumeric(c.field, cut); break;
            case StoreRule::NumericElseZero:
                if (!a.setIfNumeric(c.field, cut)) a.set(c.field, 0);
                break;
        }
    }
}

bool RunRecordReader(const std::string& title, const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const RunTimeError& e) {
        ui::showRunTimeError(e, title);
        return false;
    } catch (const RecordInPlaceOfContinuation&) {
        ShowFileFormatMessage();
        return false;
    }
}

void AppendNodeRecord(std::string_view line, Appender& nodes) {
    nodes.newRow();
    StoreColumns(nodes, line, NodeColumns());
    nodes.save();
}

void AppendLinkRecord(std::string_view line, Appender& links, LinkVertexStore& vertices) {
    auto& s = conversionState();
    links.newRow();
    StoreColumns(links, line, LinkColumns());
    const std::int32_t linkIdx = incremented(s.LinkIdxCounter[0]);
    links.set("LinkIdx", linkIdx);
    links.set("使用フラグ1", 0);
    links.set("使用フラグ2", 0);
    links.save();

    // The points go to the store under this link's LinkIdx, in reading order. Their running number is
    // stored nowhere, but it still counts each position, a short line's stop included, so a link of more
    // points than it holds ends in its overflow error as it always did.
    vertices.beginLink(linkIdx);
    const std::int32_t n =
        text::leadingNumber(CharColumns(line, kLinkVertexCountColumn.start, kLinkVertexCountColumn.width));
    readContinuationLines(n, [&](const text::SjisColumns& cont, int k, std::int16_t) {
        const VertexColumns v = CutVertex(cont, k);
        // x is read once: as the plain whole number nearly every file holds, or else tested and converted.
        try {
            if (const auto x = text::plainWholeNumber(v.x)) {
                vertices.add(*x, v.y);
                return true;
            }
            // A blank X ends the line's points (a short last line); a corrupt one would end them silently.
            if (text::trimBlanks(v.x).empty()) return false;
            if (!text::isNumeric(v.x)) RefuseVertex(v);
            vertices.add(v.x, v.y);
        } catch (const RunTimeError& e) {
            // Y is converted by the store: one that is no number (a blank one too) is refused alike.
            if (e.number() == velmora::db::err::DataTypeConversion) RefuseVertex(v);
            throw;
        }
        return true;
    });
}

void AppendReferencingRecord(std::string_view line, std::span<const RecordColumn> columns,
                             const RecordColumn& countColumn, Appender& rows, Appender& references) {
    auto& s = conversionState();
    rows.newRow();
    StoreColumns(rows, line, columns);
    const std::int32_t linkIdx = incremented(s.LinkIdxCounter[1]);
    rows.set("LinkIdx", linkIdx);
    rows.save();

    const std::int32_t n = text::leadingNumber(CharColumns(line, countColumn.start, countColumn.width));
    readContinuationLines(n, [&](const text::SjisColumns& cont, int k, std::int16_t referenceNo) {
        const ReferenceColumns r = CutReference(cont, k);
        if (!text::isNumeric(r.mesh)) return false;
        references.newRow();
        references.set("LinkIdx", linkIdx);
        references.set("リンク番号", referenceNo);
        references.set("メッシュコード", r.mesh);
        references.set("番号", r.number);
        references.set("フラグ", r.flag);
        references.save();
        return true;
    });
}

bool LoadRecordLines(velmora::db::Database& db, double maximum, const RecordDispatch& record) {
    auto& s = conversionState();
    velmora::progress::setMaximum(maximum);
    velmora::progress::setCaption("初期処理中・・・");
    velmora::progress::setVisible(true);
    ui::service().yield();

    velmora::db::Transaction transaction(db);
    text::LineReader& in = s.InFileNo.file();
    std::string line;
    while (in.next(line)) {
        if (!record(RecordKind(line), line)) return false;
        velmora::progress::step();
    }
    transaction.commit();

    s.InFileNo.close();
    velmora::progress::fill();
    velmora::progress::setVisible(false);
    return true;
}

bool SetLineTextToTbl_Node(std::string_view line, Appender& nodes) {
    return guarded("SetLineTextToTbl_Node", [&] {
        if (conversionState().SelectedIndex != kRailwayRow) return AppendNodeRecord(line, nodes);
        nodes.newRow();
        StoreColumns(nodes, line, NodeColumns());
        nodes.set(kNodeStartMeshColumn.field, CharColumns(line, kNodeStartMeshColumn.start, kNodeStartMeshColumn.width));
        nodes.save();
    });
}

bool SetLineTextToTbl_Link(std::string_view line, Appender& links, LinkVertexStore& vertices) {
    return guarded("SetLineTextToTbl_Link", [&] { AppendLinkRecord(line, links, vertices); });
}

bool SetLineTextToTbl_Line(std::string_view line, Appender& lines, Appender& references) {
    return guarded("SetLineTextToTbl_Line",
                   [&] { AppendReferencingRecord(line, LineColumns(), kLineReferenceCountColumn, lines, references); });
}

bool SetLineTextToTbl_Area(std::string_view line, Appender& ledger) {
    try {
        ledger.newRow();
        StoreColumns(ledger, line, LineLedgerColumns());
        for (const LedgerItem& item : ledgerItems()) {
            const std::string_view cut = velmora::modCommon::MidByteSjis(line, item.start, item.width);
            if (item.text) ledger.set(item.name, AsStored(cut));
            else ledger.setIfNumeric(item.name, cut);
        }
        ledger.save();
        return true;
    } catch (const RunTimeError& e) {
        // The first record of an attribute number is the one kept; later ones are dropped silently.
        if (e.number() == velmora::err::DuplicateKey) return true;
        ui::showRunTimeError(e, "Error: ModLine (ModLine SetLineTextToTbl_Area)");
        return false;
    }
}

bool SetLineTextToTbl_LinkD(std::string_view line, Appender& roadLedger) {
    return guarded("SetLineTextToTbl_LinkD", [&] {
        roadLedger.newRow();
        StoreColumns(roadLedger, line, RoadLedgerColumns());
        for (const ByteColumn& c : RoadLedgerNameColumns()) {
            const std::string_view name = text::trimBlanks(velmora::modCommon::MidByteSjis(line, c.start, c.width));
            if (!name.empty()) roadLedger.set(c.field, name);
        }
        roadLedger.save();
    });
}

bool SetLineTextToTbl_NodeD(std::string_view line, Appender& stationLedger) {
    return guarded("SetLineTextToTbl_NodeD", [&] {
        stationLedger.newRow();
        StoreColumns(stationLedger, line, StationLedgerColumns());
        stationLedger.set(kStationNameColumn.field,
                          AsStored(text::trimBlanks(CharColumns(line, kStationNameColumn.start, kStationNameColumn.width))));
        stationLedger.save();
    });
}

bool SetLineTextToTbl(velmora::db::Database& db, const std::string& path) {
    auto& s = conversionState();
    try {
        s.InFileNo.open(path);
        std::int16_t skip = 0;
        if (!SetLineTextToTbl_Hed(skip)) return false;
        if (skip == 1) {
            s.InFileNo.close();
            return true;
        }

        const int row = s.SelectedIndex;
        Appender& nodes = db.appender("ノードデータ");
        Appender& links = db.appender("リンクデータ");
        LinkVertexStore& vertices = linkVertexStore(db);
        Appender& lines = db.appender("ラインデータ");
        lines.writeInGroups();  // keyed by LinkIdx, which the loader numbers
        Appender& references = db.appender("ラインリンクデータ");
        Appender& ledger = db.appender("台帳データ");
        ledger.dropRepeatedKeys();  // the first record of an attribute number is the one kept
        Appender* roadLedger = row == kRoadRow ? &db.appender("リンク台帳データ") : nullptr;
        Appender* stationLedger = row == kRailwayRow ? &db.appender("ノード台帳データ") : nullptr;
        prepareLedgerItems();

        // Ledger files ("_台" anywhere in the path) count their ledger records, held in place 3.
        const bool ledgerFile = path.find("_台") != std::string::npos;
        StatedPartCounts parts(s.HedCountsStated);
        const bool loaded = LoadRecordLines(
            db, ledgerFile ? s.HedCounts[2] : s.HedCounts[0], parts.counting([&](std::string_view kind, std::string_view line) {
                if (kind == "N") return SetLineTextToTbl_Node(line, nodes);
                if (kind == "L") return SetLineTextToTbl_Link(line, links, vertices);
                if (kind == "S") return SetLineTextToTbl_Line(line, lines, references);
                if (kind == "DS") return SetLineTextToTbl_Area(line, ledger);
                if (kind == "DL" && roadLedger) return SetLineTextToTbl_LinkD(line, *roadLedger);
                if (kind == "DP" && stationLedger) return SetLineTextToTbl_NodeD(line, *stationLedger);
                return true;
            }));
        if (loaded) parts.check(path);
        return loaded;
    } catch (const RunTimeError& e) {
        s.InFileNo.closeQuietly();
        ui::showRunTimeError(e, "Error: ModLine (ModLine SetLineTextToTbl)");
        return false;
    }
}

}  // namespace ModLine
