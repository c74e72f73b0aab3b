#include "convert/attr/AttrNumberFit.h"

#include "convert/core/ConversionLog.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/DbaseNumber.h"

namespace ModAttr {

using namespace velmora;

std::string recordInFile(const std::string& path, long line) {
    return text::toCp932("ファイル：") + (text::canEncodeCp932(path) ? text::toCp932(path) : std::string("?")) +
           text::toCp932(" 行：") + std::to_string(line);
}

bool NumberFit::overflows(std::string_view value, long width) {
    thread_local std::string laidOut;
    try {
        // The converters declare every number field without decimals.
        return text::dbaseNumberText(value, 0, laidOut) && laidOut.size() > static_cast<std::size_t>(width);
    } catch (const RunTimeError&) {
        return true;  // beyond the range of any number field
    }
}

std::string_view NumberFit::leaveOut(int item, std::string_view itemName, std::string_view value,
                                     const std::string& record) {
    if (logged_.insert(item).second)
        modCommon::PutLogFileMsg(modCommon::kFreeLogLine,
                                 text::toCp932("数値が項目の桁数に収まらないため空欄にしました。 項目：") +
                                     std::string(itemName) + text::toCp932(" 値：") +
                                     std::string(text::trimBlanks(value)) + " " + record);
    return {};
}

}  // namespace ModAttr
