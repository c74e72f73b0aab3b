// The generator writes the data set's fixed-column layout: record widths, full vertex lines of 80 and
// reference lines of 70 columns, CR LF, and the counts line that drives the loader's progress.
#include <gtest/gtest.h>

#include <map>

#include "convert/line/LineRecords.h"
#include "tests/tools/gen/LineFileGen.h"

using namespace velmora::gen;

namespace {

std::vector<std::string> splitCrLf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at; (at = bytes.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(bytes.substr(from, at - from));
    EXPECT_EQ(from, bytes.size()) << "every line ends with CR LF";
    return lines;
}

TEST(LineFileGen, RecordWidthsAndContinuationLines) {
    LineFileOptions o;
    o.item = LineItem::Railway;
    o.links = 3;
    o.verticesPerLink = 7;
    o.lines = 2;
    o.linksPerLine = 6;
    o.stations = 2;
    o.reversedReferences = true;
    const LineFileModel m = makeLineFileModel(o);
    const std::vector<std::string> lines = splitCrLf(formatLineFile(m));

    std::map<std::string, std::vector<std::size_t>> widths;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const std::string kind(ModLine::RecordKind(lines[i]));
        widths[kind == "N" || kind == "L" || kind == "S" || kind == "DS" || kind == "DP" ? kind : "cont"].push_back(
            lines[i].size());
    }
    EXPECT_EQ(widths["N"], (std::vector<std::size_t>(5, 60)));
    EXPECT_EQ(widths["L"], (std::vector<std::size_t>(3, 51)));
    EXPECT_EQ(widths["S"], (std::vector<std::size_t>(2, 53)));
    // Per link 80 + 32 columns (7 vertices); per line 70 + 14 (6 references).
    EXPECT_EQ(widths["cont"], (std::vector<std::size_t>{80, 32, 80, 32, 80, 32, 70, 14, 70, 14}));

    std::array<std::int32_t, 7> counts{}, stated{};
    ModLine::ReadCounts(lines[1], counts, &stated);
    EXPECT_EQ(counts[0], m.recordLines());
    EXPECT_EQ(counts[1], 5);
    EXPECT_EQ(counts[2], 0);  // count 6, the road ledger's lines, sits in place 3
    // Nodes, links and lines with their continuation lines, station, road and line ledgers.
    EXPECT_EQ(stated, (std::array<std::int32_t, 7>{static_cast<std::int32_t>(m.recordLines()), 5, 3 * 3, 2 * 3, 2, 0, 2}));
    EXPECT_TRUE(ModLine::HasHeaderKey(lines[0], o.headerKey));
    // The second reference of every line names its link with a minus sign.
    std::size_t s = 0;
    while (ModLine::RecordKind(lines[s]) != "S") ++s;
    EXPECT_EQ(ModLine::CutReference(lines[s + 1], 0).number.find('-'), std::string_view::npos);
    EXPECT_NE(ModLine::CutReference(lines[s + 1], 1).number.find('-'), std::string_view::npos);
}

TEST(LineFileGen, SharedLinksAreEqualInBothFiles) {
    LineFileOptions o;
    o.links = 6;
    const LineFileModel first = makeLineFileModel(o);
    o.firstLinkSerial = 4;
    const LineFileModel second = makeLineFileModel(o);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(first.links[3 + k].serial, second.links[k].serial);
        EXPECT_EQ(first.links[3 + k].vertices, second.links[k].vertices);
        EXPECT_EQ(first.links[3 + k].attribute, second.links[k].attribute);
    }
}

}  // namespace
