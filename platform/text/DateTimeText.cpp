#include "platform/text/DateTimeText.h"

#include <ctime>

namespace velmora::text {

namespace {

void appendTwoDigits(std::string& out, int v) {
    out += static_cast<char>('0' + (v / 10) % 10);
    out += static_cast<char>('0' + v % 10);
}

}  // namespace

DateTime localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string formatDateTime(const DateTime& t) {
    std::string s;
    appendTwoDigits(s, t.year / 100);
    appendTwoDigits(s, t.year % 100);
    s += '/';
    appendTwoDigits(s, t.month);
    s += '/';
    appendTwoDigits(s, t.day);
    s += ' ';
    appendTwoDigits(s, t.hour);
    s += ':';
    appendTwoDigits(s, t.minute);
    s += ':';
    appendTwoDigits(s, t.second);
    return s;
}

std::string formatCompactStamp(const DateTime& t) {
    std::string s;
    for (int v : {t.year % 100, t.month, t.day, t.hour, t.minute, t.second}) appendTwoDigits(s, v);
    return s;
}

}  // namespace velmora::text
