#pragma once
// The user-interface service of tests and headless runs: every box and dialog is recorded, and each one
// takes the next step of a script queue. A box or dialog for which the queue holds no matching step is
// "unexpected": it is recorded, answered with defaultAnswer() (dialogs count as cancelled, a modal run as
// rejected), and reported to the handler given at construction — a test fails, a headless runner just
// goes on. TestUi.h wires the handler to GoogleTest.
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <variant>

#include "platform/ui/UiService.h"

namespace velmora::ui {

// A message box as the user saw it: the title as shown (the default title when none was given, "" when
// an empty one was).
struct BoxRecord {
    std::string text;
    std::string title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    bool systemModal = false;
    Answer answer = Answer::Ok;
};

struct DialogRecord {
    enum class Kind { Open, Save, Colour, Popup, Modal } kind = Kind::Modal;
    std::string title;               // file dialogs: the request's title; modal runs: the window title
    std::string objectName;          // modal runs: the dialog's object name
    FileDialogRequest request;       // file dialogs
    std::vector<std::string> items;  // pop-up menus
};

class ScriptedUi : public UiService {
public:
    using UnexpectedHandler = std::function<void(const std::string& description)>;
    using ModalDriver = std::function<int(QDialog&)>;

    // An empty handler: unexpected boxes are only recorded (see unexpected()).
    explicit ScriptedUi(UnexpectedHandler onUnexpected = {});

    // Script steps, taken in order. Each returns *this so a script reads as one chain.
    ScriptedUi& answer(Answer a);                              // the next message box
    ScriptedUi& answerOpen(std::vector<std::string> paths);    // the next open dialog; empty: cancelled
    ScriptedUi& answerSave(std::optional<std::string> path);   // the next save dialog; nothing: cancelled
    ScriptedUi& answerColour(std::optional<unsigned> rgb);     // the next colour dialog
    ScriptedUi& answerPopup(int index);                        // the next pop-up menu
    // The next modal run: the driver gets the dialog (not shown; it may show it, fill it, click its
    // buttons, answer boxes of its own through the following steps) and gives the result code.
    ScriptedUi& answerModal(ModalDriver driver);

    std::size_t pendingSteps() const { return script_.size(); }
    void clearScript() { script_.clear(); }

    const std::vector<BoxRecord>& boxes() const { return boxes_; }
    const std::vector<DialogRecord>& dialogs() const { return dialogs_; }
    const std::vector<std::string>& unexpected() const { return unexpected_; }
    void clearRecords();

    int yieldCount() const { return yields_; }
    bool busy() const { return busy_; }

    // Installs this service as service() for its lifetime (or until uninstall()).
    void install();
    void uninstall();
    ~ScriptedUi() override;

    Answer messageBox(const MessageBoxRequest& request) override;
    std::vector<std::string> openFiles(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<unsigned> chooseColour(unsigned initial) override;
    int popupMenu(const std::vector<std::string>& items) override;
    int runModal(QDialog& dialog) override;
    void yield() override;
    void setBusy(bool busy) override;

private:
    struct OpenStep { std::vector<std::string> paths; };
    struct SaveStep { std::optional<std::string> path; };
    struct ColourStep { std::optional<unsigned> rgb; };
    struct PopupStep { int index; };
    using Step = std::variant<Answer, OpenStep, SaveStep, ColourStep, PopupStep, ModalDriver>;

    // The front step when it is of type T (taken off the queue), else nothing and the event is reported.
    template <class T>
    std::optional<T> take(const std::string& what);
    void report(const std::string& description);

    UnexpectedHandler onUnexpected_;
    std::deque<Step> script_;
    std::vector<BoxRecord> boxes_;
    std::vector<DialogRecord> dialogs_;
    std::vector<std::string> unexpected_;
    int yields_ = 0;
    bool busy_ = false;
    bool installed_ = false;
};

}  // namespace velmora::ui
