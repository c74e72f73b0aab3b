#pragma once
// Writes text files line by line; every line ends with CR LF. Lines are given as raw CP932 bytes, or as
// UTF-8 through writeUtf8Line, which encodes them.
#include <cstdio>
#include <string>
#include <string_view>

namespace velmora::text {

class LineWriter {
public:
    enum class Mode { Replace, Append };

    LineWriter() = default;
    LineWriter(const std::string& path, Mode mode) { open(path, mode); }
    ~LineWriter();
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    // Throws RunTimeError(PathNotFound / PathFileAccessError) when the file cannot be opened.
    void open(const std::string& path, Mode mode);
    // Flushes and closes; a failed flush throws RunTimeError(DeviceIoError). Closing twice is harmless.
    void close();
    bool isOpen() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }

    // Throws RunTimeError(DeviceIoError) when the write fails.
    void writeLine(std::string_view cp932);
    void writeUtf8Line(std::string_view utf8);
    // Writes bytes without a line end.
    void write(std::string_view bytes);

private:
    void drain();

    std::FILE* file_ = nullptr;
    std::string pending_;  // written lines not yet handed to the file
    std::string path_;
};

}  // namespace velmora::text
