#include "platform/map/MapCursors.h"

#include "platform/map/MapView.h"

#include <QPainter>
#include <QPixmap>

namespace velmora::map {

namespace {

// A magnifying glass with a plus or a minus; the hot spot is the centre of the lens.
QCursor magnifier(bool plus) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(QPointF(12, 12), 8, 8);
    p.drawLine(QPointF(18, 18), QPointF(28, 28));
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(QPointF(12, 12), 8, 8);
    p.drawLine(QPointF(18, 18), QPointF(28, 28));
    p.drawLine(QPointF(8, 12), QPointF(16, 12));
    if (plus) p.drawLine(QPointF(12, 8), QPointF(12, 16));
    return QCursor(pm, 12, 12);
}

}  // namespace

QCursor cursorForPointer(int code) {
    switch (code) {
    case pointer::Cross: return QCursor(Qt::CrossCursor);
    case pointer::ZoomIn: return magnifier(true);
    case pointer::ZoomOut: return magnifier(false);
    case pointer::Pan: return QCursor(Qt::OpenHandCursor);
    case pointer::Panning: return QCursor(Qt::ClosedHandCursor);
    default: return QCursor(Qt::ArrowCursor);
    }
}

}  // namespace velmora::map
