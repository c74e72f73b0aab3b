#include "polygon/lib/QtJobUi.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

namespace ostrand {

namespace {

QMessageBox::Icon qt_icon(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Warning: return QMessageBox::Warning;
        case BoxIcon::Question: return QMessageBox::Question;
        case BoxIcon::Information: break;
    }
    return QMessageBox::Information;
}

QString qt_text(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

bool qt_application_on_this_thread() {
    QCoreApplication* app = QCoreApplication::instance();
    return qobject_cast<QApplication*>(app) != nullptr && app->thread() == QThread::currentThread();
}

BoxAnswer QtJobUi::message_box(const std::string& text, const std::string& caption, BoxIcon icon,
                               BoxButtons buttons) {
    QMessageBox box(qt_icon(icon), qt_text(caption), qt_text(text),
                    buttons == BoxButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    const int answer = box.exec();
    if (buttons == BoxButtons::Ok) return BoxAnswer::Ok;
    return answer == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
}

void QtJobUi::run_modal() { dialog.exec(); }

// The modal window is gone by now: user input to the caller's windows waits, so that nothing can start a
// second job before this one has returned; the worker's queued calls (and the boxes they open) are served.
void QtJobUi::wait_for_worker() {
    while (!worker_ended_)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::ExcludeUserInputEvents);
}

void QtJobUi::set_read_text(const std::string& text) {
    QMetaObject::invokeMethod(&dialog, [this, t = qt_text(text)] { dialog.set_read_text(t); }, Qt::QueuedConnection);
}

void QtJobUi::set_convert_text(const std::string& text) {
    QMetaObject::invokeMethod(&dialog, [this, t = qt_text(text)] { dialog.set_convert_text(t); },
                              Qt::QueuedConnection);
}

void QtJobUi::set_shape_text(const std::string& text) {
    QMetaObject::invokeMethod(&dialog, [this, t = qt_text(text)] { dialog.set_shape_text(t); }, Qt::QueuedConnection);
}

void QtJobUi::set_dbf_text(const std::string& text) {
    QMetaObject::invokeMethod(&dialog, [this, t = qt_text(text)] { dialog.set_dbf_text(t); }, Qt::QueuedConnection);
}

void QtJobUi::start_progress(int maximum) {
    QMetaObject::invokeMethod(&dialog, [this, maximum] { dialog.start_progress(maximum); }, Qt::QueuedConnection);
}

void QtJobUi::stop_progress() {
    QMetaObject::invokeMethod(&dialog, [this] { dialog.stop_progress(); }, Qt::QueuedConnection);
}

void QtJobUi::finish_progress() {
    std::unique_lock<std::mutex> lock(finish_mutex_);
    at_end_ = false;
    QMetaObject::invokeMethod(
        &dialog,
        [this] {
            dialog.finish_progress([this] {
                {
                    std::lock_guard<std::mutex> guard(finish_mutex_);
                    at_end_ = true;
                }
                finish_reached_.notify_all();
            });
        },
        Qt::QueuedConnection);
    finish_reached_.wait(lock, [this] { return at_end_; });
}

void QtJobUi::window_box(const std::string& text, const std::string& caption, BoxIcon icon) {
    QMetaObject::invokeMethod(
        &dialog,
        [this, &text, &caption, icon] {
            QMessageBox box(qt_icon(icon), qt_text(caption), qt_text(text), QMessageBox::Ok, &dialog);
            box.exec();
        },
        Qt::BlockingQueuedConnection);
}

void QtJobUi::close_window() {
    QMetaObject::invokeMethod(
        &dialog,
        [this] {
            if (dialog.isVisible()) dialog.done(QDialog::Accepted);
        },
        Qt::BlockingQueuedConnection);
}

void QtJobUi::worker_ended() {
    worker_ended_ = true;
    // Wakes wait_for_worker, which sleeps until an event arrives.
    QMetaObject::invokeMethod(&dialog, [] {}, Qt::QueuedConnection);
}

}  // namespace ostrand
