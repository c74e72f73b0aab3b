#pragma once
// The progress window of a polygon job: caption, four status lines, a smooth bar that moves on a timer of
// the dialog's thread (ProgressAnimation), no buttons. Enter and Esc never end it; the close button is
// refused until the bar has been stopped or finished. The job's worker reaches it only through queued
// calls (QtJobUi); every member here runs on the dialog's thread except window_visible.
#include <QDialog>
#include <QTimer>
#include <atomic>
#include <functional>
#include <vector>

#include "polygon/lib/ProgressAnimation.h"

class QLabel;
class QProgressBar;

namespace ostrand {

class CProcessingDlg : public QDialog {
    Q_OBJECT

public:
    explicit CProcessingDlg(QWidget* parent = nullptr);

    void set_read_text(const QString& text);
    void set_convert_text(const QString& text);
    void set_shape_text(const QString& text);
    void set_dbf_text(const QString& text);
    void start_progress(int maximum);
    void stop_progress();
    // `done` runs once the bar stands at its maximum (at once when no animation runs).
    void finish_progress(std::function<void()> done);

    // Any thread: the window exists and is visible.
    bool window_visible() const { return shown_; }
    // True once the bar was stopped or finished: the close button may end the window.
    bool closable() const { return closable_; }

    QProgressBar* progress;
    QLabel* read_text;
    QLabel* convert_text;
    QLabel* shape_text;
    QLabel* dbf_text;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void show_bar();
    void play_frame();

    ProgressAnimation animation_;
    QTimer tick_timer_;
    QTimer finish_timer_;
    std::vector<ProgressAnimation::Frame> frames_;
    std::size_t next_frame_ = 0;
    std::function<void()> finished_;
    bool closable_ = false;
    std::atomic<bool> shown_{false};
};

}  // namespace ostrand
