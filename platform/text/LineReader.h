#pragma once
// Reads a text file line by line as raw bytes (CP932 stays undecoded). A line ends at CR LF, CR or LF;
// the end is not part of the line. A last line without an end is still a line; an empty file has none.
//
// Input files come from users: only regular files are opened (a named pipe would hang the job, a device
// never end), and next() refuses a line longer than any layout of the data set allows and a line that is
// not CP932 text or belongs to a file written in UTF-8. Each refusal is a RunTimeError whose description
// names the file and the line.
//
// A 0x1A that ends the file (the old end-of-file mark, alone on the last line or at its end) is no data:
// neither read gives it, and a last line of nothing else is no line.
#include <cstdio>
#include <optional>
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

    // The longest line next() takes: the longest record of the data set's layouts (a delimited
    // land-price line of some hundreds of items) many times over.
    static constexpr std::size_t kLongestLine = 64 * 1024;

    // Throws RunTimeError(FileNotFound / PathFileAccessError) when the file cannot be opened, the path
    // then being the place error boxes name (lastReadPosition, line 0), and RunTimeError(InputRefused)
    // naming the path when it is no regular file. AnyFile takes a pipe too
    // (the program's own files, which a test may feed through one).
    enum class Accept { RegularFile, AnyFile };
    void open(const std::string& path, Accept accept = Accept::RegularFile);
    void close();
    // Closes a reader that has read all it meant to (the first lines of a file): unlike close() before
    // the end, it leaves no place for error boxes to name.
    void finish();
    bool isOpen() const { return file_ != nullptr; }

    // Next line into `line`; false at the end of the file. Throws RunTimeError(DeviceIoError) on a read
    // error, and RunTimeError(InputRefused) naming file and line for a line longer than kLongestLine,
    // holding bytes that are no CP932 text, or reading as UTF-8 text of a file in UTF-8. A line that reads
    // both as Shift-JIS and as UTF-8 (text::LineCoding::Either) takes the coding of its file: Shift-JIS
    // when a line of the file, before or after it, reads only as Shift-JIS.
    bool next(std::string& line);
    // The raw read under next(), which checks nothing: no more than limit + 1 bytes of the line are read;
    // a longer line comes back as its first limit + 1 bytes (so line.size() > limit tells it), and the
    // reader stays inside it. A file without line ends thus never has to fit in memory.
    bool next(std::string& line, std::size_t limit);
    // True when no further line can be read.
    bool atEnd();
    // 1-based number of the line last returned by next().
    long lineNumber() const { return lineNumber_; }
    // Whether that line was ended (by CR, LF or CR LF, or by the old end-of-file mark 0x1A): only the
    // last line of a file can end without, as a file cut inside its last line does.
    bool lineEnded() const { return lineEnded_; }
    // The path the reader was opened on (messages name the file and line).
    const std::string& path() const { return path_; }

private:
    bool fill();
    bool readLine(std::string& line, std::size_t limit);
    [[noreturn]] void refuseLine(const char* what) const;
    // What coding the file's lines tell, from the start of the file to the first line that tells.
    enum class Told { Nothing, ShiftJis, Utf8 };
    Told scanFileCoding() const;

    std::FILE* file_ = nullptr;
    std::vector<char> buf_;
    std::size_t pos_ = 0, len_ = 0;
    bool eof_ = false;
    bool ended_ = false;  // next() has given false
    long lineNumber_ = 0;
    Told coding_ = Told::Nothing;  // what the lines read so far (or the whole file, once scanned) told
    bool lineEnded_ = true;
    std::string path_;
};

// Where reading stood: the file and the 1-based line last read (0: none yet).
struct ReadPosition {
    std::string path;
    long line = 0;
    bool lineEnded = true;  // LineReader::lineEnded of that line
};
// The position of the reader last opened in this thread while it is open, or of the last one closed
// before it reached the end of its file (reading broken off by an error): error boxes name it. Reading
// that went to the end leaves none.
std::optional<ReadPosition> lastReadPosition();
// Forgets the position (a new job begins).
void forgetReadPosition();
// "path の N行目" (or the path alone before any line), as messages name a place in an input file.
std::string positionText(const ReadPosition& at);

}  // namespace velmora::text
