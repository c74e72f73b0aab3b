#include "polygon/core/MessageLog.h"

#include "polygon/core/TextUtil.h"

namespace ostrand {

namespace {

std::string zero_filled(int number) {
    std::string s = std::to_string(number);
    if (s.size() < 6) s.insert(0, 6 - s.size(), '0');
    return s;
}

}  // namespace

void MessageLog::flush_line() {
    if (!lines_) return;
    lines_->push_back(std::move(buf_));
    buf_.clear();
}

void MessageLog::add(const std::string& message) {
    if (!lines_) return;
    buf_ += message;
    flush_line();
}

void MessageLog::add_numbered(int number, const std::string& message, bool end) {
    if (!lines_) return;
    buf_ += '[';
    buf_ += zero_filled(number);
    buf_ += ']';
    buf_ += message;
    if (end) flush_line();
}

void MessageLog::add_area(int number, const std::string& message, int serial, bool end) {
    if (!lines_) return;
    add_numbered(number, message, false);
    buf_ += sjis("エリア一連番号=");
    buf_ += std::to_string(serial);
    if (end) flush_line();
}

void MessageLog::add_area_link(int number, const std::string& message, int serial, const std::string& mesh_code,
                               int link_no) {
    if (!lines_) return;
    add_area(number, message, serial, false);
    buf_ += sjis("/リンクメッシュコード=");
    buf_ += mesh_code;
    buf_ += sjis("/リンク番号=");
    buf_ += std::to_string(link_no);
    flush_line();
}

void MessageLog::add_discontinuity(int number, int gaps, const std::string& tail, int serial) {
    if (!lines_) return;
    add_area(number, sjis("エリアを構成するリンク間の不連続ヶ所が") + std::to_string(gaps) + tail, serial, true);
}

}  // namespace ostrand
