#include "viewer/PictureSurface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace velmora::viewer {

namespace {

// 96 dots per inch, the density at which a twip is a fifteenth of a pixel.
constexpr int kDotsPerMeter = 3780;

Qt::BrushStyle patternOf(int fillStyle) {
    switch (fillStyle) {
    case 0: return Qt::SolidPattern;
    case 2: return Qt::HorPattern;
    case 3: return Qt::VerPattern;
    case 4: return Qt::BDiagPattern;
    case 5: return Qt::FDiagPattern;
    case 6: return Qt::CrossPattern;
    case 7: return Qt::DiagCrossPattern;
    default: return Qt::NoBrush;
    }
}

}  // namespace

QColor surfaceColour(std::uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

PictureSurface::PictureSurface(int widthPixels, int heightPixels)
    : image_(widthPixels, heightPixels, QImage::Format_RGB32) {
    image_.setDotsPerMeterX(kDotsPerMeter);
    image_.setDotsPerMeterY(kDotsPerMeter);
    clear();
}

void PictureSurface::clear() {
    image_.fill(Qt::white);
    x_ = y_ = 0;
}

void PictureSurface::setSettings(const SurfaceSettings& s) {
    setScaleMode(s.scaleMode);
    s_ = s;
}

void PictureSurface::setScaleMode(int mode) {
    const double px = toPixels(x_), py = toPixels(y_);
    s_.scaleMode = mode;
    x_ = fromPixels(px);
    y_ = fromPixels(py);
}

double PictureSurface::toPixels(double v) const { return s_.scaleMode == scaleMode::Twips ? v / TwipsPerPixel : v; }
double PictureSurface::fromPixels(double v) const { return s_.scaleMode == scaleMode::Twips ? v * TwipsPerPixel : v; }

double PictureSurface::scaleHeight() const { return fromPixels(image_.height() - (s_.borderStyle ? 2 : 0)); }

void PictureSurface::line(double x1, double y1, double x2, double y2, std::optional<std::uint32_t> colour, bool box) {
    QPainter p(&image_);
    QPen pen(surfaceColour(colour.value_or(s_.foreColor)), s_.drawWidth);
    pen.setCapStyle(s_.drawWidth > 1 ? Qt::RoundCap : Qt::SquareCap);
    p.setPen(pen);
    const QPointF a(toPixels(x1), toPixels(y1)), b(toPixels(x2), toPixels(y2));
    if (box) {
        p.setBrush(QBrush(surfaceColour(s_.fillColor), patternOf(s_.fillStyle)));
        p.drawRect(QRectF(a, b).normalized());
    } else {
        p.drawLine(a, b);
    }
    x_ = x2;
    y_ = y2;
}

double PictureSurface::textWidth(const std::string& text) const {
    QFont font(QString::fromStdString(s_.fontName));
    font.setPointSizeF(s_.fontSize > 0 ? s_.fontSize : 1);
    return fromPixels(QFontMetricsF(font, &image_).horizontalAdvance(QString::fromStdString(text)));
}

double PictureSurface::textHeight(const std::string&) const {
    QFont font(QString::fromStdString(s_.fontName));
    font.setPointSizeF(s_.fontSize > 0 ? s_.fontSize : 1);
    return fromPixels(QFontMetricsF(font, &image_).height());
}

void PictureSurface::print(const std::string& text) {
    QPainter p(&image_);
    QFont font(QString::fromStdString(s_.fontName));
    font.setPointSizeF(s_.fontSize > 0 ? s_.fontSize : 1);
    p.setFont(font);
    p.setPen(surfaceColour(s_.foreColor));
    const QFontMetricsF metrics(font, &image_);
    p.drawText(QPointF(toPixels(x_), toPixels(y_) + metrics.ascent()), QString::fromStdString(text));
    y_ += fromPixels(metrics.height());
    x_ = 0;
}

void PictureSurface::stamp(const QImage& image, int x, int y) {
    QPainter p(&image_);
    p.drawImage(x, y, image);
}

}  // namespace velmora::viewer
