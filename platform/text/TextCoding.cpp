#include "platform/text/TextCoding.h"

#include <cstdint>
#include <cstring>

#include "platform/text/Cp932.h"
#include "platform/text/Sjis.h"

namespace velmora::text {

namespace {

constexpr bool isSjisTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }
constexpr bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// How a line reads as UTF-8.
enum class Utf8Reading {
    NotUtf8,
    Narrow,    // valid, no character of three bytes or more
    Japanese,  // valid, its wide characters all of a kind a Shift-JIS text holds
    Foreign,   // valid, with a wide character that no Shift-JIS text holds
};

// A character of three bytes that Shift-JIS holds. Shift-JIS pairs that happen to be UTF-8 decode to
// Hangul (lead bytes 0xEA-0xED), to private-use characters (0xEE, 0xEF: the user-defined area of CP932
// lies there too, but no converted data file carries it) and to rare ideographs outside CP932.
bool isShiftJisCharacter(std::string_view sequence, char32_t cp) {
    if (cp >= 0xE000 && cp <= 0xF8FF) return false;
    if (cp >= 0x3000 && cp <= 0x30FF) return true;  // kana and Japanese punctuation, the common case
    return hasCp932Form(sequence);
}

Utf8Reading utf8Reading(std::string_view s) {
    bool wide = false;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        const std::size_t n = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return Utf8Reading::NotUtf8;
        for (std::size_t k = 1; k < n; ++k)
            if (!isContinuation(static_cast<unsigned char>(s[i + k]))) return Utf8Reading::NotUtf8;
        const auto c1 = static_cast<unsigned char>(s[i + 1]);
        // Overlong forms, surrogates and code points beyond U+10FFFF are no UTF-8.
        if ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 > 0x9F) || (c == 0xF0 && c1 < 0x90) || (c == 0xF4 && c1 > 0x8F))
            return Utf8Reading::NotUtf8;
        if (n == 3) {
            const char32_t cp = (char32_t(c & 0x0F) << 12) | (char32_t(c1 & 0x3F) << 6) |
                                char32_t(static_cast<unsigned char>(s[i + 2]) & 0x3F);
            if (!isShiftJisCharacter(s.substr(i, 3), cp)) return Utf8Reading::Foreign;
        }
        if (n >= 3) wide = true;
        i += n;
    }
    return wide ? Utf8Reading::Japanese : Utf8Reading::Narrow;
}

}  // namespace

bool isCp932Text(std::string_view s) {
    std::size_t i = 0;
    // Most lines are ASCII: eight bytes a step until a byte with its high bit set.
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if (word & 0x8080808080808080ull) break;
    }
    for (; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) continue;
        if (isSjisLeadByte(c) && i + 1 < s.size() && isSjisTrailByte(static_cast<unsigned char>(s[i + 1]))) {
            ++i;
            continue;
        }
        return false;
    }
    return true;
}

LineCoding lineCoding(std::string_view s) {
    if (s.starts_with("\xEF\xBB\xBF")) return LineCoding::Utf8;
    if (singleBytesOnly(s)) return LineCoding::Plain;
    const bool cp932 = isCp932Text(s);
    const Utf8Reading utf8 = utf8Reading(s);
    if (!cp932) return utf8 == Utf8Reading::Japanese || utf8 == Utf8Reading::Foreign ? LineCoding::Utf8 : LineCoding::NotCp932;
    switch (utf8) {
        case Utf8Reading::NotUtf8:
        case Utf8Reading::Foreign: return LineCoding::ShiftJis;
        case Utf8Reading::Narrow: return LineCoding::Plain;
        case Utf8Reading::Japanese: return LineCoding::Either;
    }
    return LineCoding::NotCp932;
}

}  // namespace velmora::text
