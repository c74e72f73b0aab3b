#pragma once
// A headless job interface that records what a user would have seen (boxes, status texts, bar calls) and
// answers questions from a script.
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "polygon/core/JobUiHeadless.h"

namespace polygontest {

struct SeenBox {
    std::string text, caption;
    ostrand::BoxIcon icon;
    bool yes_no;        // a question
    bool on_window;     // owned by the progress window (worker), else ownerless (calling thread)
};

class RecordingJobUi : public ostrand::HeadlessJobUi {
public:
    using HeadlessJobUi::HeadlessJobUi;

    ostrand::BoxAnswer message_box(const std::string& text, const std::string& caption, ostrand::BoxIcon icon,
                                   ostrand::BoxButtons buttons) override {
        std::lock_guard<std::mutex> lock(mutex_);
        const bool question = buttons == ostrand::BoxButtons::YesNo;
        boxes.push_back({text, caption, icon, question, false});
        if (!question) return ostrand::BoxAnswer::Ok;
        if (answers.empty()) return ostrand::BoxAnswer::No;
        const ostrand::BoxAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void window_box(const std::string& text, const std::string& caption, ostrand::BoxIcon icon) override {
        std::lock_guard<std::mutex> lock(mutex_);
        boxes.push_back({text, caption, icon, false, true});
    }
    void set_read_text(const std::string& t) override { event("read " + t); }
    void set_convert_text(const std::string& t) override { event("convert " + t); }
    void set_shape_text(const std::string& t) override { event("shape " + t); }
    void set_dbf_text(const std::string& t) override { event("dbf " + t); }
    void start_progress(int maximum) override { event("start " + std::to_string(maximum)); }
    void stop_progress() override { event("stop"); }
    void finish_progress() override { event("finish"); }

    std::deque<ostrand::BoxAnswer> answers;  // for questions, in order; No once used up
    std::vector<SeenBox> boxes;
    std::vector<std::string> events;

private:
    void event(const std::string& e) {
        std::lock_guard<std::mutex> lock(mutex_);
        events.push_back(e);
    }
    std::mutex mutex_;
};

}  // namespace polygontest
