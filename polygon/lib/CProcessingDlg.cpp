#include "polygon/lib/CProcessingDlg.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace ostrand {

namespace {

QLabel* status_line(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

}  // namespace

CProcessingDlg::CProcessingDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("CProcessingDlg");
    setWindowTitle("ポリゴン変換処理中...");
    setModal(true);

    read_text = status_line(this, "read_text");
    convert_text = status_line(this, "convert_text");
    shape_text = status_line(this, "shape_text");
    dbf_text = status_line(this, "dbf_text");
    progress = new QProgressBar(this);
    progress->setObjectName("progress");
    progress->setTextVisible(false);
    progress->setRange(0, 100);
    progress->setValue(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(33, 18, 11, 14);
    layout->setSpacing(4);
    for (QLabel* l : {read_text, convert_text, shape_text, dbf_text}) layout->addWidget(l);
    layout->addSpacing(14);
    layout->addWidget(progress);
    setFixedSize(346, 145);

    tick_timer_.setInterval(100);
    connect(&tick_timer_, &QTimer::timeout, this, [this] {
        animation_.tick();
        show_bar();
    });
    finish_timer_.setInterval(5);
    connect(&finish_timer_, &QTimer::timeout, this, &CProcessingDlg::play_frame);
}

void CProcessingDlg::set_read_text(const QString& text) { read_text->setText(text); }
void CProcessingDlg::set_convert_text(const QString& text) { convert_text->setText(text); }
void CProcessingDlg::set_shape_text(const QString& text) { shape_text->setText(text); }
void CProcessingDlg::set_dbf_text(const QString& text) { dbf_text->setText(text); }

void CProcessingDlg::show_bar() {
    progress->setRange(0, animation_.maximum());
    progress->setValue(animation_.position());
}

void CProcessingDlg::start_progress(int maximum) {
    animation_.start(maximum);
    show_bar();
    tick_timer_.start();
}

void CProcessingDlg::stop_progress() {
    if (!animation_.running()) return;
    tick_timer_.stop();
    animation_.stop();
    closable_ = true;
}

void CProcessingDlg::finish_progress(std::function<void()> done) {
    tick_timer_.stop();
    frames_ = animation_.finish();
    next_frame_ = 0;
    finished_ = std::move(done);
    if (frames_.empty()) {
        if (finished_) std::exchange(finished_, nullptr)();
        return;
    }
    closable_ = true;
    play_frame();
}

// One paused frame per timer period; the closing unit steps that follow without pause go at once.
void CProcessingDlg::play_frame() {
    while (next_frame_ < frames_.size()) {
        const ProgressAnimation::Frame f = frames_[next_frame_++];
        progress->setValue(f.position);
        if (f.pause) {
            if (!finish_timer_.isActive()) finish_timer_.start();
            return;
        }
    }
    finish_timer_.stop();
    if (finished_) std::exchange(finished_, nullptr)();
}

void CProcessingDlg::reject() {}

void CProcessingDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    shown_ = true;
}

void CProcessingDlg::hideEvent(QHideEvent* event) {
    shown_ = false;
    QDialog::hideEvent(event);
}

void CProcessingDlg::closeEvent(QCloseEvent* event) {
    if (!closable_) {
        event->ignore();
        return;
    }
    event->accept();
    done(QDialog::Rejected);
}

}  // namespace ostrand
