#include "convert/line/StatedPartCounts.h"

#include <utility>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "platform/text/LineReader.h"

namespace ModLine {

StatedPartCounts::StatedPartCounts(const std::array<std::int32_t, 7>& stated)
    : stated_{stated[1], stated[2], stated[3], static_cast<long>(stated[4]) + stated[5] + stated[6]} {}

StatedPartCounts::Part StatedPartCounts::partOf(std::string_view kind) {
    if (kind == "N") return Nodes;
    if (kind == "L") return Links;
    if (kind == "S" || kind == "A") return LinesOrAreas;
    if (kind.size() == 2 && kind.front() == 'D') return Ledgers;
    return None;
}

void StatedPartCounts::add(std::string_view kind, long lines) {
    if (const Part p = partOf(kind); p != None) last_ = p;
    if (last_ != None) read_[last_] += lines;
}

RecordDispatch StatedPartCounts::counting(RecordDispatch record) {
    return [this, record = std::move(record)](std::string_view kind, std::string_view line) {
        const velmora::text::LineReader& in = velmora::conversionState().InFileNo.file();
        const long first = in.lineNumber();
        const bool ok = record(kind, line);
        if (ok) add(kind, in.lineNumber() - first + 1);
        return ok;
    };
}

void StatedPartCounts::check(const std::string& path) const {
    static const char* const kParts[4] = {"ノード", "リンク", "ライン・エリア", "台帳"};
    for (std::size_t p = 0; p < 4; ++p)
        velmora::modCommon::ChkStatedLineCount(path, kParts[p], stated_[p], read_[p]);
}

}  // namespace ModLine
