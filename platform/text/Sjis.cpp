#include "platform/text/Sjis.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/errors/RunTimeError.h"

namespace velmora::text {

// Tested eight bytes at a time: every column cut of a record runs this over the line up to the column's end.
bool singleBytesOnly(std::string_view s) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if (word & kHighBits) return false;
    }
    for (; i < s.size(); ++i)
        if (static_cast<unsigned char>(s[i]) >= 0x80) return false;
    return true;
}

std::size_t sjisCharCount(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); ++n)
        i += (isSjisLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
    return n;
}

std::string_view sjisByteCut(std::string_view s, long start, long length) {
    if (start < 1 || length < 0)
        throw RunTimeError(err::InvalidProcedureCall, "Invalid procedure call or argument");
    std::size_t from = static_cast<std::size_t>(start - 1);
    if (from >= s.size() || length == 0) return {};
    std::size_t to = from + static_cast<std::size_t>(length);
    if (to > s.size()) to = s.size();
    // Walk character boundaries up to the cut: a character that straddles either end is dropped.
    std::size_t i = 0;
    while (i < from) i += (isSjisLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
    std::size_t begin = i;  // i == from, or from + 1 when from was a trail byte
    std::size_t end = begin;
    while (end < to) {
        std::size_t w = (isSjisLeadByte(static_cast<unsigned char>(s[end])) && end + 1 < s.size()) ? 2 : 1;
        if (end + w > to) break;
        end += w;
    }
    if (begin >= end) return {};
    return s.substr(begin, end - begin);
}

std::string_view sjisCharCut(std::string_view s, long start, long length) {
    if (start < 1) throw RunTimeError(err::InvalidProcedureCall, "Invalid procedure call or argument");
    if (length >= 0) {
        // Where no byte up to the cut's end is above 0x7F, characters are bytes: most record columns.
        const std::size_t from = static_cast<std::size_t>(start - 1);
        const std::size_t end = std::min(s.size(), from + static_cast<std::size_t>(length));
        if (singleBytesOnly(s.substr(0, end))) return singleByteCut(s, from, static_cast<std::size_t>(length));
    }
    std::size_t i = 0;
    for (long c = 1; c < start && i < s.size(); ++c)
        i += (isSjisLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
    if (i >= s.size()) return {};
    if (length < 0) return s.substr(i);
    std::size_t j = i;
    for (long c = 0; c < length && j < s.size(); ++c)
        j += (isSjisLeadByte(static_cast<unsigned char>(s[j])) && j + 1 < s.size()) ? 2 : 1;
    return s.substr(i, j - i);
}

std::size_t sjisFind(std::string_view hay, std::string_view needle) {
    if (needle.empty()) return 0;
    for (std::size_t i = 0; i + needle.size() <= hay.size();) {
        if (hay.compare(i, needle.size(), needle) == 0) return i;
        i += (isSjisLeadByte(static_cast<unsigned char>(hay[i])) && i + 1 < hay.size()) ? 2 : 1;
    }
    return std::string_view::npos;
}

}  // namespace velmora::text
