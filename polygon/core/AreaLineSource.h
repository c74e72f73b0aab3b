#pragma once
// Lines of an area file as the readers take them. A line ends at CR LF, CR or LF. Record lines of links
// and areas are read as by a 128-byte line buffer: a line longer than 127 bytes fails the source, after
// which every limited read yields an empty line (the next record check then reports the file) and every
// whole read fails. No line is read further than kLongestLine bytes: a longer one is no line of an area
// file (a file without line ends would otherwise be read whole into memory).
//
// Fields are cut from the lines at fixed byte columns (`field`); a field that starts beyond the end of its
// line means the line was cut short, which fails the file with a text naming the file and the line.
#include <string>
#include <string_view>

#include "platform/text/LineReader.h"

namespace ostrand {

class AreaLineSource {
public:
    // Throws "File open failure. KsPolygonMaker::open()" when the file cannot be opened.
    explicit AreaLineSource(const std::string& path);

    // A record line of at most kLimit bytes, valid until the next read; empty once the source has failed
    // or ended.
    std::string_view read_limited();
    // The continuation lines of a record of n entries of `width` bytes, five to a line (none for n <= 0),
    // as one text: each line read as read_limited reads it, without the blanks after its entries, so that
    // a line padded with blanks reads as the same entries; whatever else a line holds beyond its entries
    // stays and runs on into the next line's. Valid until the next read.
    std::string_view read_entries(int n, std::size_t width);
    // A line of up to kLongestLine bytes; false when the source has failed or ended. Throws
    // "Line too long. KsPolygonMaker::open()" for a longer line.
    bool read_whole(std::string& line);
    // Passes over n lines (node records); stops at the end of the file. Throws like read_whole.
    void skip_lines(long n);
    bool failed() const { return failed_; }

    // The bytes (pos, len) of a text this source gave (a line, or the lines of one record joined), cut as a
    // bounds-checked substring cuts: len counts to the end when the text is shorter, and a field that
    // starts exactly at the end is empty. One that starts beyond the end throws cut_short.
    std::string_view field(std::string_view text, std::size_t pos, std::size_t len) const {
        if (pos > text.size()) cut_short(text.size(), pos + len);
        return text.substr(pos, len);
    }
    // Throws the failure of a record that ends before a column it needs: "入力ファイル <path> の N行目のレコードが
    // 途中で切れています（長さL、項目の配置はE桁目まで）。" (CP932), N the line last read, L the length of the
    // text, E the last column of the field (each left out when not known: npos, 0). A path that CP932
    // cannot hold is left out of the text; the job's failure box then names the file and line after it.
    [[noreturn]] void cut_short(std::size_t length, std::size_t layout_end) const;

    static constexpr std::size_t kLimit = 127;
    // The longest line any reader of an area file takes whole (header, counts, node and ledger lines are
    // far shorter: fixed columns of some 130 bytes at most), with a wide margin.
    static constexpr std::size_t kLongestLine = 1024;

private:
    bool next(std::string& line, std::size_t limit);

    velmora::text::LineReader reader_;
    std::string limited_;  // the line read_limited gave last
    std::string joined_;   // the lines read_entries gave last
    bool failed_ = false;
};

}  // namespace ostrand
