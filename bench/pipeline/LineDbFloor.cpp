#include "bench/pipeline/LineDbFloor.h"

#include <cstdint>
#include <fstream>
#include <map>

namespace velmora::bench {

namespace {

struct Counts {
    std::map<std::string, std::int64_t> records;  // by record kind
    std::int64_t vertices = 0;                    // coordinate pairs on continuation lines of "L"
    std::int64_t references = 0;                  // link references on continuation lines of "S"
};

std::string kindOf(const std::string& line) {
    std::string kind = line.substr(0, 3);
    while (!kind.empty() && kind.back() == ' ') kind.pop_back();
    while (!kind.empty() && kind.front() == ' ') kind.erase(0, 1);
    return kind;
}

bool isRecord(const std::string& kind) {
    return kind == "H" || kind == "N" || kind == "L" || kind == "S" || kind == "DS" || kind == "DL" || kind == "DP";
}

// A continuation line holds up to five 16-column vertices (two 8-column numbers) or five 14-column
// references; their count is what the line's width holds, which is what the loader stores.
void count(const std::string& path, Counts& c) {
    std::ifstream in(path, std::ios::binary);
    std::string owner;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string kind = kindOf(line);
        if (isRecord(kind)) {
            ++c.records[kind];
            owner = kind;
        } else if (owner == "L") {
            c.vertices += static_cast<std::int64_t>(line.size()) / 16;
        } else if (owner == "S") {
            c.references += static_cast<std::int64_t>(line.size()) / 14;
        }
    }
}

}  // namespace

std::vector<FloorTable> lineDbFloorTables(const std::vector<std::string>& inputs, int row, int ledgerItems) {
    Counts c;
    for (const std::string& path : inputs) count(path, c);
    std::vector<FloorTable> tables = {
        {row == 26 ? 12 : 11, c.records["N"], {1, 2}},  // ノードデータ: メッシュコード, ノード一連番号
        {12, c.records["L"], {1, 5}},                   // リンクデータ: 起点メッシュコード, リンク一連番号
        {4, c.vertices, {0, 1}, false},                 // リンクデータ中間点: LinkIdx, 中間点番号
        {10, c.records["S"], {9}},                      // ラインデータ: LinkIdx
        {5, c.references, {0, 1}, false},               // ラインリンクデータ: LinkIdx, リンク番号
        {3 + ledgerItems, c.records["DS"], {1}},        // 台帳データ: 属性番号
    };
    if (row == 25) tables.push_back({7, c.records["DL"], {1}});  // リンク台帳データ
    if (row == 26) tables.push_back({4, c.records["DP"], {1}});  // ノード台帳データ
    return tables;
}

}  // namespace velmora::bench
