#pragma once
// The loop every loader of the point work database runs over the rest of the file open in InFileNo:
// the progress display ("初期処理中・・・" up to `maximum`), one transaction, blank lines passed over, the
// file closed and the display hidden at the end. A run-time error closes the file and shows its box
// titled by the loader's procedure.
#include <string>
#include <string_view>

#include "convert/core/ConversionProgress.h"
#include "convert/core/ConversionState.h"
#include "platform/db/Database.h"
#include "platform/db/Transaction.h"
#include "platform/text/Conversions.h"
#include "platform/ui/UiService.h"

namespace ModPoint {

// `store(line, lineNumber)` stores one line that is not blank.
template <class Store>
bool loadRemainingLines(velmora::db::Database& database, const char* procedure, double maximum, Store&& store) {
    using namespace velmora;
    ConversionState& s = conversionState();
    try {
        progress::setMaximum(maximum);
        progress::setCaption("初期処理中・・・");
        progress::setVisible(true);
        ui::service().yield();
        text::LineReader& in = s.InFileNo.file();
        db::Transaction transaction(database);
        std::string line;
        while (in.next(line)) {
            if (!text::trimBlanks(line).empty()) store(std::string_view(line), in.lineNumber());
            progress::step();
        }
        transaction.commit();
        s.InFileNo.close();
        progress::fill();
        progress::setVisible(false);
        return true;
    } catch (const std::exception& e) {
        s.InFileNo.closeQuietly();
        ui::showError(e, std::string("Error: ModPoint (ModPoint ") + procedure + ")");
        return false;
    }
}

}  // namespace ModPoint
