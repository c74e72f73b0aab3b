#include "bench/pipeline/LineDbFloor.h"

#include "bench/support/FixedColumnCounts.h"

namespace velmora::bench {

std::vector<FloorTable> lineDbFloorTables(const std::vector<std::string>& inputs, int row, int ledgerItems) {
    const FixedColumnCounts c = countFixedColumnRecords(inputs);
    // The links' points are kept outside the database, and its indexes of two fields count as one.
    std::vector<FloorTable> tables = {
        // ノードデータ: the railway row's three indexes are built only once a station writer reads the
        // table, which a line job never does
        {row == 26 ? 12 : 11, c.of("N"), {}},
        // リンクデータ: 起点メッシュコード with リンク一連番号 (not for roads)
        {12, c.of("L"), row == 25 ? std::vector<int>{} : std::vector<int>{1}},
        {10, c.of("S"), {9}},                      // ラインデータ: LinkIdx
        {5, c.references, {0}, false},             // ラインリンクデータ: LinkIdx with リンク番号
        {3 + ledgerItems, c.of("DS"), {1}},        // 台帳データ: 属性番号
    };
    if (row == 25) tables.push_back({7, c.of("DL"), {1}});  // リンク台帳データ
    if (row == 26) tables.push_back({4, c.of("DP"), {1}});  // ノード台帳データ
    return tables;
}

}  // namespace velmora::bench
