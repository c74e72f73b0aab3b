#pragma once
// The user interface of a headless job: the scripted service, recording every box. Questions (boxes with
// Yes and No) take the given answers in order and No beyond them; every other box gets its default
// answer, every dialog is cancelled. Each box is printed as it is shown.
//
// The polygon library shows its own Qt boxes, outside the service: LibraryBoxes prints each of them in
// the same form while it is shown and answers it OK (No to a question).
#include <QObject>
#include <deque>
#include <string>

#include "platform/ui/ScriptedUi.h"

namespace velmora::jobrun {

class JobRunUi : public ui::ScriptedUi {
public:
    explicit JobRunUi(std::deque<ui::Answer> answers) : answers_(std::move(answers)) { install(); }

    ui::Answer messageBox(const ui::MessageBoxRequest& request) override;

private:
    std::deque<ui::Answer> answers_;
};

// Watches the application for message boxes shown by Qt itself (the library's).
class LibraryBoxes : public QObject {
public:
    LibraryBoxes();
    ~LibraryBoxes() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// A box as one output line: "box: <title> | <text>", the text's line breaks turned into blanks.
std::string boxLine(const std::string& title, const std::string& text);

}  // namespace velmora::jobrun
