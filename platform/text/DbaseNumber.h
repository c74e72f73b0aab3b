#pragma once
// How a value stands in a dBASE number field ("N"), shared by the shape writer that fills the field and
// the converters that must know beforehand whether a value fits it.
#include <string>
#include <string_view>

namespace velmora::text {

// The field text of a value in a field of `decimals` decimals: blanks around it removed; a plain decimal
// (sign, digits, at most one point) as written; any other number (an exponent form: "1e5") laid out by
// formatNumber ("100000"). A field of no decimals holds whole numbers: a value with a fraction is rounded
// half to even first ("8.5" is "8", "9.5" is "10"), as the work databases store it in a whole-number field,
// where a reader would otherwise cut it and warn. False when the value is no number. A number beyond the
// range of a double throws RunTimeError(Overflow).
bool dbaseNumberText(std::string_view value, int decimals, std::string& text);

}  // namespace velmora::text
