#include "convert/core/ConversionRoutines.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <optional>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/LineReader.h"
#include "platform/text/Sjis.h"
#include "platform/ui/UiService.h"

namespace velmora {

namespace modCommon {

void ChkRecordLength(std::size_t length, long layoutEnd) {
    if (static_cast<long>(length) >= layoutEnd) return;
    const auto at = text::lastReadPosition();
    if (!at || at->lineEnded) return;
    throw RunTimeError(err::InputRefused, "入力ファイル " + text::positionText(*at) +
                                              "のレコードが途中で切れています（長さ" + std::to_string(length) +
                                              "、項目の配置は" + std::to_string(layoutEnd) +
                                              "桁目まで、行末の改行なし）。");
}

namespace {

// An item declares its item count (DataDBF.csv); a catalogue gap is a count without rows
// (DataDBFItem.csv). An item of no items (the railway lines carry their attribute numbers alone) is none.
template <class Row>
bool itemRowsMissing(const Row& row) {
    if (row.ItemCount <= 0) return false;
    for (int i = 1; i <= row.ItemCount && i < static_cast<int>(row.ItemName.size()); ++i)
        if (!row.ItemName[static_cast<std::size_t>(i)].empty()) return false;
    return true;
}

}  // namespace

void ChkSelectedItemRows() {
    ConversionState& s = conversionState();
    bool missing = false;
    switch (s.SelectedKind) {
        case DataKind::Point:
            // Delimited points take their items from the item layout files, whose readers check them.
            missing = s.InputFileFormat == FileFormat::Fixed && itemRowsMissing(layerRow(s.PointLayers, s.SelectedIndex));
            break;
        case DataKind::Line: missing = itemRowsMissing(layerRow(s.LineLayers, s.SelectedIndex)); break;
        case DataKind::Area: missing = itemRowsMissing(layerRow(s.PolygonLayers, s.SelectedIndex)); break;
        case DataKind::Attr: missing = itemRowsMissing(layerRow(s.AttrLayers, s.SelectedIndex)); break;
        case DataKind::Mesh: missing = itemRowsMissing(layerRow(s.MeshLayers, s.SelectedIndex)); break;
    }
    if (!missing) return;
    throw RunTimeError(err::InputRefused, "「" + text::fromCp932(s.selectedLayerName()) +
                                              "」の属性項目がDataDBFItem.csvにありません。このデータは変換できません。");
}

std::string EmptyInputText(const std::string& path) { return "入力ファイル " + path + " にデータがありません。"; }

void RefuseEmptyInput(const std::string& path) { throw RunTimeError(err::InputRefused, EmptyInputText(path)); }

void ChkInputText(const std::string& path) {
    text::LineReader reader(path);
    std::string line;
    if (!reader.next(line)) RefuseEmptyInput(path);
    while (reader.next(line)) {
    }
}

std::string_view MidByteSjis(std::string_view record, long start, long length) {
    return text::sjisByteCut(record, start, length);
}

std::int16_t ChkFileFormat(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        ShowInputRefusal("指定されたファイルが存在しません\r\n" + path, "エラーメッセージ", ui::Icon::Exclamation);
        return FileFormat::Unknown;
    }
    try {
        // A folder, a pipe or a device is refused by the reader, naming it.
        text::LineReader reader(path);
        std::string line, tested;
        bool any = false;
        while (reader.next(line)) {
            any = true;
            tested.swap(line);
            if (tested.empty() || tested.front() != 'H') break;
        }
        reader.finish();
        // An empty file has no format to tell; left alone it would read as fixed columns and pass as
        // "another format" beside delimited files.
        if (!any) {
            ShowInputRefusal(EmptyInputText(path), "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
            return FileFormat::Unknown;
        }
        // Only ASCII comma and tab count: neither byte occurs inside a CP932 double-byte character.
        std::int16_t format = tested.find(',') != std::string::npos ? FileFormat::Comma : FileFormat::Fixed;
        if (tested.find('\t') != std::string::npos)
            format = format == FileFormat::Comma ? FileFormat::Mixed : FileFormat::Tab;
        return format;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModCommon (ChkFileFormat)");
        return FileFormat::Unknown;
    }
}

}  // namespace modCommon

namespace ModPolygon {

namespace {

void refuseTypeName(std::string_view typeName) {
    ui::message("型が一致しません\rTextデータ 型 => " + text::fromCp932(typeName), "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Critical);
}

// The value / 36000 in millionths of a degree, rounded half away from zero, for value = mantissa × 10^exp10.
// Nothing when the value is too large for exact arithmetic (far beyond any coordinate).
std::optional<__int128> microDegrees(__int128 mantissa, int exp10) {
    auto pow10 = [](int n) {
        __int128 p = 1;
        while (n-- > 0) p *= 10;
        return p;
    };
    int digits = 0;
    for (__int128 m = mantissa < 0 ? -mantissa : mantissa; m != 0; m /= 10) ++digits;
    // micro = value × 10^6 / 36000 = value × 250 / 9
    __int128 num, den;
    if (exp10 >= 0) {
        if (digits + exp10 > 34) return std::nullopt;
        num = mantissa * pow10(exp10) * 250;
        den = 9;
    } else {
        if (digits > 34 || -exp10 > 36) return std::nullopt;
        num = mantissa * 250;
        den = 9 * pow10(-exp10);
    }
    __int128 q = num / den, r = num % den;
    if (r < 0) r = -r;
    if (2 * r >= den) q += num < 0 ? -1 : 1;
    return q;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A numeric text (text::isNumeric) as mantissa × 10^exp10; nothing when it holds more digits than exact
// arithmetic can carry.
std::optional<std::pair<__int128, int>> decimal(std::string_view s) {
    s = text::trimBlanks(s);
    std::size_t i = 0;
    const bool negative = s[i] == '-';
    if (s[i] == '+' || s[i] == '-') ++i;
    __int128 m = 0;
    int exp10 = 0, significant = 0;
    bool point = false;
    for (; i < s.size() && (isDigit(s[i]) || s[i] == '.'); ++i) {
        if (s[i] == '.') {
            point = true;
            continue;
        }
        if (m == 0 && s[i] == '0') {
            if (point) --exp10;
            continue;
        }
        if (++significant > 34) return std::nullopt;
        m = m * 10 + (s[i] - '0');
        if (point) --exp10;
    }
    if (i < s.size()) {  // exponent: E or D, optional sign, digits
        ++i;
        long e = 0;
        const bool eNegative = s[i] == '-';
        if (s[i] == '+' || s[i] == '-') ++i;
        for (; i < s.size() && isDigit(s[i]); ++i) e = std::min(e * 10 + (s[i] - '0'), 100000L);
        exp10 += static_cast<int>(eNegative ? -e : e);
    }
    return std::pair<__int128, int>{negative ? -m : m, exp10};
}

double degreesOf(std::optional<__int128> micro, double approx) {
    if (micro) return static_cast<double>(*micro) / 1e6;  // one correctly rounded division
    return std::round(approx / 36000.0 * 1e6) / 1e6;
}

bool xyToDegrees(std::string_view value, double& degrees) {
    if (!text::isNumeric(value)) throw RunTimeError(err::TypeMismatch, "Type mismatch");
    const auto d = decimal(value);
    degrees = degreesOf(d ? microDegrees(d->first, d->second) : std::nullopt, d ? 0.0 : text::toDouble(value));
    return true;
}

}  // namespace

bool SetTextToVbidx(std::string_view typeName, std::int16_t& fieldType) {
    try {
        if (typeName == "Integer") {
            fieldType = FieldType::Integer;
        } else if (typeName == "Long") {
            fieldType = FieldType::Long;
        } else if (typeName == "Text" || typeName == "Text1" || typeName == "Text2") {
            fieldType = FieldType::Text;
        } else {
            refuseTypeName(typeName);
            return false;
        }
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPolygon (SetTextToVbidx)");
        return false;
    }
}

bool SetTextToShpeidx(std::string_view typeName, std::string& letter) {
    try {
        if (typeName == "Integer" || typeName == "Long") {
            letter.assign(1, 'N');  // not operator=("N"): g++ 12 warns falsely (-Wrestrict)
        } else if (typeName == "Text" || typeName == "Text1" || typeName == "Text2" || typeName == "Text3") {
            letter.assign(1, 'C');
        } else {
            refuseTypeName(typeName);
            return false;
        }
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPolygon (SetTextToShpeidx)");
        return false;
    }
}

bool XYtoData(std::string_view value, double& degrees) {
    try {
        double result = 0;
        xyToDegrees(value, result);
        degrees = result;
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPolygon (XYtoData)");
        return false;
    }
}

bool XYtoData(double value, double& degrees) {
    try {
        if (!std::isfinite(value)) throw RunTimeError(err::Overflow, "Overflow");
        if (value == std::trunc(value) && std::fabs(value) < 1e15) {
            degrees = degreesOf(microDegrees(static_cast<__int128>(value), 0), value);
            return true;
        }
        // A fraction: its shortest decimal text is the number the user sees; round that exactly.
        char buf[32];
        const auto r = std::to_chars(buf, buf + sizeof buf, value);
        double result = 0;
        xyToDegrees(std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)), result);
        degrees = result;
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPolygon (XYtoData)");
        return false;
    }
}

std::int64_t XYtoMillionths(std::int64_t units) {
    // microDegrees(units, 0) in 64 bits, which a 32-bit value cannot leave.
    const std::int64_t num = units * 250;
    std::int64_t q = num / 9;
    const std::int64_t r = num % 9;
    if (2 * (r < 0 ? -r : r) >= 9) q += num < 0 ? -1 : 1;
    return q;
}

}  // namespace ModPolygon

}  // namespace velmora
