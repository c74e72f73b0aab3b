#include "convert/point/LandPriceYear.h"

#include <filesystem>
#include <optional>

#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/point/PointHeader.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/LineReader.h"
#include "platform/text/Sjis.h"
#include "platform/ui/UiService.h"

namespace ModPoint {

using namespace velmora;

namespace {

// The year text of one file, or nothing when the file holds none.
std::optional<std::string> yearText(const std::string& path, std::int16_t format) {
    text::LineReader in(path);
    std::string line;
    if (format == modCommon::FileFormat::Fixed) {
        while (in.next(line))
            if (!line.empty() && line.front() == 'H') return std::string(modCommon::MidByteSjis(line, 26, 4));
        return std::nullopt;
    }
    if (!in.next(line) || !in.next(line) || text::trimBlanks(line).empty()) return std::nullopt;
    const char separator = format == modCommon::FileFormat::Comma ? ',' : '\t';
    std::vector<std::string_view> fields;
    splitAt(line, separator, fields);
    return std::string(layoutField(fields, text::sjisCharCount(fields[0]) == 6 ? 6 : 5));
}

}  // namespace

bool ChkMakePoint_FileYear(const std::vector<std::string>& files) {
    try {
        ConversionState& s = conversionState();
        std::int16_t year = 0;
        for (const std::string& file : files) {
            if (!std::filesystem::exists(file)) continue;
            const std::optional<std::string> taken = yearText(file, s.InputFileFormat);
            if (!taken) continue;
            if (year == 0) {
                year = text::cInt(*taken);
            } else if (text::toDouble(*taken) != year) {
                ui::message("データの作成年度が混在しています。\r"
                            "フィールド情報が異なるので同一の作成年度のもののみ選択してください。",
                            "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
                return false;
            }
        }
        // Fixed-column records are cut by the layout of their year; a year without one would cut the
        // wrong columns.
        if (s.InputFileFormat == modCommon::FileFormat::Fixed &&
            (year < kFirstFixedColumnYear || year > kLastFixedColumnYear)) {
            ui::message("データの作成年度（" + std::to_string(year) + "）に対応する項目配置がありません。", "ｴﾗｰﾒｯｾｰｼﾞ",
                        ui::Icon::Exclamation);
            return false;
        }
        s.DataYear = year;
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint ChkMakePoint_FileYear)");
        return false;
    }
}

bool MakePoint_ChkaCSV_SetIniData(CsvItemLayout& layout) {
    try {
        ConversionState& s = conversionState();
        LayerDef& layer = layerRow(s.PointLayers, s.SelectedIndex);
        const std::string layoutPath = s.AppFolder + csvItemLayoutFile(s.SelectedIndex, s.DataYear);
        text::LineReader in(layoutPath);
        std::string line;
        in.next(line);  // the heading line
        std::int32_t skipped = 0, shift = 0;
        std::size_t used = 0;
        while (in.next(line)) {
            const std::vector<std::string_view> f = layoutFields(line);
            if (text::toDouble(f[0]) != 0 || layoutField(f, 2) != layer.Name) continue;
            const std::string_view spec = layoutField(f, 10);
            const std::string_view firstYear = text::trimBlanks(layoutField(f, 13));
            if (!firstYear.empty() && text::toDouble(firstYear) > s.DataYear) {
                ++skipped;
                if (spec.empty()) ++shift;
                continue;
            }
            const std::int32_t item = text::cLng(layoutField(f, 3)) - skipped;
            if (item < 1 || item > static_cast<std::int32_t>(LayerDef::MaxItem) || used >= layout.SourceColumns.size() ||
                used >= layout.SubFieldSpecs.size())
                throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
            const auto k = static_cast<std::size_t>(item);
            layer.ItemName[k] = std::string(layoutField(f, 6));
            layer.ItemType[k] = std::string(layoutField(f, 7));
            layer.ItemWidth[k] = text::cInt(layoutField(f, 8));
            layer.ItemOutput[k] = text::cBool(layoutField(f, 9));
            const std::int32_t column = text::cLng(layoutField(f, 4)) - shift;
            layout.SourceColumns[used] = column;
            layout.SubFieldSpecs[used] = std::string(spec);
            if (layoutField(f, 11) == "1") layout.XColumn = column;
            if (layoutField(f, 12) == "1") layout.YColumn = column;
            ++used;
        }
        if (used == 0) refuseLayoutWithoutItem(layer, layoutPath);
        layer.ItemCount = static_cast<std::int16_t>(used);
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint MakePoint_ChkaCSV_SetIniData)");
        return false;
    }
}

}  // namespace ModPoint
