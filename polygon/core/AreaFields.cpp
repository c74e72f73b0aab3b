#include "polygon/core/AreaFields.h"

#include <algorithm>
#include <climits>

#include "polygon/core/Geometry.h"
#include "polygon/core/TextUtil.h"

namespace ostrand {

int int_field(const AreaLineSource& in, std::string_view s, std::size_t pos, std::size_t len) {
    const std::string_view f = in.field(s, pos, len);
    return static_cast<int>(std::clamp<long long>(read_integer(f.data(), f.data() + f.size()), INT_MIN, INT_MAX));
}

double coordinate_field(const AreaLineSource& in, std::string_view s, std::size_t pos) {
    const std::string_view f = in.field(s, pos, 8);
    const char* p = f.data();
    const char* const last = p + f.size();
    while (p != last && *p == ' ') ++p;
    const bool negative = p != last && *p == '-';
    if (p != last && (*p == '-' || *p == '+')) ++p;
    const char* const digits = p;
    long long v = 0;
    for (; p != last && *p >= '0' && *p <= '9'; ++p) v = v * 10 + (*p - '0');
    const bool plain = p != digits && (p == last || (*p != '.' && *p != 'e' && *p != 'E'));
    const double d = plain ? (negative ? -static_cast<double>(v) : static_cast<double>(v))
                           : read_double(f.data(), last);
    return d * kCoordinateFactor;
}

int continuation_lines(int n) { return n > 0 ? n / 5 + (n % 5 != 0 ? 1 : 0) : 0; }

}  // namespace ostrand
