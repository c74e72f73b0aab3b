#include "platform/text/Conversions.h"

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

bool isNumeric(std::string_view s) {
    thread_local std::string scratch;
    return normalise(s, scratch);
}

double toDouble(std::string_view s) {
    thread_local std::string scratch;
    if (!normalise(s, scratch)) throw RunTimeError(err::TypeMismatch, "Type mismatch");
    double v = 0;
    const char* b = scratch.data();
    const char* e = b + scratch.size();
    auto r = std::from_chars(b, e, v);
    if (r.ec == std::errc::result_out_of_range) throw RunTimeError(err::Overflow, "Overflow");
    if (r.ec != std::errc() || r.ptr != e) throw RunTimeError(err::TypeMismatch, "Type mismatch");
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

std::string formatNumber(double v) {
    if (v == 0 || !std::isfinite(v)) return "0";
    char buf[64];
    // 15 significant digits in scientific form, then laid out as plain decimal.
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    std::string_view sci(buf, static_cast<std::size_t>(r.ptr - buf));
    bool negative = sci.front() == '-';
    if (negative) sci.remove_prefix(1);
    std::size_t ePos = sci.find('e');
    int exponent = std::atoi(std::string(sci.substr(ePos + 1)).c_str());
    std::string digits;
    for (char c : sci.substr(0, ePos))
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out;
    if (negative) out += '-';
    int pointAfter = exponent + 1;  // digits before the decimal point
    if (pointAfter <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-pointAfter), '0');
        out += digits;
    } else if (static_cast<std::size_t>(pointAfter) >= digits.size()) {
        out += digits;
        out.append(static_cast<std::size_t>(pointAfter) - digits.size(), '0');
    } else {
        out += digits.substr(0, static_cast<std::size_t>(pointAfter));
        out += '.';
        out += digits.substr(static_cast<std::size_t>(pointAfter));
    }
    return out;
}

}  // namespace velmora::text
