#pragma once
// Every message box, question, common dialog, pop-up menu, modal run and yield of the program goes through
// this one service. The Qt implementation (QtUi) shows real widgets; the scripted one (ScriptedUi, tests and
// headless runs) records what a user would have seen and answers from a script. Texts are UTF-8.
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QDialog;

namespace velmora {
class RunTimeError;
}

namespace velmora::ui {

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class Answer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

struct MessageBoxRequest {
    std::string text;                  // a CR, LF or CR LF starts a new line
    std::optional<std::string> title;  // shown exactly as given, "" included; nothing: defaultTitle()
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    bool systemModal = false;  // shown application-modal
};

struct FileDialogRequest {
    std::string title;
    std::string folder;         // initial folder; empty: the dialog's own choice
    std::string fileName;       // initial file name
    std::string filter;         // Qt's filter syntax: "シェープファイル (*.shp);;すべてのファイル (*.*)"
    std::string defaultSuffix;  // added to a chosen name without extension ("bmp"); empty: none
    bool multiple = false;      // open dialog: several files may be chosen
    bool mustExist = true;      // open dialog: false lets the user type names of files not there (yet)
};

class UiService {
public:
    virtual ~UiService() = default;

    virtual Answer messageBox(const MessageBoxRequest& request) = 0;
    // Chosen files (absolute paths; existing ones unless the request says otherwise); empty when the user
    // cancelled.
    virtual std::vector<std::string> openFiles(const FileDialogRequest& request) = 0;
    // Chosen path, or nothing when cancelled. The dialog never asks about overwriting: the callers'
    // output checks do.
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
    // Chosen colour as 0xRRGGBB, or nothing when cancelled.
    virtual std::optional<unsigned> chooseColour(unsigned initial) = 0;
    // Index into items of the chosen entry of a pop-up menu at the pointer, or -1 when none was chosen.
    // An item "-" is a separator.
    virtual int popupMenu(const std::vector<std::string>& items) = 0;
    // Runs a dialog application-modally and gives its result code (QDialog::Accepted / Rejected / done(n)).
    virtual int runModal(QDialog& dialog) = 0;
    // Lets the event loop process pending events (long work yields after each progress update).
    virtual void yield() = 0;
    // Hourglass pointer on (busy) or off. Not nested: one call with false ends any number of true.
    virtual void setBusy(bool busy) = 0;
};

// The service in force: the Qt implementation unless another one was installed.
UiService& service();
// Installs a service (nullptr restores the Qt implementation); the caller keeps ownership.
void setService(UiService* s);

// The program's default title of message boxes: the title of a box whose caller gives none.
std::string defaultTitle();

// The answer of a box that nobody answers (no window system, nothing scripted): the choice that changes
// nothing — No where the box offers it, else Cancel or Abort, otherwise OK.
Answer defaultAnswer(Buttons buttons);

// Shorthand over service().messageBox. No title ({}) shows defaultTitle(); "" shows an empty title.
Answer message(const std::string& text, const std::optional<std::string>& title = {}, Icon icon = Icon::None,
               Buttons buttons = Buttons::Ok, bool systemModal = false);

// The error box of a procedure that handles run-time errors: "number description" (the description
// alone for err::InputRefused), the given title (such as "Error: modCommon (PutLogFileMsg)"), critical
// icon, system-modal, OK. The installed witness sees title and text first and gives the text shown.
void showRunTimeError(const RunTimeError& e, const std::string& title);
// Sees every run-time error box before it is shown (title, text) and gives the text to show: the
// conversion job adds where reading stood and keeps the cause in its log. Empty: none.
using ErrorBoxWitness = std::function<std::string(const std::string& title, const std::string& text)>;
void setErrorBoxWitness(ErrorBoxWitness witness);
// The same for any exception a procedure catches: a RunTimeError keeps its number, running out of memory
// is 7 "Out of memory", anything else 51 (internal error) with the exception's text.
void showError(const std::exception& e, const std::string& title);

// Hourglass pointer for the lifetime of the object (also when the work throws).
class BusyCursor {
public:
    BusyCursor() { service().setBusy(true); }
    ~BusyCursor() { service().setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace velmora::ui
