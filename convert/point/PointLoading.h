#pragma once
// The loop every loader of the point work database runs over the rest of the file open in InFileNo:
// the progress display ("初期処理中・・・" up to `maximum`), one transaction, blank lines passed over, the
// file closed and the display hidden at the end. A run-time error closes the file and shows its box
// titled by the loader's procedure.
#include <string>
#include <string_view>

#include "convert/core/ConversionState.h"
#include "convert/line/LineLoaderSteps.h"
#include "platform/db/Database.h"
#include "platform/text/Conversions.h"
#include "platform/ui/UiService.h"

namespace ModPoint {

// `store(line, lineNumber)` stores one line that is not blank.
template <class Store>
bool loadRemainingLines(velmora::db::Database& database, const char* procedure, double maximum, Store&& store) {
    using namespace velmora;
    ConversionState& s = conversionState();
    try {
        return ModLine::LoadRecordLines(database, maximum, [&](std::string_view, std::string_view line) {
            if (!text::trimBlanks(line).empty()) store(line, s.InFileNo.file().lineNumber());
            return true;
        });
    } catch (const std::exception& e) {
        s.InFileNo.closeQuietly();
        ui::showError(e, std::string("Error: ModPoint (ModPoint ") + procedure + ")");
        return false;
    }
}

}  // namespace ModPoint
