// The fixed-column record cuts every loader of line and area-structure files shares, over each line of
// the input as the loaders apply them: line 1 as header, line 2 as counts, then each record by its kind
// with the vertex or reference columns of as many continuation lines as its count column announces.
#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>

#include "convert/line/LineRecords.h"
#include "platform/text/Conversions.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

// Touches every byte of a cut, so that a cut reaching past its line is seen by the address checks.
volatile unsigned sink;
void use(std::string_view s) {
    for (char c : s) sink = sink + static_cast<unsigned char>(c);
}

void cutColumns(std::string_view line, std::span<const ModLine::RecordColumn> columns) {
    for (const auto& c : columns) use(ModLine::CharColumns(line, c.start, c.width));
}

std::int32_t countOf(std::string_view line, const ModLine::RecordColumn& column) {
    try {
        return velmora::text::leadingNumber(ModLine::CharColumns(line, column.start, column.width));
    } catch (const std::exception&) {
        return 0;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto lines = fuzz::lines(fuzz::asText(data, size));
    if (lines.empty()) return 0;
    const ModLine::HeaderColumns h = ModLine::CutHeader(lines[0]);
    for (auto s : {h.text1, h.text2, h.text3, h.text4, h.text5, h.number, h.records}) use(s);
    ModLine::HasHeaderKey(lines[0], "N03");
    if (lines.size() > 1) {
        std::array<std::int32_t, 7> places{};
        try {
            ModLine::ReadCounts(lines[1], places);
        } catch (const std::exception&) {
        }
    }
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::string_view kind = ModLine::RecordKind(line);
        use(kind);
        std::int32_t continuation = 0;
        bool vertices = false;
        if (kind == "N") {
            cutColumns(line, ModLine::NodeColumns());
            use(ModLine::CharColumns(line, ModLine::kNodeStartMeshColumn.start, ModLine::kNodeStartMeshColumn.width));
        } else if (kind == "L") {
            cutColumns(line, ModLine::LinkColumns());
            continuation = ModLine::ContinuationLineCount(countOf(line, ModLine::kLinkVertexCountColumn));
            vertices = true;
        } else if (kind == "S") {
            cutColumns(line, ModLine::LineColumns());
            continuation = ModLine::ContinuationLineCount(countOf(line, ModLine::kLineReferenceCountColumn));
        } else if (kind == "DS" || kind == "DL" || kind == "DP") {
            cutColumns(line, ModLine::LineLedgerColumns());
            cutColumns(line, ModLine::RoadLedgerColumns());
            cutColumns(line, ModLine::StationLedgerColumns());
            for (const auto& b : ModLine::RoadLedgerNameColumns())
                if (static_cast<std::size_t>(b.start) <= line.size())
                    use(line.substr(static_cast<std::size_t>(b.start - 1), static_cast<std::size_t>(b.width)));
            use(ModLine::CharColumns(line, ModLine::kStationNameColumn.start, ModLine::kStationNameColumn.width));
        }
        for (std::int32_t c = 0; c < continuation && i + 1 < lines.size() && !ModLine::IsRecordLine(lines[i + 1]);
             ++c) {
            ++i;
            for (int k = 0; k < 5; ++k) {
                if (vertices) {
                    const auto v = ModLine::CutVertex(lines[i], k);
                    use(v.x), use(v.y);
                } else {
                    const auto r = ModLine::CutReference(lines[i], k);
                    use(r.mesh), use(r.number), use(r.flag);
                }
            }
        }
    }
    return 0;
}
