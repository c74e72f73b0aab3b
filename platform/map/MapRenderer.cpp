#include "platform/map/MapRenderer.h"

#include "platform/map/MapLayer.h"
#include "platform/map/MarkerImage.h"
#include "platform/map/ShapeData.h"
#include "platform/map/ShapeTypes.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace velmora::map {

namespace {

constexpr double MaxLength = 100;

struct PartView {
    const double* xy;
    std::uint32_t count;
};

double drawnLength(double size, double fallback, double lengthScale) {
    return std::clamp((size > 0 ? size : fallback) * lengthScale, 1.0, MaxLength);
}

Qt::BrushStyle fillPattern(int style) {
    switch (style) {
    case symbol::FillTransparent: return Qt::NoBrush;
    case symbol::FillHorizontal: return Qt::HorPattern;
    case symbol::FillVertical: return Qt::VerPattern;
    case symbol::FillUpwardDiagonal: return Qt::BDiagPattern;
    case symbol::FillDownwardDiagonal: return Qt::FDiagPattern;
    case symbol::FillCross: return Qt::CrossPattern;
    case symbol::FillDiagonalCross: return Qt::DiagCrossPattern;
    case symbol::FillLightShade: return Qt::Dense6Pattern;
    case symbol::FillMediumShade: return Qt::Dense4Pattern;
    case symbol::FillDarkShade: return Qt::Dense2Pattern;
    default: return Qt::SolidPattern;
    }
}

Qt::PenStyle lineStyle(int style) {
    switch (style) {
    case symbol::Dash: return Qt::DashLine;
    case symbol::Dot: return Qt::DotLine;
    case symbol::DashDot: return Qt::DashDotLine;
    case symbol::DashDotDot: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
    }
}

// Sutherland-Hodgman against one edge of the clip rectangle; keeps the raster engine within coordinates it
// can handle when a large shape is seen very close up.
template <class Inside, class Cut>
void clipEdge(std::vector<QPointF>& ring, Inside inside, Cut cut) {
    std::vector<QPointF> out;
    out.reserve(ring.size() + 4);
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const QPointF& a = ring[i];
        const QPointF& b = ring[(i + 1) % ring.size()];
        const bool ia = inside(a), ib = inside(b);
        if (ia) out.push_back(a);
        if (ia != ib) out.push_back(cut(a, b));
    }
    ring.swap(out);
}

void clipRing(std::vector<QPointF>& ring, const QRectF& r) {
    auto atX = [](const QPointF& a, const QPointF& b, double x) {
        return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x()));
    };
    auto atY = [](const QPointF& a, const QPointF& b, double y) {
        return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y);
    };
    clipEdge(ring, [&](const QPointF& p) { return p.x() >= r.left(); }, [&](auto& a, auto& b) { return atX(a, b, r.left()); });
    clipEdge(ring, [&](const QPointF& p) { return p.x() <= r.right(); }, [&](auto& a, auto& b) { return atX(a, b, r.right()); });
    clipEdge(ring, [&](const QPointF& p) { return p.y() >= r.top(); }, [&](auto& a, auto& b) { return atY(a, b, r.top()); });
    clipEdge(ring, [&](const QPointF& p) { return p.y() <= r.bottom(); }, [&](auto& a, auto& b) { return atY(a, b, r.bottom()); });
}

// Liang-Barsky: the part of segment a-b inside r, false when none.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& r) {
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const QPointF start(a.x() + t0 * dx, a.y() + t0 * dy), end(a.x() + t1 * dx, a.y() + t1 * dy);
    a = start;
    b = end;
    return true;
}

