#include "platform/text/DbaseNumber.h"

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

bool dbaseNumberText(std::string_view value, std::string& text) {
    const std::string_view t = trimBlanks(value);
    if (isPlainDecimal(t)) {
        text.assign(t);
        return true;
    }
    if (!isNumeric(t)) return false;
    text = formatNumber(toDouble(t));
    return true;
}

}  // namespace velmora::text
