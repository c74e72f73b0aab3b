#include "app/Main.h"

#include <exception>

#include "convert/core/ConversionState.h"
#include "platform/ui/QtTranslations.h"
#include "platform/ui/UiService.h"
#include "viewer/frmMapMain.h"

namespace velmora::modCommon {

bool Main() {
    try {
        // Qt's buttons and dialogs speak Japanese like every text of the program, whatever the locale.
        ui::installJapaneseQtTexts(programFolder());
        ConversionState& s = conversionState();
        s.HelpFile = programFolder() + "/Velmora600.html";
        s.HelpOpened = false;
        auto* window = new frmMapMain;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: modCommon (Main)");
        return false;
    }
}

}  // namespace velmora::modCommon
