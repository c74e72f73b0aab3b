#pragma once
// Shift-JIS (CP932) byte-level helpers on raw record bytes. None allocates.
#include <cstddef>
#include <string>
#include <string_view>

namespace velmora::text {

// A lead byte of a double-byte character (0x81-0x9F, 0xE0-0xFC). Half-width kana (0xA1-0xDF) are single bytes.
constexpr bool isSjisLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Number of characters of a CP932 text (a double-byte character counts once; a lead byte at the very end
// counts as one character).
std::size_t sjisCharCount(std::string_view s);

// The bytes start .. start+length-1 (1-based) of a CP932 text; fewer when the text ends, none when start
// lies past the end. A cut never returns half a character: a trail byte at the start of the cut or a lead
// byte at its end (a double-byte character split by the cut) is left out of the result.
// start < 1 or length < 0 throws RunTimeError(InvalidProcedureCall).
std::string_view sjisByteCut(std::string_view s, long start, long length);

// Characters start .. start+length-1 (1-based, a double-byte character counts once); length < 0 takes the
// rest of the text. start < 1 throws RunTimeError(InvalidProcedureCall).
std::string_view sjisCharCut(std::string_view s, long start, long length = -1);

// No byte above 0x7F: every character is one byte.
bool singleBytesOnly(std::string_view s);
// sjisCharCut of a text whose characters are single bytes up to the cut's end: bytes from the 0-based
// `from`, fewer where the text ends, none (no data) where `from` lies past it.
inline std::string_view singleByteCut(std::string_view s, std::size_t from, std::size_t length) {
    return from >= s.size() ? std::string_view() : s.substr(from, length);
}

// One line cut into many columns (the fields of a record): the cuts of sjisCharCut and the count of
// sjisCharCount, with the line tested once for double-byte characters rather than at every cut.
class SjisColumns {
public:
    SjisColumns(std::string_view line) : line_(line), singleBytes_(singleBytesOnly(line)) {}
    SjisColumns(const std::string& line) : SjisColumns(std::string_view(line)) {}
    std::string_view line() const { return line_; }
    std::string_view cut(long start, long length) const {
        if (!singleBytes_ || start < 1 || length < 0) return sjisCharCut(line_, start, length);
        return singleByteCut(line_, static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length));
    }
    std::size_t charCount() const { return singleBytes_ ? line_.size() : sjisCharCount(line_); }

private:
    std::string_view line_;
    bool singleBytes_;
};

// Byte offset of the first occurrence of needle in hay that begins on a character boundary, or npos.
// An empty needle is found at 0.
std::size_t sjisFind(std::string_view hay, std::string_view needle);
inline bool sjisContains(std::string_view hay, std::string_view needle) {
    return sjisFind(hay, needle) != std::string_view::npos;
}

}  // namespace velmora::text
