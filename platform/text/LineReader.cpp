#include "platform/text/LineReader.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/errors/RunTimeError.h"

namespace velmora::text {

namespace {

// The position of the first CR or LF in [from, end), or end: eight bytes tested at a time.
std::size_t lineEndFrom(const char* base, std::size_t from, std::size_t end) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
    constexpr std::uint64_t kCr = kOnes * '\r', kLf = kOnes * '\n';
    auto hasZeroByte = [](std::uint64_t v) { return ((v - kOnes) & ~v & kHighs) != 0; };
    std::size_t i = from;
    for (; i + 8 <= end; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, base + i, 8);
        if (hasZeroByte(word ^ kCr) || hasZeroByte(word ^ kLf)) break;
    }
    for (; i < end; ++i)
        if (base[i] == '\n' || base[i] == '\r') return i;
    return end;
}

}  // namespace

void LineReader::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) {
        int e = errno;
        if (e == ENOENT) throw RunTimeError(err::FileNotFound, "File not found");
        throw RunTimeError(err::PathFileAccessError, "Path/File access error");
    }
    buf_.resize(1 << 16);
    pos_ = len_ = 0;
    eof_ = false;
    lineNumber_ = 0;
    path_ = path;
}

void LineReader::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

bool LineReader::fill() {
    if (eof_ || !file_) return false;
    if (pos_ > 0) {
        std::memmove(buf_.data(), buf_.data() + pos_, len_ - pos_);
        len_ -= pos_;
        pos_ = 0;
    }
    if (len_ == buf_.size()) buf_.resize(buf_.size() * 2);
    std::size_t got = std::fread(buf_.data() + len_, 1, buf_.size() - len_, file_);
    if (got == 0) {
        if (std::ferror(file_)) throw RunTimeError(err::DeviceIoError, "Device I/O error");
        eof_ = true;
        return false;
    }
    len_ += got;
    return true;
}

bool LineReader::atEnd() {
    if (pos_ < len_) return false;
    return !fill();
}

bool LineReader::next(std::string& line) { return next(line, static_cast<std::size_t>(-1) - 1); }

bool LineReader::next(std::string& line, std::size_t limit) {
    if (!file_) return false;
    std::size_t scanFrom = pos_;
    for (;;) {
        const char* base = buf_.data();
        const std::size_t end = len_ - pos_ > limit ? pos_ + limit + 1 : len_;
        if (const std::size_t i = lineEndFrom(base, scanFrom, end); i < end) {
            const char c = base[i];
            // A CR at the end of the buffer may be the first half of CR LF: read on before deciding.
            // fill() moves the unread bytes to the front even when it finds the end of the file, so the
            // CR is looked for again where it now stands (and at the end, it ends the line).
            if (c == '\r' && i + 1 == len_ && !eof_) {
                std::size_t rel = i - pos_;
                fill();
                scanFrom = pos_ + rel;
                goto rescan;
            }
            line.assign(buf_.data() + pos_, i - pos_);
            pos_ = i + 1;
            if (c == '\r' && pos_ < len_ && buf_[pos_] == '\n') ++pos_;
            ++lineNumber_;
            return true;
        }
        if (end < len_) {
            line.assign(buf_.data() + pos_, limit + 1);
            pos_ = end;
            ++lineNumber_;
            return true;
        }
        {
            std::size_t rel = len_ - pos_;
            if (!fill()) {
                if (pos_ >= len_) return false;
                line.assign(buf_.data() + pos_, len_ - pos_);
                pos_ = len_;
                ++lineNumber_;
                return true;
            }
            scanFrom = pos_ + rel;
        }
    rescan:;
    }
}

}  // namespace velmora::text
