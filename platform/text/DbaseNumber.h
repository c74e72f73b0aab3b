#pragma once
// How a value stands in a dBASE number field ("N"), shared by the shape writer that fills the field and
// the converters that must know beforehand whether a value fits it.
#include <string>
#include <string_view>

namespace velmora::text {

// The field text of a value: blanks around it removed; a plain decimal (sign, digits, at most one point)
// as written; any other number (an exponent form: "1e5") laid out by formatNumber ("100000"). False when
// the value is no number. A number beyond the range of a double throws RunTimeError(Overflow).
bool dbaseNumberText(std::string_view value, std::string& text);

}  // namespace velmora::text
