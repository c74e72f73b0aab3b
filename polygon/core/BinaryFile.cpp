#include "polygon/core/BinaryFile.h"

#include <unistd.h>

#include <cstring>

namespace ostrand {

BinaryFile::BinaryFile(int fd, std::string failure_text) : failure_(std::move(failure_text)) {
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        ::close(fd);
        throw failure_;
    }
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
}

BinaryFile::~BinaryFile() {
    if (file_) std::fclose(file_);
}

void BinaryFile::fail() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    throw failure_;
}

void BinaryFile::write(const void* data, std::size_t n) {
    if (!file_) fail();
    if (n != 0 && fwrite_unlocked(data, 1, n, file_) != n) fail();
}

void BinaryFile::put_be32(std::int32_t v) {
    char b[4];
    store_be32(b, v);
    write(b, 4);
}

void BinaryFile::put_le32(std::int32_t v) {
    char b[4];
    store_le32(b, v);
    write(b, 4);
}

void BinaryFile::put_le16(std::uint16_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    write(b, 2);
}

void BinaryFile::put_le_double(double v) {
    char b[8];
    store_le_double(b, v);
    write(b, 8);
}

void BinaryFile::sync() {
    if (!file_) fail();
    if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0) fail();
}

void BinaryFile::close() {
    if (!file_) return;
    std::FILE* f = file_;
    file_ = nullptr;
    const bool flushed = std::fflush(f) == 0;
    const bool closed = std::fclose(f) == 0;
    if (!flushed || !closed) throw failure_;
}

}  // namespace ostrand
