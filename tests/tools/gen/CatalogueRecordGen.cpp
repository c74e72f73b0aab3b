#include "tests/tools/gen/CatalogueRecordGen.h"

#include <algorithm>
#include <array>

namespace velmora::gen {

namespace {

// Double-byte characters of the values (two bytes each in CP932).
constexpr std::array<std::string_view, 16> kKanji = {"河", "川", "湖", "沼", "流", "域", "海", "岸",
                                                     "山", "岳", "土", "地", "道", "路", "駅", "名"};
constexpr std::string_view kLetters = "ABCDEFG";

std::string sampleText(int width, int column, int record) {
    if (width == 1) return std::string(1, kLetters[static_cast<std::size_t>(column + record) % kLetters.size()]);
    const std::string digits = std::to_string(record);
    // As many characters as fit beside the record number, at most five.
    const int room = width > static_cast<int>(digits.size()) + 2 ? width - static_cast<int>(digits.size()) : width;
    const int chars = std::min(room / 2, 5);
    std::string value;
    for (int k = 0; k < chars; ++k) value += kKanji[static_cast<std::size_t>(column + record + 3 * k) % kKanji.size()];
    if (width - 2 * chars >= static_cast<int>(digits.size())) value += digits;
    return value;
}

std::string sampleNumber(int width, int column, int record) {
    int limit = 1;
    for (int d = 0; d < std::min(width, 4); ++d) limit *= 10;
    return std::to_string((record * 37 + column * 11) % limit);
}

}  // namespace

bool isTextItemType(std::string_view typeName) { return typeName.find("Text") != std::string_view::npos; }

std::vector<std::string> sampleValues(const std::vector<AttrGenColumn>& columns, int record) {
    std::vector<std::string> values;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const int column = static_cast<int>(c);
        values.push_back(columns[c].numeric ? sampleNumber(columns[c].width, column, record)
                                            : sampleText(columns[c].width, column, record));
    }
    return values;
}

}  // namespace velmora::gen
