#include "platform/map/MarkerImage.h"

#include "platform/map/MapRenderer.h"
#include "platform/text/Cp932.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <string>

namespace velmora::map {

namespace {

constexpr double MaxLength = 100;

}  // namespace

MarkerStamp markerStamp(const Symbol& symbol, double lengthScale) {
    const double size = std::clamp((symbol.size > 0 ? symbol.size : DefaultMarkerSize) * lengthScale, 1.0, MaxLength);
    const double penWidth = std::max(1.0, lengthScale);
    const int side = static_cast<int>(std::ceil(size + 2 * penWidth)) + 2;
    MarkerStamp stamp;
    stamp.image = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
    stamp.image.fill(Qt::transparent);
    stamp.half = side / 2;
    QPainter m(&stamp.image);
    m.setRenderHint(QPainter::Antialiasing);
    const QColor colour = toQColor(symbol.color);
    const QColor outline = symbol.outline ? toQColor(symbol.outlineColor) : colour;
    const QPointF c(side / 2.0, side / 2.0);
    const double r = size / 2;
    m.setPen(QPen(outline, penWidth));
    m.setBrush(colour);
    switch (symbol.style) {
    case symbol::Square: m.drawRect(QRectF(c.x() - r, c.y() - r, size, size)); break;
    case symbol::Triangle: {
        const QPointF tri[3] = {{c.x(), c.y() - r}, {c.x() + r, c.y() + r}, {c.x() - r, c.y() + r}};
        m.drawPolygon(tri, 3);
        break;
    }
    case symbol::Cross:
        m.setPen(QPen(colour, penWidth));
        m.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
        m.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
        break;
    case symbol::FontCharacter: {
        QFont font(QString::fromStdString(symbol.font));
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
        m.setFont(font);
        m.setPen(colour);
        const std::string code(1, static_cast<char>(symbol.character & 0xFF));
        m.drawText(QRectF(0, 0, side, side), Qt::AlignCenter, QString::fromStdString(text::fromCp932(code)));
        break;
    }
    default: m.drawEllipse(c, r, r); break;
    }
    return stamp;
}

}  // namespace velmora::map
