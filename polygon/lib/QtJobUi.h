#pragma once
// The job's user interface when a QApplication runs on the calling thread: the CProcessingDlg shown
// modally there, boxes as QMessageBox. Worker calls are queued onto the dialog's thread; those that must
// wait (finishing the bar, boxes, closing) wait only for work that the calling thread does while it runs
// the modal loop or waits for the worker, so neither side can block the other.
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "polygon/core/JobUi.h"
#include "polygon/lib/CProcessingDlg.h"

namespace ostrand {

class QtJobUi : public JobUi {
public:
    QtJobUi() = default;

    BoxAnswer message_box(const std::string& text, const std::string& caption, BoxIcon icon,
                          BoxButtons buttons) override;
    void run_modal() override;
    void wait_for_worker() override;

    bool window_visible() override { return dialog.window_visible(); }
    void set_read_text(const std::string& text) override;
    void set_convert_text(const std::string& text) override;
    void set_shape_text(const std::string& text) override;
    void set_dbf_text(const std::string& text) override;
    void start_progress(int maximum) override;
    void stop_progress() override;
    void finish_progress() override;
    void window_box(const std::string& text, const std::string& caption, BoxIcon icon) override;
    void close_window() override;
    void worker_ended() override;

    CProcessingDlg dialog;

private:
    std::atomic<bool> worker_ended_{false};
    std::mutex finish_mutex_;
    std::condition_variable finish_reached_;
    bool at_end_ = false;
};

// True when a QApplication runs on the calling thread, so that a job may show its window there.
bool qt_application_on_this_thread();

}  // namespace ostrand
