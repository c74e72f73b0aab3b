#include "platform/text/DbaseNumber.h"

#include <cmath>

#include "platform/text/Conversions.h"

namespace velmora::text {

namespace {

bool isPlainDecimal(std::string_view t) {
    std::size_t i = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
    int digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9') ++digits;
        else if (t[i] == '.' && !point) point = true;
        else return false;
    }
    return digits > 0;
}

}  // namespace

bool dbaseNumberText(std::string_view value, int decimals, std::string& text) {
    const std::string_view t = trimBlanks(value);
    const bool plain = isPlainDecimal(t);
    if (plain && (decimals > 0 || t.find('.') == std::string_view::npos)) {
        text.assign(t);
        return true;
    }
    if (!plain && !isNumeric(t)) return false;
    const double v = toDouble(t);
    // nearbyint rounds half to even in the default rounding mode.
    text = formatNumber(decimals > 0 ? v : std::nearbyint(v));
    return true;
}

}  // namespace velmora::text
