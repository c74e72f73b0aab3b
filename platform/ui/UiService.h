#pragma once
// Every message box, question, common dialog, pop-up menu, modal run and yield of the program goes through
// this one service. The Qt implementation shows real widgets; the scripted one (tests) records what a user
// would have seen and answers from a script. Texts are UTF-8.
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QDialog;
class QWidget;

namespace velmora {
class RunTimeError;
}

namespace velmora::ui {

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class Answer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

struct MessageBoxRequest {
    std::string text;
    std::string title;  // empty: the program's default title
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    bool systemModal = false;  // shown application-modal
};

struct FileDialogRequest {
    std::string title;
    std::string folder;    // initial folder; empty: the dialog's own choice
    std::string fileName;  // initial file name (save dialog)
    std::string filter;    // "説明 (*.txt *.csv);;All (*)" in Qt's filter syntax
    bool multiple = false; // open dialog: several files
};

class UiService {
public:
    virtual ~UiService() = default;

    virtual Answer messageBox(const MessageBoxRequest& request) = 0;
    // Chosen paths (absolute); empty when the user cancelled.
    virtual std::vector<std::string> openFiles(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
    // Chosen colour as 0xRRGGBB, or nothing when cancelled.
    virtual std::optional<unsigned> chooseColour(unsigned initial) = 0;
    // Index of the chosen item of a pop-up menu, or -1 when none was chosen.
    virtual int popupMenu(const std::vector<std::string>& items) = 0;
    // Runs a dialog modally and gives its result code.
    virtual int runModal(QDialog& dialog) = 0;
    // Lets the event loop process pending events (long work yields after each progress update).
    virtual void yield() = 0;
    // Hourglass cursor on (busy) or off.
    virtual void setBusy(bool busy) = 0;
};

// The service in force: the Qt implementation unless a test installed another one.
UiService& service();
// Installs a service (nullptr restores the Qt implementation); the caller keeps ownership.
void setService(UiService* s);

// The program's default title of message boxes.
std::string defaultTitle();

// Shorthands over service().messageBox.
Answer message(const std::string& text, const std::string& title = {}, Icon icon = Icon::None,
               Buttons buttons = Buttons::Ok, bool systemModal = false);

// The error box of a procedure that handles run-time errors: "number description", the given title
// (such as "Error: modCommon (PutLogFileMsg)"), critical icon, system-modal, OK.
void showRunTimeError(const RunTimeError& e, const std::string& title);
// The same for any other exception a procedure catches (number 0 stands for an unnumbered error).
void showError(const std::exception& e, const std::string& title);

}  // namespace velmora::ui
