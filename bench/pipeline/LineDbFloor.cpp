#include "bench/pipeline/LineDbFloor.h"

#include "bench/support/FixedColumnCounts.h"

namespace velmora::bench {

std::vector<FloorTable> lineDbFloorTables(const std::vector<std::string>& inputs, int row, int ledgerItems) {
    const FixedColumnCounts c = countFixedColumnRecords(inputs);
    std::vector<FloorTable> tables = {
        {row == 26 ? 12 : 11, c.of("N"), {1, 2}},  // ノードデータ: メッシュコード, ノード一連番号
        {12, c.of("L"), {1, 5}},                   // リンクデータ: 起点メッシュコード, リンク一連番号
        {4, c.vertices, {0, 1}, false},            // リンクデータ中間点: LinkIdx, 中間点番号
        {10, c.of("S"), {9}},                      // ラインデータ: LinkIdx
        {5, c.references, {0, 1}, false},          // ラインリンクデータ: LinkIdx, リンク番号
        {3 + ledgerItems, c.of("DS"), {1}},        // 台帳データ: 属性番号
    };
    if (row == 25) tables.push_back({7, c.of("DL"), {1}});  // リンク台帳データ
    if (row == 26) tables.push_back({4, c.of("DP"), {1}});  // ノード台帳データ
    return tables;
}

}  // namespace velmora::bench
