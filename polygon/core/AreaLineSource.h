#pragma once
// Lines of an area file as the readers take them. A line ends at CR LF, CR or LF. Record lines of links
// and areas are read as by a 128-byte line buffer: a line longer than 127 bytes fails the source, after
// which every limited read yields an empty line (the next record check then reports the file) and every
// whole read fails. No line is read further than kLongestLine bytes: a longer one is no line of an area
// file (a file without line ends would otherwise be read whole into memory).
#include <string>

#include "platform/text/LineReader.h"

namespace ostrand {

class AreaLineSource {
public:
    // Throws "File open failure. KsPolygonMaker::open()" when the file cannot be opened.
    explicit AreaLineSource(const std::string& path);

    // A record line of at most kLimit bytes; empty once the source has failed or ended.
    std::string read_limited();
    // A line of up to kLongestLine bytes; false when the source has failed or ended. Throws
    // "Line too long. KsPolygonMaker::open()" for a longer line.
    bool read_whole(std::string& line);
    // Passes over n lines (node records); stops at the end of the file. Throws like read_whole.
    void skip_lines(long n);
    bool failed() const { return failed_; }

    static constexpr std::size_t kLimit = 127;
    // The longest line any reader of an area file takes whole (header, counts, node and ledger lines are
    // far shorter: fixed columns of some 130 bytes at most), with a wide margin.
    static constexpr std::size_t kLongestLine = 1024;

private:
    bool next(std::string& line, std::size_t limit);

    velmora::text::LineReader reader_;
    bool failed_ = false;
};

}  // namespace ostrand