// Draws the shapes of one layer with one symbol.
class SymbolPainter {
public:
    SymbolPainter(QPainter& painter, QImage* pixels, const Viewport& vp, int shapeType, const Symbol& s,
                  double lengthScale)
        : p_(painter), vp_(vp), shapeType_(shapeType), symbol_(s) {
        if (pixels) {
            bits_ = reinterpret_cast<QRgb*>(pixels->bits());
            stride_ = pixels->bytesPerLine() / 4;
        }
        const QColor colour = toQColor(s.color);
        const QColor outline = toQColor(s.outlineColor);
        if (shapeType == shape::Polygon) {
            const bool filled = s.style != symbol::FillTransparent;
            if (s.outline) {
                pen_ = QPen(outline, drawnLength(s.size, 1, lengthScale));
                pixel_ = outline;
            } else {
                pen_ = QPen(Qt::NoPen);
                if (filled) pixel_ = colour;
            }
            brush_ = QBrush(colour, fillPattern(s.style));
            // Small outlined rectangles (mesh cells) are written straight into the image.
            boxesAsPixels_ = pixels && s.outline && pen_.widthF() <= 1 &&
                             (brush_.style() == Qt::SolidPattern || brush_.style() == Qt::NoBrush);
            fillPixel_ = colour.rgba();
        } else if (shapeType == shape::Line) {
            pen_ = QPen(colour, drawnLength(s.size, 1, lengthScale), lineStyle(s.style));
            pixel_ = colour;
            brush_ = Qt::NoBrush;
        } else {
            makeMarker(lengthScale);
        }
        clip_ = QRectF(-margin(), -margin(), vp.width + 2 * margin(), vp.height + 2 * margin());
    }

    // How far (in pixels) drawing may reach beyond a shape's box.
    double reach() const {
        if (shapeType_ == shape::Point || shapeType_ == shape::MultiPoint)
            return std::max(marker_.width(), marker_.height()) / 2.0 + 1;
        return pen_.style() == Qt::NoPen ? 1 : pen_.widthF() / 2 + 1;
    }

    void begin() {
        p_.setPen(pen_);
        p_.setBrush(brush_);
    }

    void draw(const MapRect& box, const PartView* parts, std::size_t partCount) {
        if (partCount == 0) return;
        if (shapeType_ == shape::Point || shapeType_ == shape::MultiPoint) {
            for (std::size_t k = 0; k < partCount; ++k)
                for (std::uint32_t i = 0; i < parts[k].count; ++i)
                    marker(vp_.toPixelX(parts[k].xy[2 * i]), vp_.toPixelY(parts[k].xy[2 * i + 1]));
            return;
        }
        const double x0 = vp_.toPixelX(box.left), x1 = vp_.toPixelX(box.right);
        const double y0 = vp_.toPixelY(box.top), y1 = vp_.toPixelY(box.bottom);
        const double pen = pen_.style() == Qt::NoPen ? 0 : pen_.widthF();
        if (pen <= 1 && x1 - x0 < 1 && y1 - y0 < 1) {
            if (pixel_.isValid()) pixel(std::floor((x0 + x1) / 2), std::floor((y0 + y1) / 2));
            return;
        }
        // A shape hardly wider than its pen is all pen: the pixels under its box, widened by the pen beyond
        // one pixel. (Wide pens are slow to stroke, and an export at twice the size has them.)
        if (pen > 0 && x1 - x0 < 1 + pen && y1 - y0 < 1 + pen) {
            const double grow = (pen - 1) / 2;
            for (double y = std::floor(y0 - grow); y <= std::floor(y1 + grow); ++y)
                for (double x = std::floor(x0 - grow); x <= std::floor(x1 + grow); ++x) pixel(x, y);
            return;
        }
        const bool clip = x0 < clip_.left() || y0 < clip_.top() || x1 > clip_.right() || y1 > clip_.bottom();
        if (shapeType_ == shape::Line) {
            for (std::size_t k = 0; k < partCount; ++k) line(parts[k], clip);
        } else {
            polygon(box, parts, partCount, clip);
        }
    }

private:
    double margin() const { return 64 + MaxLength; }

    void transform(const PartView& part) {
        pts_.resize(part.count);
        for (std::uint32_t i = 0; i < part.count; ++i)
            pts_[i] = QPointF(vp_.toPixelX(part.xy[2 * i]), vp_.toPixelY(part.xy[2 * i + 1]));
    }

