#pragma once
// What a field accepts: the conversions the classic engine made when a value was assigned to a field.
// SQLite stores anything anywhere, so these checks run before a row reaches it.
//
//  field      text value                              number value
//  Integer    reads as a number, rounded half to      rounded half to even, -32768..32767
//  Long       even into the field's range (else 3349);  or -2147483648..2147483647 (else 3349)
//             blank or not a number: 3421
//  Double     reads as a number (3421 otherwise; a    stored
//             text beyond the double range 3349)
//  Text       at most `size` characters (3163)        its plain decimal text, same size rule
//
// "Reads as a number" is text::isNumeric, the test the loaders use to decide what they store "only when
// numeric", so a value that passed it never fails here for its form.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/db/FieldType.h"

namespace velmora::db {

// The value for an Integer or Long field.
std::int64_t wholeNumberFor(const FieldDef& field, std::string_view text);
std::int64_t wholeNumberFor(const FieldDef& field, double value);
std::int64_t wholeNumberFor(const FieldDef& field, std::int64_t value);
// The value for a Double field.
double doubleFor(const FieldDef& field, std::string_view text);
inline double doubleFor(const FieldDef&, double value) { return value; }
inline double doubleFor(const FieldDef&, std::int64_t value) { return static_cast<double>(value); }
// The value for a Text field: the text itself, or a number's plain decimal text.
std::string_view textFor(const FieldDef& field, std::string_view text);
std::string textFor(const FieldDef& field, double value);
std::string textFor(const FieldDef& field, std::int64_t value);

}  // namespace velmora::db
