#pragma once
// What a polygon job needs of its user: boxes on the calling thread, the modal progress window, and the
// worker's status texts, bar, boxes and closing. The Qt implementation lives with the shared library
// (QtJobUi, a CProcessingDlg); HeadlessJobUi serves callers without a QApplication. Texts are UTF-8.
//
// Threads: the calling thread uses the first group, the worker the second. An implementation must never
// let a worker call wait for the calling thread unless that thread is serving its events (run_modal and
// wait_for_worker do), so that neither side can block the other.
#include <string>

namespace ostrand {

enum class BoxIcon { Information, Warning, Question };
enum class BoxButtons { Ok, YesNo };
enum class BoxAnswer { Ok, Yes, No };

class JobUi {
public:
    virtual ~JobUi() = default;

    // --- calling thread ---
    // A box without owner window; returns the user's answer.
    virtual BoxAnswer message_box(const std::string& text, const std::string& caption, BoxIcon icon,
                                  BoxButtons buttons) = 0;
    // Shows the progress window modally; returns once it has been closed (or could not be shown).
    virtual void run_modal() = 0;
    // Returns once worker_ended has been called, serving the calling thread's events meanwhile.
    virtual void wait_for_worker() = 0;

    // --- worker thread ---
    // True while the progress window exists and is visible.
    virtual bool window_visible() = 0;
    virtual void set_read_text(const std::string& text) = 0;
    virtual void set_convert_text(const std::string& text) = 0;
    virtual void set_shape_text(const std::string& text) = 0;
    virtual void set_dbf_text(const std::string& text) = 0;
    // The bar runs over 0..maximum on its own until stopped or finished.
    virtual void start_progress(int maximum) = 0;
    // Stops the bar where it stands.
    virtual void stop_progress() = 0;
    // Stops the bar and runs it to its maximum; returns when it is there.
    virtual void finish_progress() = 0;
    // A box owned by the progress window (OK only); returns when it has been answered.
    virtual void window_box(const std::string& text, const std::string& caption, BoxIcon icon) = 0;
    // Closes the progress window when it still exists; returns once the close has been handled.
    virtual void close_window() = 0;
    // The worker's last call.
    virtual void worker_ended() = 0;
};

}  // namespace ostrand
