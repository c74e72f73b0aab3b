#include "platform/text/LineWriter.h"

#include <cerrno>

#include "platform/errors/RunTimeError.h"
#include "platform/text/Cp932.h"

namespace velmora::text {

LineWriter::~LineWriter() {
    if (file_) std::fclose(file_);
}

void LineWriter::open(const std::string& path, Mode mode) {
    if (file_) close();
    file_ = std::fopen(path.c_str(), mode == Mode::Append ? "ab" : "wb");
    if (!file_) {
        int e = errno;
        if (e == ENOENT || e == ENOTDIR) throw RunTimeError(err::PathNotFound, "Path not found");
        throw RunTimeError(err::PathFileAccessError, "Path/File access error");
    }
    static constexpr std::size_t kBuffer = 1 << 16;
    std::setvbuf(file_, nullptr, _IOFBF, kBuffer);
    path_ = path;
}

void LineWriter::close() {
    if (!file_) return;
    std::FILE* f = file_;
    file_ = nullptr;
    bool ok = std::fflush(f) == 0;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) throw RunTimeError(err::DeviceIoError, "Device I/O error");
}

// A writer belongs to one thread, so the stream's lock is left out: converters write tens of millions of
// short lines, where taking the lock twice per line costs more than the copying.
void LineWriter::write(std::string_view bytes) {
    if (!file_) throw RunTimeError(err::BadFileNameOrNumber, "Bad file name or number");
    if (!bytes.empty() && fwrite_unlocked(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        throw RunTimeError(err::DeviceIoError, "Device I/O error");
}

void LineWriter::writeLine(std::string_view cp932) {
    write(cp932);
    if (putc_unlocked('\r', file_) == EOF || putc_unlocked('\n', file_) == EOF)
        throw RunTimeError(err::DeviceIoError, "Device I/O error");
}

void LineWriter::writeUtf8Line(std::string_view utf8) { writeLine(toCp932(utf8)); }

}  // namespace velmora::text