    void pixel(double x, double y) {
        if (x < 0 || y < 0 || x >= vp_.width || y >= vp_.height) return;
        if (bits_) bits_[static_cast<std::ptrdiff_t>(y) * stride_ + static_cast<std::ptrdiff_t>(x)] = pixel_.rgba();
        else p_.fillRect(QRectF(x, y, 1, 1), pixel_);
    }

    void line(const PartView& part, bool clip) {
        transform(part);
        if (pts_.size() < 2) return;
        if (!clip) {
            p_.drawPolyline(pts_.data(), static_cast<int>(pts_.size()));
            return;
        }
        for (std::size_t i = 0; i + 1 < pts_.size(); ++i) {
            QPointF a = pts_[i], b = pts_[i + 1];
            if (clipSegment(a, b, clip_)) p_.drawLine(a, b);
        }
    }

    static bool isAxisRectangle(const PartView& ring) {
        if (ring.count != 5) return false;
        const double* p = ring.xy;
        if (p[0] != p[8] || p[1] != p[9]) return false;
        return (p[0] == p[2] && p[3] == p[5] && p[4] == p[6] && p[7] == p[1]) ||
               (p[1] == p[3] && p[2] == p[4] && p[5] == p[7] && p[6] == p[0]);
    }

    // The outline on the border pixels of the box, the fill inside: what a 1-pixel pen and a solid brush
    // paint for a rectangle, within a pixel.
    bool rectangleAsPixels(const MapRect& box) {
        constexpr double Limit = 64;
        const double x0 = std::floor(vp_.toPixelX(box.left)), x1 = std::floor(vp_.toPixelX(box.right));
        const double y0 = std::floor(vp_.toPixelY(box.top)), y1 = std::floor(vp_.toPixelY(box.bottom));
        if (x1 - x0 > Limit || y1 - y0 > Limit) return false;
        const int left = static_cast<int>(std::max(x0, 0.0)), right = static_cast<int>(std::min(x1, vp_.width - 1.0));
        const int top = static_cast<int>(std::max(y0, 0.0)), bottom = static_cast<int>(std::min(y1, vp_.height - 1.0));
        const QRgb outline = pixel_.rgba();
        const bool filled = brush_.style() != Qt::NoBrush;
        for (int y = top; y <= bottom; ++y) {
            QRgb* row = bits_ + static_cast<std::ptrdiff_t>(y) * stride_;
            if (y == y0 || y == y1) {
                std::fill(row + left, row + right + 1, outline);
                continue;
            }
            if (filled) std::fill(row + left, row + right + 1, fillPixel_);
            if (x0 >= 0) row[left] = outline;
            if (x1 < vp_.width) row[right] = outline;
        }
        return true;
    }

    void polygon(const MapRect& box, const PartView* parts, std::size_t partCount, bool clip) {
        if (partCount == 1 && boxesAsPixels_ && isAxisRectangle(parts[0]) && rectangleAsPixels(box)) return;
        if (partCount == 1) {
            transform(parts[0]);
            if (clip) clipRing(pts_, clip_);
            if (pts_.size() >= 2) p_.drawPolygon(pts_.data(), static_cast<int>(pts_.size()), Qt::OddEvenFill);
            return;
        }
        // Rings joined into one outline: the joins run back and forth over the same segment, which the
        // odd-even rule cancels, so holes stay open. The rings' own outlines follow.
        rings_.clear();
        starts_.clear();
        for (std::size_t k = 0; k < partCount; ++k) {
            transform(parts[k]);
            if (clip) clipRing(pts_, clip_);
            starts_.push_back(rings_.size());
            rings_.insert(rings_.end(), pts_.begin(), pts_.end());
        }
        starts_.push_back(rings_.size());
        p_.setPen(Qt::NoPen);
        if (brush_.style() != Qt::NoBrush)
            p_.drawPolygon(rings_.data(), static_cast<int>(rings_.size()), Qt::OddEvenFill);
        p_.setPen(pen_);
        if (pen_.style() == Qt::NoPen) return;
        p_.setBrush(Qt::NoBrush);
        for (std::size_t k = 0; k + 1 < starts_.size(); ++k)
            if (starts_[k + 1] - starts_[k] >= 2)
                p_.drawPolygon(rings_.data() + starts_[k], static_cast<int>(starts_[k + 1] - starts_[k]));
        p_.setBrush(brush_);
    }

