#include "convert/line/LineRecords.h"


#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Sjis.h"

namespace ModLine {

namespace {

constexpr std::array<RecordColumn, 11> kNode{{
    {"レイヤコード", 1, 3, StoreRule::AsRead},
    {"メッシュコード", 4, 6, StoreRule::AsRead},
    {"ノード一連番号", 10, 6, StoreRule::AsRead},
    {"Ｘ座標", 16, 8, StoreRule::AsRead},
    {"Ｙ座標", 24, 8, StoreRule::AsRead},
    {"ノード台帳の有無", 32, 2, StoreRule::AsRead},
    {"ノード属性番号", 34, 10, StoreRule::WhenNumeric},
    {"接続リンク数", 44, 3, StoreRule::AsRead},
    {"図郭情報", 47, 2, StoreRule::AsRead},
    {"対応点メッシュコード", 49, 6, StoreRule::WhenNumeric},
    {"対応点番号", 55, 6, StoreRule::WhenNumeric},
}};

constexpr std::array<RecordColumn, 9> kLink{{
    {"レイヤコード", 1, 3, StoreRule::AsRead},
    {"起点メッシュコード", 4, 6, StoreRule::AsRead},
    {"起点番号", 10, 6, StoreRule::AsRead},
    {"終点メッシュコード", 16, 6, StoreRule::AsRead},
    {"終点番号", 22, 6, StoreRule::AsRead},
    {"リンク一連番号", 28, 6, StoreRule::AsRead},
    {"リンク台帳の有無", 34, 2, StoreRule::AsRead},
    {"リンク属性番号", 36, 10, StoreRule::WhenNumeric},
    kLinkVertexCountColumn,
}};

constexpr std::array<RecordColumn, 9> kLine{{
    {"レイヤコード", 1, 3, StoreRule::AsRead},
    {"起点メッシュコード", 4, 6, StoreRule::AsRead},
    {"起点番号", 10, 6, StoreRule::AsRead},
    {"終点メッシュコード", 16, 6, StoreRule::AsRead},
    {"終点番号", 22, 6, StoreRule::AsRead},
    {"ライン一連番号", 28, 8, StoreRule::AsRead},
    {"ライン台帳の有無", 36, 2, StoreRule::NumericElseZero},
    {"ライン属性番号", 38, 10, StoreRule::AsRead},
    kLineReferenceCountColumn,
}};

constexpr std::array<RecordColumn, 8> kArea{{
    {"レイヤコード", 1, 3, StoreRule::AsRead},
    {"代表点メッシュコード", 4, 6, StoreRule::AsRead},
    {"代表点Ｘ座標", 10, 8, StoreRule::AsRead},
    {"代表点Ｙ座標", 18, 8, StoreRule::AsRead},
    {"エリア一連番号", 26, 8, StoreRule::AsRead},
    {"エリア台帳の有無", 34, 2, StoreRule::AsRead},
    {"エリア属性番号", 36, 10, StoreRule::AsRead},
    kAreaReferenceCountColumn,
}};

constexpr std::array<RecordColumn, 3> kLineLedger{{
    {"レイヤコード", 1, 3, StoreRule::AsRead},
    {"属性番号", 4, 10, StoreRule::AsRead},
    {"行数", 14, 3, StoreRule::AsRead},
}};

constexpr std::array<RecordColumn, 4> kRoadLedger{{
    {"レイヤコード", 1, 3, StoreRule::AsRead},
    {"属性番号", 4, 10, StoreRule::AsRead},
    {"属性の行数", 14, 3, StoreRule::AsRead},
    {"道路種別CD", 17, 2, StoreRule::AsRead},
}};

constexpr std::array<RecordColumn, 3> kStationLedger{{
    {"レイヤコード", 1, 3, StoreRule::AsRead},
    {"属性番号", 4, 10, StoreRule::AsRead},
    {"属性の行数", 14, 3, StoreRule::AsRead},
}};

constexpr std::array<ByteColumn, 3> kRoadNames{{
    {"路線名", 19, 24},
    {"線名", 43, 22},
    {"通称", 65, 16},
}};

}  // namespace

std::string_view CharColumns(std::string_view line, int start, int width) {
    return velmora::text::sjisCharCut(line, start, width);
}

std::string_view RecordKind(std::string_view line) {
    // Only blanks are removed around the kind; a tab belongs to the kind as any other character.
    std::string_view k = CharColumns(line, 1, 3);
    while (!k.empty() && k.front() == ' ') k.remove_prefix(1);
    while (!k.empty() && k.back() == ' ') k.remove_suffix(1);
    return k;
}

bool IsRecordLine(std::string_view line) {
    const std::string_view k = RecordKind(line);
    for (std::string_view kind : {"H", "N", "L", "S", "DS", "DL", "DP", "A", "DA"})
        if (k == kind) return true;
    return false;
}

bool HasHeaderKey(std::string_view line1, std::string_view headerKeyCp932) {
    return headerKeyCp932.empty() || velmora::text::sjisContains(line1, headerKeyCp932);
}

bool KeyNamesFile(std::string_view line1, std::string_view headerKeyCp932) {
    return !headerKeyCp932.empty() && HasHeaderKey(line1, headerKeyCp932);
}

HeaderColumns CutHeader(std::string_view line1) {
    return {CharColumns(line1, 1, 3),  CharColumns(line1, 4, 10), CharColumns(line1, 14, 10),
            CharColumns(line1, 24, 2), CharColumns(line1, 26, 4), CharColumns(line1, 30, 4),
            CharColumns(line1, 34, 8)};
}

void ReadCounts(std::string_view line2, std::array<std::int32_t, 7>& places, std::array<std::int32_t, 7>* stated) {
    static constexpr int kPlaceOfCount[7] = {1, 2, 3, 4, 5, 3, 7};
    for (int i = 0; i < 7; ++i) {
        const std::int32_t count = velmora::text::cLng(CharColumns(line2, 8 * i + 1, 8));
        places[kPlaceOfCount[i] - 1] = count;
        if (stated) (*stated)[static_cast<std::size_t>(i)] = count;
    }
}

std::int32_t ContinuationLineCount(std::int32_t n) {
    if (n <= 0) return 0;
    return n / 5 + (n % 5 != 0 ? 1 : 0);
}

std::span<const RecordColumn> NodeColumns() { return kNode; }
std::span<const RecordColumn> LinkColumns() { return kLink; }
std::span<const RecordColumn> LineColumns() { return kLine; }
std::span<const RecordColumn> AreaColumns() { return kArea; }
std::span<const RecordColumn> LineLedgerColumns() { return kLineLedger; }
std::span<const RecordColumn> RoadLedgerColumns() { return kRoadLedger; }
std::span<const RecordColumn> StationLedgerColumns() { return kStationLedger; }
std::span<const ByteColumn> RoadLedgerNameColumns() { return kRoadNames; }

VertexColumns CutVertex(const velmora::text::SjisColumns& line, int k) {
    return {line.cut(16 * k + 1, 8), line.cut(16 * k + 9, 8)};
}

ReferenceColumns CutReference(const velmora::text::SjisColumns& line, int k) {
    return {line.cut(14 * k + 1, 6), line.cut(14 * k + 7, 6), line.cut(14 * k + 13, 2)};
}

}  // namespace ModLine
