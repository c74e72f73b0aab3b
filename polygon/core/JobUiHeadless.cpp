#include "polygon/core/JobUiHeadless.h"

#include <cstdio>

namespace ostrand {

namespace {

void write_box(const std::string& text, const std::string& caption) {
    const std::string line = caption + ": " + text + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

}  // namespace

BoxAnswer HeadlessJobUi::message_box(const std::string& text, const std::string& caption, BoxIcon,
                                     BoxButtons buttons) {
    write_box(text, caption);
    return buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
}

void HeadlessJobUi::run_modal() {
    if (options_.window_fails) return;
    std::unique_lock<std::mutex> lock(mutex_);
    closed_ = false;
    visible_ = true;
    closed_changed_.wait(lock, [this] { return closed_; });
    visible_ = false;
}

void HeadlessJobUi::window_box(const std::string& text, const std::string& caption, BoxIcon) {
    write_box(text, caption);
}

void HeadlessJobUi::close_window() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
    }
    closed_changed_.notify_all();
}

}  // namespace ostrand
