#pragma once
// Start-up of the program.

namespace velmora::modCommon {

// Installs Qt's Japanese texts (standard buttons, file dialogs), points the help at the program folder's
// "Velmora600.html", clears HelpOpened and shows the main window without waiting; the program then runs in
// the main window's event loop. No catalogue is read here.
// False when a run-time error stopped the start (its box "Error: modCommon (Main)" was shown): the program
// ends.
bool Main();

}  // namespace velmora::modCommon
