#include "polygon/core/AreaLineSource.h"

#include <filesystem>

#include "platform/errors/RunTimeError.h"

namespace ostrand {

namespace {

const char* const kOpenFailure = "File open failure. KsPolygonMaker::open()";
const char* const kLineTooLong = "Line too long. KsPolygonMaker::open()";

}  // namespace

AreaLineSource::AreaLineSource(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) throw std::string(kOpenFailure);
    try {
        reader_.open(path);
    } catch (const velmora::RunTimeError&) {
        throw std::string(kOpenFailure);
    }
}

// A read error ends the source like the end of the file does.
bool AreaLineSource::next(std::string& line, std::size_t limit) {
    try {
        return reader_.next(line, limit);
    } catch (const velmora::RunTimeError&) {
        return false;
    }
}

std::string AreaLineSource::read_limited() {
    std::string line;
    if (failed_ || !next(line, kLimit) || line.size() > kLimit) {
        failed_ = true;
        line.clear();
    }
    return line;
}

bool AreaLineSource::read_whole(std::string& line) {
    if (failed_ || !next(line, kLongestLine)) {
        failed_ = true;
        line.clear();
        return false;
    }
    if (line.size() > kLongestLine) throw std::string(kLineTooLong);
    return true;
}

void AreaLineSource::skip_lines(long n) {
    std::string line;
    for (long i = 0; i < n && !failed_; ++i) read_whole(line);
}

}  // namespace ostrand
