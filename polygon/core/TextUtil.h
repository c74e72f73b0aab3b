#pragma once
// Byte-string helpers of the library. Texts are CP932 bytes; positions and lengths count bytes.
#include <functional>
#include <string>
#include <vector>

#include "platform/text/DateTimeText.h"

namespace ostrand {

// The path without its extension: cut before the last "." unless a folder separator ("\" or "/")
// stands after it.
std::string remove_extension(const std::string& path);

// Every ideographic space (0x81 0x40) becomes two ASCII spaces; character boundaries are not tracked.
void replace_fullwidth_space(std::string& s);

// replace_fullwidth_space, then drop spaces, tabs and line feeds at both ends (carriage returns stay).
void trim(std::string& s);

// Cuts at every delimiter byte, trims each piece and replaces the list; an empty text empties it.
void split(const std::string& s, char delimiter, std::vector<std::string>& out);

// Paths reach the library as UTF-8, whose bytes the CP932 trim would misread (the second byte of "ā" and
// a following "@" look like an ideographic space). This trim drops spaces, tabs, line feeds and
// ideographic spaces (U+3000) at both ends as whole characters and leaves everything between as it is.
void trim_utf8(std::string& s);
// split with trim_utf8 in place of trim: for the list of input paths.
void split_utf8(const std::string& s, char delimiter, std::vector<std::string>& out);

// Local date and time as the library sees it; tests replace the clock.
using LocalTime = velmora::text::DateTime;
using Clock = std::function<LocalTime()>;
// Installs a clock; an empty function restores the system's local time.
void set_clock(Clock clock);
LocalTime local_now();

// prefix + "yyyy/mm/dd hh:mm:ss" + line feed, from the clock.
std::string make_time_stamp(const std::string& prefix);

// A UTF-8 literal as CP932 bytes, converted once per literal and kept for the library's life.
const std::string& sjis(const char* utf8_literal);

// Leading decimal integer of a byte range as the C atoi reads it (white space skipped, optional sign,
// digits up to the first other byte, 0 without digits). Never overflows: the value saturates at
// +-kIntegerLimit, so a caller that needs 32 bits can tell a value that does not fit.
inline constexpr long long kIntegerLimit = 1000000000000000000LL;
long long read_integer(const char* first, const char* last);
// read_integer of the bytes (pos, len) of a text; len counts to the end when the text is shorter.
// A position beyond the end throws std::out_of_range (as a bounds-checked substring).
long long read_integer_at(const std::string& s, std::size_t pos, std::size_t len);
// Leading decimal number of a byte range as the C atof reads it (0 when there is none).
double read_double(const char* first, const char* last);
// read_double of the bytes (pos, len), cut as read_integer_at cuts.
double read_double_at(const std::string& s, std::size_t pos, std::size_t len);

}  // namespace ostrand
