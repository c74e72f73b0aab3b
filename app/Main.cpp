#include "app/Main.h"

#include <exception>

#include "app/ConversionState.h"
#include "platform/ui/UiService.h"
#include "viewer/frmMapMain.h"

namespace modCommon {

bool Main() {
    try {
        velmora::ConversionState& s = velmora::conversionState();
        s.HelpFile = velmora::programFolder() + "/Velmora600.html";
        s.HelpOpened = false;
        auto* window = new frmMapMain;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        return true;
    } catch (const std::exception& e) {
        velmora::ui::showError(e, "Error: modCommon (Main)");
        return false;
    }
}

}  // namespace modCommon
