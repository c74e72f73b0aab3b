#pragma once
// The user interface of a headless job: the scripted service, recording every box. Questions (boxes with
// Yes and No) take the given answers in order and No beyond them; every other box gets its default
// answer, every dialog is cancelled.
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

// A box as one output line: "box: <title> | <text>", the text's line breaks turned into blanks.
std::string boxLine(const ui::BoxRecord& box);

}  // namespace velmora::jobrun
