#pragma once
// Conversion between UTF-8 (sources, user interface, paths) and CP932 (every file the program reads or
// writes as text). Converters are cached per thread; no conversion allocates an iconv descriptor.
#include <string>
#include <string_view>

namespace velmora::text {

// UTF-8 → CP932. Throws RunTimeError(TypeMismatch) when a character has no CP932 form.
std::string toCp932(std::string_view utf8);
// True when every character of the UTF-8 text has a CP932 form, be it one it shares with another
// character (U+301C WAVE DASH is written as U+FF5E's code).
bool hasCp932Form(std::string_view utf8);
// True when the UTF-8 text has a CP932 form that reads back as the same text (a file name or a path that
// travels through a CP932 file names the same file afterwards).
bool canEncodeCp932(std::string_view utf8);
// CP932 → UTF-8. A byte sequence that is not CP932 decodes as U+FFFD, never fails.
std::string fromCp932(std::string_view cp932);

}  // namespace velmora::text
