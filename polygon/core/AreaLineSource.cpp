#include "polygon/core/AreaLineSource.h"

#include "platform/errors/RunTimeError.h"

namespace ostrand {

AreaLineSource::AreaLineSource(const std::string& path) {
    try {
        reader_.open(path);
    } catch (const velmora::RunTimeError&) {
        throw std::string("File open failure. KsPolygonMaker::open()");
    }
}

std::string AreaLineSource::read_limited() {
    std::string line;
    if (failed_ || !reader_.next(line) || line.size() > kLimit) {
        failed_ = true;
        line.clear();
    }
    return line;
}

bool AreaLineSource::read_whole(std::string& line) {
    if (failed_ || !reader_.next(line)) {
        failed_ = true;
        line.clear();
        return false;
    }
    return true;
}

void AreaLineSource::skip_lines(long n) {
    std::string line;
    for (long i = 0; i < n && !failed_; ++i)
        if (!reader_.next(line)) failed_ = true;
}

}  // namespace ostrand
