#include "platform/text/LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/errors/RunTimeError.h"
#include "platform/text/TextCoding.h"

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

// The reader whose position error boxes name, and the position a reader left when it was closed
// before its end.
thread_local const LineReader* tCurrent = nullptr;
thread_local std::optional<ReadPosition> tLeft;

}  // namespace

std::optional<ReadPosition> lastReadPosition() {
    if (tCurrent) return ReadPosition{tCurrent->path(), tCurrent->lineNumber(), tCurrent->lineEnded()};
    return tLeft;
}

void forgetReadPosition() {
    tCurrent = nullptr;
    tLeft.reset();
}

std::string positionText(const ReadPosition& at) {
    if (at.line <= 0) return at.path;
    return at.path + " の " + std::to_string(at.line) + "行目";
}

void LineReader::open(const std::string& path, Accept accept) {
    close();
    // Not blocking in open(): a named pipe without a writer would wait there for good.
    const int fd = ::open(path.c_str(), O_RDONLY | (accept == Accept::RegularFile ? O_NONBLOCK : 0) | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        // Error boxes name this file, not where another reader stood (a job reads several files at
        // once: an input and its item layout file).
        tCurrent = nullptr;
        tLeft = ReadPosition{path, 0};
        if (e == ENOENT) throw RunTimeError(err::FileNotFound, "File not found");
        throw RunTimeError(err::PathFileAccessError, "Path/File access error");
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || (accept == Accept::RegularFile && !S_ISREG(st.st_mode))) {
        ::close(fd);
        throw RunTimeError(err::InputRefused, "入力ファイル " + path + " は通常のファイルではありません（フォルダ、名前付きパイプ、デバイスなど）。");
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file_ = ::fdopen(fd, "rb");
    if (!file_) {
        ::close(fd);
        throw RunTimeError(err::PathFileAccessError, "Path/File access error");
    }
    buf_.resize(1 << 16);
    pos_ = len_ = 0;
    eof_ = false;
    ended_ = false;
    lineNumber_ = 0;
    coding_ = Told::Nothing;
    lineEnded_ = true;
    path_ = path;
    tCurrent = this;
    tLeft.reset();
}

void LineReader::close() {
    if (file_) {
        if (tCurrent == this) {
            tCurrent = nullptr;
            // Reading broken off (before next() told the end, even on the last line) keeps its place
            // for the error box that follows.
            if (ended_) tLeft.reset();
            else tLeft = ReadPosition{path_, lineNumber_, lineEnded_};
        }
        std::fclose(file_);
    }
    file_ = nullptr;
}

void LineReader::finish() {
    ended_ = true;
    close();
}

void LineReader::refuseLine(const char* what) const {
    throw RunTimeError(err::InputRefused, "入力ファイル " + positionText({path_, lineNumber_}) + what);
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

bool LineReader::next(std::string& line) {
    if (!next(line, kLongestLine)) return false;
    if (line.size() > kLongestLine)
        refuseLine(("が長すぎます（" + std::to_string(kLongestLine) + "バイトを超えています）。").c_str());
    // Once a line has shown the file to be Shift-JIS, CP932 text is all a line must be.
    if (coding_ == Told::ShiftJis && isCp932Text(line)) return true;
    switch (lineCoding(line)) {
        case LineCoding::Plain: return true;
        case LineCoding::ShiftJis: coding_ = Told::ShiftJis; return true;
        case LineCoding::Either:
            // The lines before told nothing: the file decides, once.
            if (coding_ == Told::Nothing) coding_ = scanFileCoding();
            if (coding_ == Told::ShiftJis) return true;
            [[fallthrough]];
        case LineCoding::Utf8: refuseLine("はUTF-8の文字で書かれています。Shift-JIS（CP932）のファイルを指定してください。");
        case LineCoding::NotCp932: refuseLine("にShift-JIS（CP932）ではない文字があります。");
    }
    return true;
}

LineReader::Told LineReader::scanFileCoding() const {
    const auto tells = [](std::string_view line) {
        switch (lineCoding(line)) {
            case LineCoding::ShiftJis: return Told::ShiftJis;
            case LineCoding::Utf8: return Told::Utf8;
            default: return Told::Nothing;
        }
    };
    // Read beside the reader (pread leaves its place alone); a file that cannot be read so (a pipe) tells
    // nothing more.
    const int fd = ::fileno(file_);
    std::vector<char> chunk(1 << 16);
    std::string line;
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, chunk.data(), chunk.size(), at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        at += n;
        for (const char c : std::string_view(chunk.data(), static_cast<std::size_t>(n))) {
            if (c == '\r' || c == '\n') {
                if (const Told t = tells(line); t != Told::Nothing) return t;
                line.clear();
            } else if (line.size() <= kLongestLine) {
                line.push_back(c);
            }
        }
    }
    if (const Told t = tells(line); t != Told::Nothing) return t;
    // Every line with double-byte text reads as UTF-8 Japanese text: a file in UTF-8.
    return Told::Utf8;
}

bool LineReader::next(std::string& line, std::size_t limit) {
    if (!readLine(line, limit)) return false;
    if (!line.empty() && line.back() == '\x1A' && line.size() <= limit && atEnd()) {
        line.erase(line.find_last_not_of('\x1A') + 1);
        if (line.empty()) {
            --lineNumber_;
            ended_ = true;
            return false;
        }
    }
    return true;
}

bool LineReader::readLine(std::string& line, std::size_t limit) {
    if (!file_) return false;
    if (ended_) return false;
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
            lineEnded_ = true;
            return true;
        }
        if (end < len_) {
            line.assign(buf_.data() + pos_, limit + 1);
            pos_ = end;
            ++lineNumber_;
            lineEnded_ = false;
            return true;
        }
        {
            std::size_t rel = len_ - pos_;
            if (!fill()) {
                if (pos_ >= len_) return ended_ = true, false;
                line.assign(buf_.data() + pos_, len_ - pos_);
                pos_ = len_;
                ++lineNumber_;
                // A DOS-era file closes its last line with the end-of-file mark instead.
                lineEnded_ = !line.empty() && line.back() == '\x1A';
                return true;
            }
            scanFrom = pos_ + rel;
        }
    rescan:;
    }
}

}  // namespace velmora::text
