#include "tests/tools/jobrun/JobRunUi.h"

namespace velmora::jobrun {

ui::Answer JobRunUi::messageBox(const ui::MessageBoxRequest& request) {
    const bool question = request.buttons == ui::Buttons::YesNo || request.buttons == ui::Buttons::YesNoCancel;
    if (question && !answers_.empty()) {
        answer(answers_.front());
        answers_.pop_front();
    }
    return ScriptedUi::messageBox(request);
}

std::string boxLine(const ui::BoxRecord& box) {
    std::string text;
    for (std::size_t i = 0; i < box.text.size(); ++i) {
        const char c = box.text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < box.text.size() && box.text[i + 1] == '\n') ++i;
            text += ' ';
        } else {
            text += c;
        }
    }
    return "box: " + box.title + " | " + text;
}

}  // namespace velmora::jobrun
