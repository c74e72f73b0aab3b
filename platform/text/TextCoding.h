#pragma once
// Which coding a line of an input file is written in. Data files are Shift-JIS (CP932); a file saved as
// UTF-8 is refused, as its names would convert garbled. The two codings overlap: the Shift-JIS bytes of
// a name such as 﨑山 (ED 95 8E 52) are valid UTF-8 too. So a line alone tells only where it reads one way;
// a line that reads either way takes the coding of its file (LineReader decides it once per file).
#include <string_view>

namespace velmora::text {

enum class LineCoding {
    // CP932 text that tells nothing: ASCII, or high bytes that also read as UTF-8 without any character
    // of three bytes or more (pairs of half-width kana read like accented Latin letters).
    Plain,
    // CP932 text that no UTF-8 Japanese text holds: no valid UTF-8, or UTF-8 with a character that no
    // Shift-JIS text could have been converted into (a Hangul syllable, a private-use character).
    ShiftJis,
    // CP932 text that also reads as UTF-8 text of characters that Shift-JIS holds.
    Either,
    // No CP932 text, but UTF-8 text with characters of three bytes or more; or a line that begins with
    // the UTF-8 byte order mark.
    Utf8,
    // Neither.
    NotCp932,
};
LineCoding lineCoding(std::string_view line);

// CP932 text (ASCII included): every byte above 0x7F is a half-width kana, or a lead byte followed by a
// trail byte. What lineCoding tests first, alone: enough once the file is known to be Shift-JIS.
bool isCp932Text(std::string_view line);

}  // namespace velmora::text
