#pragma once
// The classic conversions of the data set's text into numbers, independent of the locale.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::text {

// "Reads as a number": optional blanks, an optional sign, digits with at most one decimal point (at least
// one digit), an optional exponent (E or D, optional sign, digits), optional blanks. The empty text and
// a blank text are not numbers.
bool isNumeric(std::string_view s);

// The number a numeric text reads as; a text that is not numeric throws RunTimeError(TypeMismatch).
double toDouble(std::string_view s);
// Both in one reading: false, leaving `value`, when the text is not numeric; else toDouble's value (a
// number beyond the double range throws RunTimeError(Overflow) as there).
bool readNumber(std::string_view s, double& value);

// The value of the commonest numeric text, a plain whole number (optional blanks, an optional sign, 1 to
// 15 digits, optional blanks), read straight from its bytes; nullopt for every other text, numeric or
// not, which the general reading above handles. Where it gives a value, toDouble gives the same one.
// Inline over a reading into a variable: an optional returned from a call went through the stack, where
// loading it back stalled on the store of its flag, half the reading's time.
bool readPlainWholeNumber(std::string_view s, std::int64_t& value);
inline std::optional<std::int64_t> plainWholeNumber(std::string_view s) {
    std::int64_t value = 0;
    if (!readPlainWholeNumber(s, value)) return std::nullopt;
    return value;
}

// Whole numbers rounded half to even; out of the 16-bit (cInt) or 32-bit (cLng) range throws
// RunTimeError(Overflow). A text is read with toDouble first.
std::int16_t cInt(double v);
std::int16_t cInt(std::string_view s);
std::int32_t cLng(double v);
std::int32_t cLng(std::string_view s);

// The leading number of a text as the classic Val() reads a count: blanks skipped wherever they stand
// ("1 2" reads 12), an optional sign, digits up to the first other character; 0 when the text holds none.
// Values beyond the 32-bit range throw RunTimeError(Overflow).
std::int32_t leadingNumber(std::string_view text);

// Boolean of a text: the words True and False in any letter case, or a number (zero false, else true);
// anything else throws RunTimeError(TypeMismatch).
bool cBool(std::string_view s);

// Plain decimal text of a number: at most 15 significant digits, no exponent, no trailing zeros and no
// trailing decimal point ("0.000028", "135.5", "-1", "0").
std::string formatNumber(double v);
// The same text appended to `out`, without allocating once `out` has room (writers of millions of numbers).
void appendNumber(std::string& out, double v);
// The text appendNumber gives for millionths / 10^6, made from the whole number itself (|millionths| below
// 10^15). The double nearest to such a quotient has no shorter decimal form than the quotient's own
// digits, so both texts agree to the byte; coordinate writers skip the double and its shortest digits.
void appendMillionths(std::string& out, std::int64_t millionths);

// Trims blanks (half-width spaces and tabs) at both ends.
std::string_view trimBlanks(std::string_view s);

}  // namespace velmora::text
