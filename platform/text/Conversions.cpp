#include "platform/text/Conversions.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/errors/RunTimeError.h"

namespace velmora::text {

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The number of eight ASCII digits held in a word (the first digit its lowest byte), all at once; false when
// any byte is no digit. Coordinates are the commonest numbers of the data set's files, seven to ten digits.
bool eightDigits(std::uint64_t v, std::uint64_t& out) {
    static_assert(std::endian::native == std::endian::little, "the first digit is the lowest byte");
    // A digit byte is 0x30..0x39: its high nibble is 3, and adding 6 leaves it 3.
    if (((v & 0xF0F0F0F0F0F0F0F0ull) | (((v + 0x0606060606060606ull) & 0xF0F0F0F0F0F0F0F0ull) >> 4)) !=
        0x3333333333333333ull)
        return false;
    v -= 0x3030303030303030ull;
    // The bytes in memory order are the digits from the highest: pairs, then fours, then the eight.
    v = v * 10 + (v >> 8);
    v = (((v & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
         (((v >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >>
        32;
    out = v;
    return true;
}

// Validates the numeric form and writes a from_chars-ready copy (no '+', 'D' as 'e') into out.
bool normalise(std::string_view s, std::string& out) {
    s = trimBlanks(s);
    out.clear();
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') out += '-';
        ++i;
    }
    int digits = 0;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            ++digits;
            out += s[i];
        } else if (s[i] == '.' && !point) {
            point = true;
            out += '.';
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        out += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            if (s[i] == '-') out += '-';
            ++i;
        }
        int expDigits = 0;
        for (; i < s.size() && isDigit(s[i]); ++i, ++expDigits) out += s[i];
        if (expDigits == 0) return false;
    }
    return i == s.size();
}

}  // namespace

bool readPlainWholeNumber(std::string_view s, std::int64_t& value) {
    const std::string_view t = trimBlanks(s);
    const char* p = t.data();
    const char* const end = p + t.size();
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const auto n = static_cast<std::size_t>(end - p);
    if (n == 0 || n > 15) return false;
    // The last eight bytes of the field in one step where it has eight: digits before them one by one,
    // and in a field of eight bytes or more with fewer digits (a coordinate's column) the bytes before the
    // first digit taken as zeros. A shorter field is read digit by digit.
    const bool lastEight = end - s.data() >= 8;
    const char* const byDigit = lastEight ? std::max(p, end - 8) : end;
    std::int64_t v = 0;
    for (const char* c = p; c < byDigit; ++c) {
        if (!isDigit(*c)) return false;
        v = v * 10 + (*c - '0');
    }
    if (lastEight) {
        std::uint64_t word, last = 0;
        std::memcpy(&word, end - 8, 8);
        // The lowest bytes are the first in memory: those before p, when the digits are fewer than eight.
        const std::uint64_t before = n >= 8 ? 0 : ~0ull >> (8 * n);
        if (!eightDigits((word & ~before) | (0x3030303030303030ull & before), last)) return false;
        v = v * 100000000 + static_cast<std::int64_t>(last);
    }
    if (negative && v == 0) return false;  // "-0" reads as a negative zero
    value = negative ? -v : v;
    return true;
}

bool isNumeric(std::string_view s) {
    std::int64_t whole = 0;
    if (readPlainWholeNumber(s, whole)) return true;
    thread_local std::string scratch;
    return normalise(s, scratch);
}

bool readNumber(std::string_view s, double& value) {
    // A plain whole number of at most 15 digits is a double exactly: the value from_chars would give.
    std::int64_t whole = 0;
    if (readPlainWholeNumber(s, whole)) {
        value = static_cast<double>(whole);
        return true;
    }
    // The other commonest forms, plain decimals (an optional minus, digits, at most one point), are what
    // normalise would copy unchanged: read them where they stand.
    const std::string_view t = trimBlanks(s);
    const bool negative = !t.empty() && t.front() == '-';
    std::size_t i = negative ? 1 : 0, digits = 0, decimals = 0;
    std::uint64_t mantissa = 0;
    for (bool point = false; i < t.size(); ++i) {
        if (isDigit(t[i])) {
            ++digits;
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(t[i] - '0');
            decimals += point;
        } else if (t[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (i == t.size() && digits > 0) {
        // Up to 15 digits the digits and the power of ten are both doubles exactly, and one division
        // rounds once: the correctly rounded value, the one from_chars gives (coordinates are of this
        // form).
        static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6, 1e7,
                                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        if (digits <= 15) {
            const double v = static_cast<double>(mantissa) / kPowersOfTen[decimals];
            value = negative ? -v : v;
            return true;
        }
        double v = 0;
        if (std::from_chars(t.data(), t.data() + t.size(), v).ec == std::errc::result_out_of_range)
            throw RunTimeError(err::Overflow, "Overflow");
        value = v;
        return true;
    }
    thread_local std::string scratch;
    if (!normalise(s, scratch)) return false;
    double v = 0;
    const char* b = scratch.data();
    const char* e = b + scratch.size();
    auto r = std::from_chars(b, e, v);
    if (r.ec == std::errc::result_out_of_range) throw RunTimeError(err::Overflow, "Overflow");
    if (r.ec != std::errc() || r.ptr != e) return false;
    value = v;
    return true;
}

double toDouble(std::string_view s) {
    double v = 0;
    if (!readNumber(s, v)) throw RunTimeError(err::TypeMismatch, "Type mismatch");
    return v;
}

std::int16_t cInt(double v) {
    double r = std::nearbyint(v);  // default rounding mode: half to even
    if (!(r >= -32768.0 && r <= 32767.0)) throw RunTimeError(err::Overflow, "Overflow");
    return static_cast<std::int16_t>(r);
}
std::int16_t cInt(std::string_view s) { return cInt(toDouble(s)); }

std::int32_t cLng(double v) {
    double r = std::nearbyint(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw RunTimeError(err::Overflow, "Overflow");
    return static_cast<std::int32_t>(r);
}
std::int32_t cLng(std::string_view s) { return cLng(toDouble(s)); }

std::int32_t leadingNumber(std::string_view text) {
    // Blanks are skipped wherever they stand, as the classic Val() does ("1 2" reads 12).
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    };
    skipBlanks();
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long v = 0;
    for (skipBlanks(); i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, skipBlanks()) {
        v = v * 10 + (text[i] - '0');
        if (v > std::numeric_limits<std::int32_t>::max() + 1LL)
            throw RunTimeError(err::Overflow, "Overflow");
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<std::int32_t>::max())
        throw RunTimeError(err::Overflow, "Overflow");
    return static_cast<std::int32_t>(v);
}

bool cBool(std::string_view s) {
    std::string_view t = trimBlanks(s);
    auto equalsNoCase = [](std::string_view a, std::string_view b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            char x = a[i], y = b[i];
            if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
            if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
            if (x != y) return false;
        }
        return true;
    };
    if (equalsNoCase(t, "true")) return true;
    if (equalsNoCase(t, "false")) return false;
    return toDouble(t) != 0.0;
}

void appendNumber(std::string& out, double v) {
    if (v == 0 || !std::isfinite(v)) {
        out += '0';
        return;
    }
    char buf[64];
    // 15 significant digits in scientific form, then laid out as plain decimal. The shortest form that
    // reads back as v is quicker to make; when it has at most 15 digits, rounding v to 15 digits gives
    // those same digits (a normal v lies within half a unit of its last place of them), so it serves
    // as well. A subnormal number carries fewer bits than that takes.
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    std::size_t mantissaDigits = 0;
    for (const char* d = buf; d < r.ptr && *d != 'e'; ++d) mantissaDigits += *d >= '0' && *d <= '9';
    if (mantissaDigits > 15 || !std::isnormal(v))
        r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    const char* p = buf;
    const bool negative = *p == '-';
    if (negative) ++p;
    const char* e = p;
    while (e < r.ptr && *e != 'e') ++e;
    int exponent = 0;
    const char* x = e + 1;
    const bool negativeExponent = x < r.ptr && *x == '-';
    if (x < r.ptr && (*x == '+' || *x == '-')) ++x;
    for (; x < r.ptr; ++x) exponent = exponent * 10 + (*x - '0');
    if (negativeExponent) exponent = -exponent;
    char digits[32];
    std::size_t n = 0;
    for (const char* d = p; d < e; ++d)
        if (*d != '.') digits[n++] = *d;
    while (n > 1 && digits[n - 1] == '0') --n;
    if (negative) out += '-';
    const int pointAfter = exponent + 1;  // digits before the decimal point
    if (pointAfter <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-pointAfter), '0');
        out.append(digits, n);
    } else if (static_cast<std::size_t>(pointAfter) >= n) {
        out.append(digits, n);
        out.append(static_cast<std::size_t>(pointAfter) - n, '0');
    } else {
        out.append(digits, static_cast<std::size_t>(pointAfter));
        out += '.';
        out.append(digits + pointAfter, n - static_cast<std::size_t>(pointAfter));
    }
}

void appendMillionths(std::string& out, std::int64_t millionths) {
    // Laid out from the last digit backwards, two digits at a time, and appended at once: the writers put
    // millions of coordinates through here.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    auto pair = [](char* at, std::uint64_t twoDigits) { std::memcpy(at, kPairs + 2 * twoDigits, 2); };
    char buf[32];
    char* const end = buf + sizeof buf;
    char* p = end;
    char* kept = end;  // one past the last character written out
    const std::uint64_t magnitude = millionths < 0 ? 0 - static_cast<std::uint64_t>(millionths)
                                                   : static_cast<std::uint64_t>(millionths);
    std::uint64_t whole = magnitude / 1000000;
    if (const std::uint64_t fraction = magnitude % 1000000; fraction != 0) {
        pair(end - 2, fraction % 100);
        pair(end - 4, fraction / 100 % 100);
        pair(end - 6, fraction / 10000);
        while (kept[-1] == '0') --kept;  // the fraction is not 0: a digit other than 0 stops it
        p = end - 7;
        *p = '.';
    }
    for (; whole >= 100; whole /= 100) {
        p -= 2;
        pair(p, whole % 100);
    }
    if (whole >= 10) {
        p -= 2;
        pair(p, whole);
    } else {
        *--p = static_cast<char>('0' + whole);
    }
    if (millionths < 0) *--p = '-';
    out.append(p, static_cast<std::size_t>(kept - p));
}

std::string formatNumber(double v) {
    std::string out;
    appendNumber(out, v);
    return out;
}

}  // namespace velmora::text
