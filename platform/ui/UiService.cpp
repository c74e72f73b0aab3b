#include "platform/ui/UiService.h"

#include <new>

#include "platform/errors/RunTimeError.h"
#include "platform/ui/QtUi.h"

namespace velmora::ui {

namespace {
UiService* installed = nullptr;
}

UiService& service() {
    if (installed) return *installed;
    static QtUi qtUi;
    return qtUi;
}

void setService(UiService* s) { installed = s; }

std::string defaultTitle() { return "Velmora"; }

Answer defaultAnswer(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::OkCancel: return Answer::Cancel;
    case Buttons::AbortRetryIgnore: return Answer::Abort;
    case Buttons::YesNoCancel: return Answer::No;
    case Buttons::YesNo: return Answer::No;
    case Buttons::RetryCancel: return Answer::Cancel;
    }
    return Answer::Ok;
}

Answer message(const std::string& text, const std::optional<std::string>& title, Icon icon, Buttons buttons, bool systemModal) {
    return service().messageBox(MessageBoxRequest{text, title, icon, buttons, systemModal});
}

namespace {
ErrorBoxWitness& witness() {
    static ErrorBoxWitness w;
    return w;
}
}  // namespace

void setErrorBoxWitness(ErrorBoxWitness w) { witness() = std::move(w); }

void showRunTimeError(const RunTimeError& e, const std::string& title) {
    std::string text = e.number() == err::InputRefused ? e.description()
                                                        : std::to_string(e.number()) + " " + e.description();
    if (const ErrorBoxWitness& w = witness()) text = w(title, text);
    message(text, title, Icon::Critical, Buttons::Ok, true);
}

void showError(const std::exception& e, const std::string& title) {
    if (auto* rte = dynamic_cast<const RunTimeError*>(&e)) {
        showRunTimeError(*rte, title);
    } else if (dynamic_cast<const std::bad_alloc*>(&e)) {
        showRunTimeError(RunTimeError(7, "Out of memory"), title);
    } else {
        showRunTimeError(RunTimeError(51, e.what()), title);
    }
}

}  // namespace velmora::ui
