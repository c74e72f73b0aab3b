#pragma once
// What loading a generated line file must store: the rows of each table of the line database, built from
// the generator's model by the rules of the records (a blank optional column Null, vertex and line
// numbers from the job's counters, ledger items cut at their catalogue positions).
#include <map>
#include <string>

#include "tests/convert/line/TableDump.h"
#include "tests/tools/gen/LineFileGen.h"

namespace velmora::testsupport {

struct LineCounters {
    int links = 0;
    int lines = 0;
};

// Appends the rows of one loaded file to `tables`. row: the selected line-table row.
inline void addExpectedRows(std::map<std::string, Dump>& tables, const gen::LineFileModel& m, int row,
                            LineCounters& counters) {
    auto pad = [](std::string s, std::size_t n) {
        s.resize(n, ' ');
        return s;
    };
    for (const gen::GenNode& n : m.nodes) {
        RowText r;
        r.t(pad(n.layerCode, 3)).v(n.mesh).v(n.serial).v(n.x).v(n.y).v(n.ledgerFlag).opt(n.attribute)
            .v(n.linkCount).v(n.frameInfo).opt(n.pairMesh).opt(n.pairNumber);
        if (row == 26) r.v(n.mesh);
        tables["ノードデータ"].push_back(r);
    }
    for (const gen::GenLink& l : m.links) {
        const int idx = ++counters.links;
        tables["リンクデータ"].push_back(RowText()
                                             .t(pad(l.layerCode, 3)).v(l.startMesh).v(l.startNumber).v(l.endMesh)
                                             .v(l.endNumber).v(l.serial).v(l.ledgerFlag).opt(l.attribute)
                                             .v(static_cast<long long>(l.vertices.size())).v(idx).v(0).v(0));
        for (const auto& [x, y] : l.vertices) tables[kLinkPoints].push_back(RowText().v(idx).v(x).v(y));
    }
    for (const gen::GenLine& s : m.lines) {
        const int idx = ++counters.lines;
        tables["ラインデータ"].push_back(RowText()
                                             .t(pad(s.layerCode, 3)).v(s.startMesh).v(s.startNumber).v(s.endMesh)
                                             .v(s.endNumber).v(s.serial).v(s.ledgerFlag).v(s.attribute)
                                             .v(static_cast<long long>(s.references.size())).v(idx));
        int k = 0;
        for (const gen::GenReference& ref : s.references)
            tables["ラインリンクデータ"].push_back(RowText().v(idx).v(++k).v(ref.mesh).v(ref.number).v(ref.flag));
    }
    const auto& items = gen::ordinaryLedgerItems();
    for (const gen::GenLineLedger& d : m.lineLedgers) {
        RowText r;
        r.t("DS ").v(d.attribute).v(1);
        for (std::size_t i = 0; i < items.size(); ++i) {
            const bool isText = items[i].type.find("Text") != std::string::npos;
            if (isText) r.t(text::fromCp932(gen::padCp932(d.values[i], items[i].width)));  // stored untrimmed
            else if (d.values[i].empty()) r.null();
            else r.t(d.values[i]);
        }
        // Ledgers of one attribute number: the first stays.
        tables["台帳データ"].push_back(r);
    }
    if (row == 25)
        for (const gen::GenRoadLedger& d : m.roadLedgers) {
            RowText r;
            r.t("DL ").v(d.attribute).v(1).v(d.roadKind);
            for (const std::string* name : {&d.routeName, &d.lineName, &d.commonName})
                name->empty() ? r.null() : r.t(*name);
            tables["リンク台帳データ"].push_back(r);
        }
    if (row == 26)
        for (const gen::GenStationLedger& d : m.stationLedgers)
            tables["ノード台帳データ"].push_back(RowText().t("DP ").v(d.attribute).v(1).t(d.name));
}

}  // namespace velmora::testsupport
