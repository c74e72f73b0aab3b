#include "platform/text/LineWriter.h"

#include <cerrno>

#include "platform/errors/RunTimeError.h"
#include "platform/text/Cp932.h"

namespace velmora::text {

namespace {
// Lines gather here and reach the file in pieces of this size.
constexpr std::size_t kBuffer = 1 << 16;
}  // namespace

LineWriter::~LineWriter() {
    if (!file_) return;
    if (!pending_.empty()) fwrite_unlocked(pending_.data(), 1, pending_.size(), file_);
    std::fclose(file_);
}

void LineWriter::open(const std::string& path, Mode mode) {
    if (file_) close();
    file_ = std::fopen(path.c_str(), mode == Mode::Append ? "ab" : "wb");
    if (!file_) {
        int e = errno;
        if (e == ENOENT || e == ENOTDIR) throw RunTimeError(err::PathNotFound, "Path not found");
        throw RunTimeError(err::PathFileAccessError, "Path/File access error");
    }
    std::setvbuf(file_, nullptr, _IONBF, 0);
    pending_.clear();
    pending_.reserve(kBuffer + 256);
    path_ = path;
}

void LineWriter::close() {
    if (!file_) return;
    std::FILE* f = file_;
    file_ = nullptr;
    bool ok = pending_.empty() || fwrite_unlocked(pending_.data(), 1, pending_.size(), f) == pending_.size();
    pending_.clear();
    ok = std::fflush(f) == 0 && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) throw RunTimeError(err::DeviceIoError, "Device I/O error");
}

// Converters write tens of millions of short lines: each is copied into the writer's own buffer, which
// goes to the file whole (a writer belongs to one thread, so the stream's lock is left out too).
void LineWriter::write(std::string_view bytes) {
    if (!file_) throw RunTimeError(err::BadFileNameOrNumber, "Bad file name or number");
    pending_.append(bytes);
    if (pending_.size() >= kBuffer) drain();
}

void LineWriter::writeLine(std::string_view cp932) {
    if (!file_) throw RunTimeError(err::BadFileNameOrNumber, "Bad file name or number");
    pending_.append(cp932);
    pending_.append("\r\n", 2);
    if (pending_.size() >= kBuffer) drain();
}

void LineWriter::drain() {
    const bool ok = fwrite_unlocked(pending_.data(), 1, pending_.size(), file_) == pending_.size();
    pending_.clear();
    if (!ok) throw RunTimeError(err::DeviceIoError, "Device I/O error");
}

void LineWriter::writeUtf8Line(std::string_view utf8) { writeLine(toCp932(utf8)); }

}  // namespace velmora::text
