#pragma once
// Qt's own texts (standard buttons, file and colour dialogs) in Japanese whatever the machine's locale:
// the program's messages name those buttons ("「はい(Y)」を押して下さい"), so they must read as named.
#include <string>

namespace velmora::ui {

// Installs Qt's Japanese translation into the running application, taken from the given folder (the
// program folder, so a copied program can carry its own) or else from Qt's translation path. False when
// neither holds it: Qt's texts then stay English. Call after the QApplication was made; a second call
// keeps the translation already installed.
bool installJapaneseQtTexts(const std::string& programFolder);

}  // namespace velmora::ui
