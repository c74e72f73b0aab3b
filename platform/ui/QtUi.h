#pragma once
// The user-interface service over real Qt widgets. Boxes and dialogs are application-modal and parented
// to the active window. Without a QApplication (a program run without a window system) a message box is
// written to stderr and answered with defaultAnswer(), and the dialogs count as cancelled.
#include "platform/ui/UiService.h"

namespace velmora::ui {

class QtUi : public UiService {
public:
    Answer messageBox(const MessageBoxRequest& request) override;
    std::vector<std::string> openFiles(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<unsigned> chooseColour(unsigned initial) override;
    int popupMenu(const std::vector<std::string>& items) override;
    int runModal(QDialog& dialog) override;
    void yield() override;
    void setBusy(bool busy) override;

private:
    bool busy_ = false;
};

}  // namespace velmora::ui
