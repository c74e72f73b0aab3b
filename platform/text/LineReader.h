#pragma once
// Reads a text file line by line as raw bytes (CP932 stays undecoded). A line ends at CR LF, CR or LF;
// the end is not part of the line. A last line without an end is still a line; an empty file has none.
#include <cstdio>
#include <string>
#include <vector>

namespace velmora::text {

class LineReader {
public:
    LineReader() = default;
    explicit LineReader(const std::string& path) { open(path); }
    ~LineReader() { close(); }
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Throws RunTimeError(FileNotFound / PathFileAccessError) when the file cannot be opened.
    void open(const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }

    // Next line into `line`; false at the end of the file. Throws RunTimeError(DeviceIoError) on a read error.
    bool next(std::string& line);
    // The same, reading no more than limit + 1 bytes of the line: a longer line comes back as its first
    // limit + 1 bytes (so line.size() > limit tells it), and the reader stays inside it. A file without
    // line ends thus never has to fit in memory.
    bool next(std::string& line, std::size_t limit);
    // True when no further line can be read.
    bool atEnd();
    // 1-based number of the line last returned by next().
    long lineNumber() const { return lineNumber_; }
    // The path the reader was opened on (messages name the file and line).
    const std::string& path() const { return path_; }

private:
    bool fill();

    std::FILE* file_ = nullptr;
    std::vector<char> buf_;
    std::size_t pos_ = 0, len_ = 0;
    bool eof_ = false;
    long lineNumber_ = 0;
    std::string path_;
};

}  // namespace velmora::text
