#include "polygon/core/AreaLineSource.h"

#include <filesystem>

#include "platform/errors/RunTimeError.h"
#include "platform/text/Cp932.h"

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

std::string_view AreaLineSource::read_limited() {
    if (failed_ || !next(limited_, kLimit) || limited_.size() > kLimit) {
        failed_ = true;
        limited_.clear();
    }
    return limited_;
}

std::string_view AreaLineSource::read_entries(int n, std::size_t width) {
    joined_.clear();
    for (int left = n; left > 0; left -= 5) {
        const std::string_view line = read_limited();
        const std::size_t entries = static_cast<std::size_t>(left < 5 ? left : 5) * width;
        std::size_t end = line.size();
        while (end > entries && line[end - 1] == ' ') --end;
        joined_.append(line.data(), end);
    }
    return joined_;
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

void AreaLineSource::cut_short(std::size_t length, std::size_t layout_end) const {
    const std::string& path = reader_.path();
    std::string text = velmora::text::canEncodeCp932(path) ? "入力ファイル " + path + " の " : "入力ファイルの ";
    text += std::to_string(reader_.lineNumber()) + "行目のレコードが途中で切れています";
    std::string sizes;
    if (length != std::string::npos) sizes = "長さ" + std::to_string(length);
    if (layout_end > 0) sizes += (sizes.empty() ? "" : "、") + std::string("項目の配置は") + std::to_string(layout_end) + "桁目まで";
    if (!sizes.empty()) text += "（" + sizes + "）";
    throw velmora::text::toCp932(text + "。");
}

}  // namespace ostrand
