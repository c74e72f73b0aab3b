#include "convert/attr/AttrRecords.h"

#include <cmath>

#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Sjis.h"

namespace ModAttr {

using velmora::RunTimeError;
namespace text = velmora::text;

bool isTextItem(std::string_view typeName) {
    return typeName.find("Text") != std::string_view::npos;
}

LedgerRow parseLedgerRow(std::string_view line) {
    LedgerRow row;
    row.layerCode = std::string(text::sjisCharCut(line, 1, 3));
    row.attributeNumber = text::toDouble(text::sjisCharCut(line, 4, 10));
    row.lineCount = text::cLng(text::sjisCharCut(line, 14, 3));
    std::string_view title = text::trimBlanks(text::sjisCharCut(line, 17, 20));
    if (!title.empty()) row.title = std::string(title);
    return row;
}

namespace {

// Item 2 with the pattern "000": a value that reads as a number is rounded to a whole number (halves
// away from zero, as number patterns round) and zero-filled to three digits after any sign; any other
// text stays as it is.
std::string threeDigits(std::string_view value) {
    if (!text::isNumeric(value)) return std::string(value);
    double v = std::round(text::toDouble(value));
    std::string digits = text::formatNumber(std::fabs(v));
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    return (v < 0 ? "-" : "") + digits;
}

}  // namespace

double ledgerKey(std::string_view item1, std::string_view item2) {
    std::string key = std::string(item1) + threeDigits(item2);
    if (!text::isNumeric(key)) throw RunTimeError(velmora::err::TypeMismatch, "Type mismatch");
    return text::toDouble(key);
}

}  // namespace ModAttr
