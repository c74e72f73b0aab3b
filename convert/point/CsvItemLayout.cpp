#include "convert/point/CsvItemLayout.h"

#include <string_view>

#include "convert/core/ConversionState.h"
#include "convert/core/LayerDef.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/LineReader.h"

namespace ModPoint {

using namespace velmora;

namespace {

std::vector<std::string_view> split(std::string_view s, char separator) {
    std::vector<std::string_view> pieces;
    splitAt(s, separator, pieces);
    return pieces;
}

std::string_view piece(const std::vector<std::string_view>& pieces, std::size_t i) {
    if (i >= pieces.size()) throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
    return pieces[i];
}

}  // namespace

void splitAt(std::string_view line, char separator, std::vector<std::string_view>& fields) {
    fields.clear();
    for (std::size_t at; (at = line.find(separator)) != std::string_view::npos; line.remove_prefix(at + 1))
        fields.push_back(line.substr(0, at));
    fields.push_back(line);
}

std::string csvItemLayoutFile(int row, int dataYear) {
    const bool newer = (row == 8 && dataYear >= 2006) || (row == 9 && dataYear >= 2005);
    return newer ? "DataDBFItemCS2.csv" : kCsvItemLayoutFile;
}

std::vector<std::string_view> layoutFields(std::string_view line) { return split(line, ','); }

std::string_view layoutField(const std::vector<std::string_view>& fields, std::size_t n) { return piece(fields, n); }

SubFieldSpec parseSubFieldSpec(const std::string& spec) {
    SubFieldSpec result;
    if (spec.empty()) return result;
    const std::vector<std::string_view> pieces = split(spec, 'x');
    if (pieces[0] == "M") {
        result.form = SubFieldSpec::Form::Bytes;
        result.start = text::cLng(piece(pieces, 1));
        result.length = text::cLng(piece(pieces, 2));
        if (result.start < 1 || result.length < 0)
            throw RunTimeError(err::InvalidProcedureCall, "Invalid procedure call or argument");
    } else if (pieces[0] == "A") {
        result.form = SubFieldSpec::Form::Joined;
        for (std::size_t i = 1; i < pieces.size(); ++i) result.columns.push_back(text::cLng(pieces[i]));
    } else {
        result.form = SubFieldSpec::Form::None;
    }
    return result;
}

void refuseLayoutWithoutItem(const LayerDef& layer, const std::string& path) {
    const std::int16_t year = conversionState().DataYear;
    throw RunTimeError(err::InputRefused, "項目定義ファイル " + path + " に「" + text::fromCp932(layer.Name) + "」" +
                                              (year > 0 ? "（データ年度 " + std::to_string(year) + "）" : std::string()) +
                                              "の項目がありません。このデータは変換できません。");
}

CsvItemLayout readCsvItemLayout(const LayerDef& layer, const std::string& path) {
    CsvItemLayout layout;
    const auto items = static_cast<std::size_t>(layer.ItemCount < 0 ? 0 : layer.ItemCount);
    layout.SourceColumns.assign(items, 0);
    layout.SubFieldSpecs.assign(items, std::string());
    text::LineReader in(path);
    std::string line;
    std::size_t n = 0;
    while (in.next(line)) {
        const std::vector<std::string_view> fields = split(line, ',');
        if (text::toDouble(fields[0]) != 0 || piece(fields, 2) != layer.Name) continue;
        if (n >= items) throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
        const std::int32_t column = text::cLng(piece(fields, 4));
        layout.SourceColumns[n] = column;
        layout.SubFieldSpecs[n] = std::string(piece(fields, 10));
        if (piece(fields, 11) == "1") layout.XColumn = column;
        if (piece(fields, 12) == "1") layout.YColumn = column;
        ++n;
    }
    if (n == 0) refuseLayoutWithoutItem(layer, path);
    return layout;
}

}  // namespace ModPoint
