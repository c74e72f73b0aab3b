#include "platform/ui/ScriptedUi.h"

#include <QCoreApplication>
#include <QDialog>
#include <iterator>

namespace velmora::ui {

namespace {

DialogRecord record(DialogRecord::Kind kind, std::string title = {}) {
    DialogRecord r;
    r.kind = kind;
    r.title = std::move(title);
    return r;
}

const char* stepName(std::size_t index) {
    static const char* const names[] = {"a message box", "an open dialog", "a save dialog",
                                        "a colour dialog", "a pop-up menu", "a modal dialog"};
    return index < std::size(names) ? names[index] : "?";
}

}  // namespace

ScriptedUi::ScriptedUi(UnexpectedHandler onUnexpected) : onUnexpected_(std::move(onUnexpected)) {}

ScriptedUi::~ScriptedUi() { uninstall(); }

void ScriptedUi::install() {
    setService(this);
    installed_ = true;
}

void ScriptedUi::uninstall() {
    if (installed_ && &service() == this) setService(nullptr);
    installed_ = false;
}

ScriptedUi& ScriptedUi::answer(Answer a) { script_.emplace_back(a); return *this; }
ScriptedUi& ScriptedUi::answerOpen(std::vector<std::string> paths) { script_.emplace_back(OpenStep{std::move(paths)}); return *this; }
ScriptedUi& ScriptedUi::answerSave(std::optional<std::string> path) { script_.emplace_back(SaveStep{std::move(path)}); return *this; }
ScriptedUi& ScriptedUi::answerColour(std::optional<unsigned> rgb) { script_.emplace_back(ColourStep{rgb}); return *this; }
ScriptedUi& ScriptedUi::answerPopup(int index) { script_.emplace_back(PopupStep{index}); return *this; }
ScriptedUi& ScriptedUi::answerModal(ModalDriver driver) { script_.emplace_back(std::move(driver)); return *this; }

void ScriptedUi::clearRecords() {
    boxes_.clear();
    dialogs_.clear();
    unexpected_.clear();
    yields_ = 0;
}

void ScriptedUi::report(const std::string& description) {
    unexpected_.push_back(description);
    if (onUnexpected_) onUnexpected_(description);
}

template <class T>
std::optional<T> ScriptedUi::take(const std::string& what) {
    if (script_.empty()) {
        report(what + " (nothing scripted)");
        return std::nullopt;
    }
    if (!std::holds_alternative<T>(script_.front())) {
        report(what + " while the script expects " + stepName(script_.front().index()));
        return std::nullopt;
    }
    T step = std::move(std::get<T>(script_.front()));
    script_.pop_front();
    return step;
}

Answer ScriptedUi::messageBox(const MessageBoxRequest& r) {
    BoxRecord box{r.text, r.title.value_or(defaultTitle()), r.icon, r.buttons, r.systemModal,
                  defaultAnswer(r.buttons)};
    const std::size_t at = boxes_.size();
    boxes_.push_back(box);
    if (auto a = take<Answer>("message box \"" + box.text + "\" (title \"" + box.title + "\")")) boxes_[at].answer = *a;
    return boxes_[at].answer;
}

std::vector<std::string> ScriptedUi::openFiles(const FileDialogRequest& r) {
    dialogs_.push_back(record(DialogRecord::Kind::Open, r.title));
    dialogs_.back().request = r;
    auto step = take<OpenStep>("open dialog \"" + r.title + "\"");
    return step ? step->paths : std::vector<std::string>{};
}

std::optional<std::string> ScriptedUi::saveFile(const FileDialogRequest& r) {
    dialogs_.push_back(record(DialogRecord::Kind::Save, r.title));
    dialogs_.back().request = r;
    auto step = take<SaveStep>("save dialog \"" + r.title + "\"");
    return step ? step->path : std::nullopt;
}

std::optional<unsigned> ScriptedUi::chooseColour(unsigned) {
    dialogs_.push_back(record(DialogRecord::Kind::Colour));
    auto step = take<ColourStep>("colour dialog");
    return step ? step->rgb : std::nullopt;
}

int ScriptedUi::popupMenu(const std::vector<std::string>& items) {
    dialogs_.push_back(record(DialogRecord::Kind::Popup));
    dialogs_.back().items = items;
    std::string what = "pop-up menu";
    for (const auto& i : items) what += " \"" + i + "\"";
    auto step = take<PopupStep>(what);
    return step ? step->index : -1;
}

int ScriptedUi::runModal(QDialog& dialog) {
    const std::string title = dialog.windowTitle().toStdString();
    const std::string name = dialog.objectName().toStdString();
    dialogs_.push_back(record(DialogRecord::Kind::Modal, title));
    dialogs_.back().objectName = name;
    auto driver = take<ModalDriver>("modal dialog \"" + title + "\" (" + name + ")");
    if (!driver || !*driver) return QDialog::Rejected;
    return (*driver)(dialog);
}

void ScriptedUi::yield() {
    ++yields_;
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void ScriptedUi::setBusy(bool busy) { busy_ = busy; }

}  // namespace velmora::ui
