#include "viewer/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <tuple>

namespace velmora::viewer {

namespace {

QImage blank() {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void sheet(QPainter& p) {
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawRect(2, 1, 10, 13);
}

void magnifier(QPainter& p, bool plus) {
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(QColor(220, 235, 255));
    p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
    p.setPen(QPen(QColor(40, 40, 40), 2.5));
    p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
    p.setPen(QPen(QColor(0, 0, 160), 1.5));
    p.drawLine(QPointF(4, 6.5), QPointF(9, 6.5));
    if (plus) p.drawLine(QPointF(6.5, 4), QPointF(6.5, 9));
}

void letter(QPainter& p, const QString& text, const QColor& colour) {
    p.setPen(QColor(60, 60, 60));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, text);
}

}  // namespace

QIcon toolIcon(int bar, int button) {
    QImage image = blank();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (bar == 0) {
        sheet(p);
        p.setPen(QPen(button == 2 ? QColor(200, 0, 0) : QColor(0, 130, 0), 2));
        if (button == 1) {
            p.drawLine(9, 12, 15, 12);
            p.drawLine(12, 9, 12, 15);
        } else if (button == 2) {
            p.drawLine(9, 9, 15, 15);
            p.drawLine(15, 9, 9, 15);
        } else {
            p.setPen(QColor(40, 40, 40));
            p.setBrush(QColor(120, 120, 120));
            p.drawRect(5, 7, 10, 7);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(10, 10.5), 2, 2);
        }
    } else if (bar == 1) {
        switch (button) {
        case 1: magnifier(p, true); break;
        case 2: magnifier(p, false); break;
        case 3: {
            p.setPen(QPen(QColor(40, 40, 40), 1.5));
            p.drawLine(QPointF(8, 1.5), QPointF(8, 14.5));
            p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
            QPainterPath heads;
            for (const auto& [tip, a, b] : {std::tuple{QPointF(8, 0.5), QPointF(5, 4), QPointF(11, 4)},
                                            std::tuple{QPointF(8, 15.5), QPointF(5, 12), QPointF(11, 12)},
                                            std::tuple{QPointF(0.5, 8), QPointF(4, 5), QPointF(4, 11)},
                                            std::tuple{QPointF(15.5, 8), QPointF(12, 5), QPointF(12, 11)}}) {
                heads.moveTo(tip);
                heads.lineTo(a);
                heads.lineTo(b);
                heads.closeSubpath();
            }
            p.fillPath(heads, QColor(40, 40, 40));
            break;
        }
        case 4:
            p.setPen(QColor(40, 40, 40));
            p.setBrush(QColor(200, 230, 200));
            p.drawRect(1, 3, 14, 10);
            p.setBrush(QColor(0, 120, 0));
            p.drawRect(4, 6, 8, 4);
            break;
        case 5: letter(p, "i", QColor(0, 90, 200)); break;
        default:
            p.setPen(QColor(60, 60, 60));
            p.setBrush(Qt::white);
            p.drawRect(1, 2, 14, 12);
            for (int y : {6, 10}) p.drawLine(1, y, 15, y);
            p.drawLine(6, 2, 6, 14);
            break;
        }
    } else {
        static const char* const kLetters[] = {"P", "L", "A", "M", "D"};
        static const QColor kColours[] = {QColor(200, 60, 60), QColor(40, 110, 200), QColor(40, 150, 70),
                                          QColor(150, 90, 30), QColor(110, 70, 160)};
        if (button >= 1 && button <= 5) letter(p, kLetters[button - 1], kColours[button - 1]);
    }
    p.end();
    return QIcon(QPixmap::fromImage(image));
}

QImage treeImage(const QString& key) {
    QImage image = blank();
    QPainter p(&image);
    p.setPen(QColor(60, 60, 60));
    if (key == "SH") {
        // Stacked map sheets.
        p.setBrush(QColor(170, 210, 160));
        p.drawRect(4, 1, 11, 9);
        p.setBrush(QColor(200, 225, 250));
        p.drawRect(1, 5, 11, 9);
    } else if (key == "DB") {
        // A filing box of tables.
        p.setBrush(QColor(240, 210, 130));
        p.drawRect(1, 4, 14, 10);
        p.drawLine(1, 7, 15, 7);
    } else {
        p.setBrush(Qt::white);
        p.drawRect(1, 2, 14, 12);
        p.fillRect(2, 3, 13, 3, QColor(120, 150, 200));
        for (int y : {8, 11}) p.drawLine(1, y, 15, y);
        p.drawLine(6, 2, 6, 14);
    }
    return image;
}

}  // namespace velmora::viewer
