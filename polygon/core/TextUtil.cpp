#include "polygon/core/TextUtil.h"

#include <charconv>
#include <map>
#include <mutex>
#include <stdexcept>

#include "platform/text/Cp932.h"

namespace ostrand {

std::string remove_extension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) return path;
    if (path.find_first_of("\\/", dot) != std::string::npos) return path;
    return path.substr(0, dot);
}

void replace_fullwidth_space(std::string& s) {
    std::size_t i = 0;
    while (i + 2 <= s.size()) {
        if (static_cast<unsigned char>(s[i]) == 0x81 && static_cast<unsigned char>(s[i + 1]) == 0x40) {
            s[i] = ' ';
            s[i + 1] = ' ';
            i += 2;
        } else {
            ++i;
        }
    }
}

void trim(std::string& s) {
    replace_fullwidth_space(s);
    const char* blanks = " \t\n";
    const std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) {
        s.clear();
        return;
    }
    const std::size_t last = s.find_last_not_of(blanks);
    s = s.substr(first, last - first + 1);
}

void trim_utf8(std::string& s) {
    static const std::string ideographic_space = "\xE3\x80\x80";
    const auto blank_at = [&](std::size_t i) -> std::size_t {  // length of the blank character at i, or 0
        if (s[i] == ' ' || s[i] == '\t' || s[i] == '\n') return 1;
        return s.compare(i, 3, ideographic_space) == 0 ? 3 : 0;
    };
    std::size_t first = 0;
    while (first < s.size()) {
        const std::size_t n = blank_at(first);
        if (n == 0) break;
        first += n;
    }
    std::size_t last = s.size();
    while (last > first) {
        if (s[last - 1] == ' ' || s[last - 1] == '\t' || s[last - 1] == '\n') {
            last -= 1;
        } else if (last - first >= 3 && s.compare(last - 3, 3, ideographic_space) == 0) {
            last -= 3;
        } else {
            break;
        }
    }
    s = s.substr(first, last - first);
}

namespace {

void split_with(const std::string& s, char delimiter, std::vector<std::string>& out, void (*trim_piece)(std::string&)) {
    out.clear();
    if (s.empty()) return;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = s.find(delimiter, start);
        std::string piece = s.substr(start, end == std::string::npos ? std::string::npos : end - start);
        trim_piece(piece);
        out.push_back(std::move(piece));
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

}  // namespace

void split(const std::string& s, char delimiter, std::vector<std::string>& out) { split_with(s, delimiter, out, trim); }

void split_utf8(const std::string& s, char delimiter, std::vector<std::string>& out) {
    split_with(s, delimiter, out, trim_utf8);
}

namespace {

std::mutex clock_guard;
Clock installed_clock;

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

void set_clock(Clock clock) {
    std::lock_guard<std::mutex> lock(clock_guard);
    installed_clock = std::move(clock);
}

LocalTime local_now() {
    Clock c;
    {
        std::lock_guard<std::mutex> lock(clock_guard);
        c = installed_clock;
    }
    return c ? c() : velmora::text::localNow();
}

std::string make_time_stamp(const std::string& prefix) {
    return prefix + velmora::text::formatDateTime(local_now()) + '\n';
}

const std::string& sjis(const char* utf8_literal) {
    static std::mutex guard;
    static std::map<const char*, std::string> converted;
    std::lock_guard<std::mutex> lock(guard);
    auto it = converted.find(utf8_literal);
    if (it == converted.end()) it = converted.emplace(utf8_literal, velmora::text::toCp932(utf8_literal)).first;
    return it->second;
}

long long read_integer(const char* first, const char* last) {
    while (first != last && is_space(*first)) ++first;
    bool negative = false;
    if (first != last && (*first == '+' || *first == '-')) negative = *first++ == '-';
    // Unsigned: a value just below the limit times ten still fits, where a signed one would overflow.
    unsigned long long v = 0;
    for (; first != last && *first >= '0' && *first <= '9'; ++first) {
        v = v * 10 + static_cast<unsigned>(*first - '0');
        if (v >= static_cast<unsigned long long>(kIntegerLimit)) {
            v = kIntegerLimit;
            break;
        }
    }
    const long long r = static_cast<long long>(v);
    return negative ? -r : r;
}

namespace {

// The bytes (pos, len) of s, bounds-checked like a substring.
std::pair<const char*, const char*> cut(const std::string& s, std::size_t pos, std::size_t len) {
    if (pos > s.size()) throw std::out_of_range("basic_string::substr");
    const std::size_t n = std::min(len, s.size() - pos);
    return {s.data() + pos, s.data() + pos + n};
}

}  // namespace

long long read_integer_at(const std::string& s, std::size_t pos, std::size_t len) {
    const auto [first, last] = cut(s, pos, len);
    return read_integer(first, last);
}

double read_double_at(const std::string& s, std::size_t pos, std::size_t len) {
    const auto [first, last] = cut(s, pos, len);
    return read_double(first, last);
}

double read_double(const char* first, const char* last) {
    while (first != last && is_space(*first)) ++first;
    bool negative = false;
    if (first != last && (*first == '+' || *first == '-')) negative = *first++ == '-';
    double v = 0.0;
    if (first != last && (*first == '-' || *first == '+')) return 0.0;  // one sign only, as atof
    const auto r = std::from_chars(first, last, v, std::chars_format::general);
    if (r.ec != std::errc()) v = 0.0;
    return negative ? -v : v;
}

}  // namespace ostrand
