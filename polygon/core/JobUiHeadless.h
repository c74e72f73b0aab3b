#pragma once
// The job's user interface for callers without a QApplication on their thread (tests, benchmarks, tools):
// no window, every box written to stderr as "caption: text", every question answered No. The progress
// "window" is visible from run_modal until the worker closes it; Options::window_fails makes it never
// appear, so that the job's window failure can be produced on purpose.
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "polygon/core/JobUi.h"

namespace ostrand {

class HeadlessJobUi : public JobUi {
public:
    struct Options {
        bool window_fails = false;
    };
    HeadlessJobUi() = default;
    explicit HeadlessJobUi(Options options) : options_(options) {}

    BoxAnswer message_box(const std::string& text, const std::string& caption, BoxIcon icon,
                          BoxButtons buttons) override;
    void run_modal() override;
    void wait_for_worker() override {}

    bool window_visible() override { return visible_; }
    void set_read_text(const std::string&) override {}
    void set_convert_text(const std::string&) override {}
    void set_shape_text(const std::string&) override {}
    void set_dbf_text(const std::string&) override {}
    void start_progress(int) override {}
    void stop_progress() override {}
    void finish_progress() override {}
    void window_box(const std::string& text, const std::string& caption, BoxIcon icon) override;
    void close_window() override;
    void worker_ended() override {}

private:
    Options options_;
    std::atomic<bool> visible_{false};
    std::mutex mutex_;
    std::condition_variable closed_changed_;
    bool closed_ = false;
};

}  // namespace ostrand
