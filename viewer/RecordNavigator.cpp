#include "viewer/RecordNavigator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace velmora::viewer {

RecordNavigator::RecordNavigator(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto button = [&](const char* name, Qt::ArrowType arrow, const char* text, int step) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        if (arrow != Qt::NoArrow) b->setArrowType(arrow);
        if (text) b->setText(QString::fromUtf8(text));
        b->setAutoRepeat(step == -1 || step == 1);
        connect(b, &QToolButton::clicked, this, [this, step] { emit moveRequested(step); });
        return b;
    };
    first = button("first", Qt::NoArrow, "|◀", -2);
    previous = button("previous", Qt::LeftArrow, nullptr, -1);
    caption_ = new QLabel(this);
    caption_->setObjectName("caption");
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setFrameShape(QFrame::StyledPanel);
    next = button("next", Qt::RightArrow, nullptr, 1);
    last = button("last", Qt::NoArrow, "▶|", 2);
    layout->addWidget(first);
    layout->addWidget(previous);
    layout->addWidget(caption_, 1);
    layout->addWidget(next);
    layout->addWidget(last);
}

void RecordNavigator::setCaption(const QString& caption) { caption_->setText(caption); }

QString RecordNavigator::caption() const { return caption_->text(); }

}  // namespace velmora::viewer
