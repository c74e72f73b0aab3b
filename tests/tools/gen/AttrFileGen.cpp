#include "tests/tools/gen/AttrFileGen.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>

#include "platform/text/Cp932.h"
#include "platform/text/LineWriter.h"
#include "platform/text/Sjis.h"

namespace velmora::gen {

namespace {

// Places a UTF-8 value into `line` at 1-based byte `start`, padded with blanks to `width` bytes.
void place(std::string& line, int start, int width, std::string_view utf8, bool rightAligned) {
    std::string bytes(text::sjisByteCut(text::toCp932(utf8), 1, width));
    std::string cell(static_cast<std::size_t>(width) - bytes.size(), ' ');
    cell = rightAligned ? cell + bytes : bytes + cell;
    std::size_t from = static_cast<std::size_t>(start - 1);
    if (line.size() < from + cell.size()) line.resize(from + cell.size(), ' ');
    line.replace(from, cell.size(), cell);
}

std::string trimRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// A small deterministic generator so that files are the same on every run and machine.
struct Lcg {
    std::uint64_t state;
    std::uint32_t next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state >> 33);
    }
};

constexpr std::array<std::string_view, 8> kWords = {"河川", "湖沼", "水系", "流域", "ﾃｰﾌﾞﾙ", "海岸線",
                                                    "Tokyo", "保安林"};

}  // namespace

std::string attrHeaderLine(const AttrHeader& h) {
    std::string line;
    place(line, 1, 3, "H", false);
    place(line, 4, 10, h.field2, false);
    place(line, 14, 10, h.dataCode, false);
    place(line, 24, 2, h.field4, false);
    place(line, 26, 4, h.year, false);
    place(line, 30, 4, h.number, true);
    place(line, 34, 8, std::to_string(h.recordCount), true);
    return line;
}

std::string attrTRow(const std::vector<AttrGenColumn>& columns, const std::vector<std::string>& values,
                     std::string_view kind) {
    if (values.size() != columns.size()) throw std::invalid_argument("attrTRow: one value per column");
    std::string line;
    place(line, 1, 3, kind, false);
    for (std::size_t i = 0; i < columns.size(); ++i)
        place(line, columns[i].start, columns[i].width, values[i], columns[i].numeric);
    return line;
}

std::string attrDtRow(std::string_view attributeNumber, std::string_view lineCount, std::string_view title) {
    std::string line;
    place(line, 1, 3, "DT", false);
    place(line, 4, 10, attributeNumber, true);
    place(line, 14, 3, lineCount, true);
    place(line, 17, 20, title, false);
    return trimRight(std::move(line));
}

void writeLines(const std::string& path, const std::vector<std::string>& lines) {
    text::LineWriter out(path, text::LineWriter::Mode::Replace);
    for (const auto& l : lines) out.writeLine(l);
    out.close();
}

void writeBulkAttrFile(const std::string& path, const AttrBulkOptions& options) {
    if (options.ledger && (options.columns.size() < 2 || !options.columns[0].numeric || !options.columns[1].numeric))
        throw std::invalid_argument("writeBulkAttrFile: ledger rows need two numeric key columns");
    text::LineWriter out(path, text::LineWriter::Mode::Replace);
    AttrHeader header = options.header;
    header.recordCount = options.rows;
    out.writeLine(attrHeaderLine(header));
    Lcg rng{options.seed};
    std::vector<std::string> values(options.columns.size());
    for (long r = 0; r < options.rows; ++r) {
        for (std::size_t c = 0; c < options.columns.size(); ++c) {
            const AttrGenColumn& col = options.columns[c];
            if (col.numeric) {
                // Keys stay small enough for the ledger key (item 1's digits and three more) to be exact.
                std::uint32_t limit = 1;
                for (int d = 0; d < std::min(col.width, 6); ++d) limit *= 10;
                values[c] = std::to_string((c == 1 && options.ledger) ? rng.next() % 1000 : rng.next() % limit);
            } else {
                values[c] = std::string(kWords[rng.next() % kWords.size()]) + std::to_string(r % 97);
            }
        }
        out.writeLine(attrTRow(options.columns, values));
        if (options.ledger) {
            std::string key = values[1];
            key.insert(0, 3 - std::min<std::size_t>(3, key.size()), '0');
            out.writeLine(attrDtRow(values[0] + key, "1", std::string("台帳") + std::to_string(r)));
        }
    }
    out.close();
}

}  // namespace velmora::gen