    void makeMarker(double lengthScale) {
        MarkerStamp stamp = markerStamp(symbol_, lengthScale);
        marker_ = std::move(stamp.image);
        markerHalf_ = stamp.half;
    }

    void marker(double x, double y) {
        const int ix = static_cast<int>(std::floor(x)) - markerHalf_;
        const int iy = static_cast<int>(std::floor(y)) - markerHalf_;
        if (ix + marker_.width() < 0 || iy + marker_.height() < 0 || ix >= vp_.width || iy >= vp_.height) return;
        p_.drawImage(ix, iy, marker_);
    }

    QPainter& p_;
    const Viewport& vp_;
    int shapeType_;
    Symbol symbol_;
    QPen pen_;
    QBrush brush_;
    QColor pixel_;  // invalid: a shape under a pixel draws nothing
    QRgb* bits_ = nullptr;
    bool boxesAsPixels_ = false;
    QRgb fillPixel_ = 0;
    std::ptrdiff_t stride_ = 0;
    QRectF clip_;
    QImage marker_;
    int markerHalf_ = 0;
    std::vector<QPointF> pts_;
    std::vector<QPointF> rings_;
    std::vector<std::size_t> starts_;
};

void drawLayer(QPainter& painter, QImage& image, const Viewport& vp, const MapLayer& layer, double lengthScale) {
    const ShapeData& d = layer.shapes();
    if (d.count() == 0) return;
    SymbolPainter sp(painter, &image, vp, d.shapeType, layer.symbol(), lengthScale);
    const double reach = sp.reach() / vp.scale;
    MapRect query = vp.extent;
    query.left -= reach;
    query.right += reach;
    query.bottom -= reach;
    query.top += reach;
    sp.begin();
    std::vector<PartView> parts;
    for (auto n : d.index.find(query, d.boxes)) {
        parts.clear();
        for (std::uint32_t p = d.shapePart[n]; p < d.shapePart[n + 1]; ++p)
            parts.push_back({d.xy.data() + 2 * d.partStart[p], d.partStart[p + 1] - d.partStart[p]});
        sp.draw(d.boxes[n], parts.data(), parts.size());
    }
}

}  // namespace

QColor toQColor(std::uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

void renderLayers(QImage& image, const Viewport& viewport, const std::vector<std::shared_ptr<MapLayer>>& layers,
                  double lengthScale) {
    image.fill(Qt::white);
    // Detached before the painter starts, so that pixels written straight into the buffer and the
    // painter's drawing land in the same memory.
    (void)image.bits();
    QPainter painter(&image);
    for (auto it = layers.rbegin(); it != layers.rend(); ++it)
        if ((*it)->visible()) drawLayer(painter, image, viewport, **it, lengthScale);
}

void drawShape(QPainter& painter, const Viewport& viewport, const MapShape& shape, const Symbol& symbol) {
    if (shape.isNull()) return;
    std::vector<std::vector<double>> flat;
    std::vector<PartView> parts;
    for (const auto& part : shape.parts) {
        std::vector<double> xy;
        for (const auto& pt : part) {
            xy.push_back(pt.x);
            xy.push_back(pt.y);
        }
        flat.push_back(std::move(xy));
    }
    for (const auto& xy : flat) parts.push_back({xy.data(), static_cast<std::uint32_t>(xy.size() / 2)});
    SymbolPainter sp(painter, nullptr, viewport, shape.shapeType, symbol, 1);
    sp.begin();
    sp.draw(shape.box, parts.data(), parts.size());
}

}  // namespace velmora::map
