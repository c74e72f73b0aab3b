#include "viewer/ToolBand.h"

#include <QMouseEvent>
#include <QToolButton>

namespace velmora::viewer {

int buttonCode(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) | (buttons & Qt::MiddleButton ? 4 : 0);
}

int shiftCode(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

ToolBand::ToolBand(const QString& title, int width, QWidget* parent) : QWidget(parent) {
    setObjectName("tbrFunc");
    setWindowTitle(title);
    setFixedSize(width, kButtonHeight + 4);
    setMouseTracking(true);
}

QToolButton* ToolBand::addButton(const QIcon& icon, const QString& shortName, bool checkable) {
    auto* b = new QToolButton(this);
    const int index = buttonCount() + 1;
    b->setObjectName(QStringLiteral("button%1").arg(index));
    b->setIcon(icon);
    b->setIconSize(QSize(16, 16));
    b->setToolTip(shortName);
    b->setAccessibleName(shortName);
    b->setCheckable(checkable);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry((index - 1) * kButtonWidth, 2, kButtonWidth, kButtonHeight);
    b->setMouseTracking(true);
    b->installEventFilter(this);
    connect(b, &QToolButton::clicked, this, [this, index] { emit buttonClick(index); });
    buttons_.push_back(b);
    return b;
}

QToolButton* ToolBand::button(int index) const {
    return index >= 1 && index <= buttonCount() ? buttons_[index - 1] : nullptr;
}

void ToolBand::mouseMoveEvent(QMouseEvent* e) {
    emit pointerMove(buttonCode(e->buttons()), shiftCode(e->modifiers()), e->position().toPoint().x(),
                     e->position().toPoint().y());
}

void ToolBand::leaveEvent(QEvent*) { emit pointerLeave(); }

bool ToolBand::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseMove) {
        auto* m = static_cast<QMouseEvent*>(e);
        const QPoint p = static_cast<QWidget*>(watched)->mapTo(this, m->position().toPoint());
        emit pointerMove(buttonCode(m->buttons()), shiftCode(m->modifiers()), p.x(), p.y());
    }
    return false;
}

}  // namespace velmora::viewer
