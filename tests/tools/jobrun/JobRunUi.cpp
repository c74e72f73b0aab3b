#include "tests/tools/jobrun/JobRunUi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <cstdio>

namespace velmora::jobrun {

namespace {

void print(const std::string& title, const std::string& text) {
    std::printf("%s\n", boxLine(title, text).c_str());
    std::fflush(stdout);
}

}  // namespace

ui::Answer JobRunUi::messageBox(const ui::MessageBoxRequest& request) {
    const bool question = request.buttons == ui::Buttons::YesNo || request.buttons == ui::Buttons::YesNoCancel;
    if (question && !answers_.empty()) {
        answer(answers_.front());
        answers_.pop_front();
    }
    print(request.title.value_or(ui::defaultTitle()), request.text);
    return ScriptedUi::messageBox(request);
}

LibraryBoxes::LibraryBoxes() { qApp->installEventFilter(this); }

LibraryBoxes::~LibraryBoxes() { qApp->removeEventFilter(this); }

bool LibraryBoxes::eventFilter(QObject* watched, QEvent* event) {
    auto* box = event->type() == QEvent::Show ? qobject_cast<QMessageBox*>(watched) : nullptr;
    if (!box) return false;
    print(box->windowTitle().toStdString(), box->text().toStdString());
    // Answered once its modal loop runs.
    QTimer::singleShot(0, box, [box = QPointer<QMessageBox>(box)] {
        if (!box) return;
        QAbstractButton* b = box->button(QMessageBox::No);
        if (!b) b = box->button(QMessageBox::Ok);
        if (b)
            b->click();
        else
            box->reject();
    });
    return false;
}

std::string boxLine(const std::string& title, const std::string& boxText) {
    std::string text;
    for (std::size_t i = 0; i < boxText.size(); ++i) {
        const char c = boxText[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < boxText.size() && boxText[i + 1] == '\n') ++i;
            text += ' ';
        } else {
            text += c;
        }
    }
    return "box: " + title + " | " + text;
}

}  // namespace velmora::jobrun
