#include "platform/db/FieldRules.h"

#include <charconv>
#include <cmath>

#include "platform/db/DbErrors.h"
#include "platform/text/Conversions.h"
#include "platform/text/Sjis.h"

namespace velmora::db {

namespace {

[[noreturn]] void failConversion(const FieldDef& field) {
    fail(err::DataTypeConversion, "Data type conversion error. (" + field.name + ")");
}

[[noreturn]] void failOverflow(const FieldDef& field) {
    fail(err::NumericFieldOverflow, "Numeric field overflow. (" + field.name + ")");
}

void checkRange(const FieldDef& field, double rounded) {
    bool inRange = field.type == FieldType::Integer ? (rounded >= -32768.0 && rounded <= 32767.0)
                                                    : (rounded >= -2147483648.0 && rounded <= 2147483647.0);
    if (!inRange) failOverflow(field);  // also a NaN
}

double numberOf(const FieldDef& field, std::string_view text) {
    try {
        return text::toDouble(text);
    } catch (const RunTimeError& e) {
        if (e.number() == velmora::err::Overflow) failOverflow(field);
        failConversion(field);
    }
}

}  // namespace

std::int64_t wholeNumberFor(const FieldDef& field, double value) {
    double rounded = std::nearbyint(value);  // the default rounding mode: half to even
    checkRange(field, rounded);
    return static_cast<std::int64_t>(rounded);
}

std::int64_t wholeNumberFor(const FieldDef& field, std::int64_t value) {
    bool inRange = field.type == FieldType::Integer ? (value >= -32768 && value <= 32767)
                                                    : (value >= INT32_MIN && value <= INT32_MAX);
    if (!inRange) failOverflow(field);
    return value;
}

std::int64_t wholeNumberFor(const FieldDef& field, std::string_view text) {
    if (const auto whole = text::plainWholeNumber(text)) return wholeNumberFor(field, *whole);
    return wholeNumberFor(field, numberOf(field, text));
}

double doubleFor(const FieldDef& field, std::string_view text) { return numberOf(field, text); }

std::string_view textFor(const FieldDef& field, std::string_view text) {
    // A text never has more characters than bytes: most texts need no count.
    if (text.size() > static_cast<std::size_t>(field.size) &&
        text::sjisCharCount(text) > static_cast<std::size_t>(field.size))
        fail(err::FieldTooSmall,
             "The field is too small to accept the amount of data you attempted to add. (" + field.name + ")");
    return text;
}

std::string textFor(const FieldDef& field, double value) {
    std::string text = text::formatNumber(value);
    textFor(field, std::string_view(text));
    return text;
}

std::string textFor(const FieldDef& field, std::int64_t value) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    std::string text(buf, r.ptr);
    textFor(field, std::string_view(text));
    return text;
}

}  // namespace velmora::db
