#include "platform/map/MapView.h"

#include "platform/errors/RunTimeError.h"
#include "platform/map/MapCursors.h"
#include "platform/map/MapRenderer.h"
#include "platform/map/ShapeTypes.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

namespace velmora::map {

namespace {

constexpr double DegenerateSize = 0.01;
constexpr int FlashOnMs = 150;
constexpr int FlashOffMs = 100;
constexpr int OutOfMemory = 7;

[[noreturn]] void outOfRange() { throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range"); }

int buttonCode(Qt::MouseButtons b) {
    int code = 0;
    if (b & Qt::LeftButton) code |= button::Left;
    if (b & Qt::RightButton) code |= button::Right;
    if (b & Qt::MiddleButton) code |= button::Middle;
    return code;
}

int shiftCode(Qt::KeyboardModifiers m) {
    int code = 0;
    if (m & Qt::ShiftModifier) code |= shiftState::Shift;
    if (m & Qt::ControlModifier) code |= shiftState::Ctrl;
    if (m & Qt::AltModifier) code |= shiftState::Alt;
    return code;
}

// The highlight of a flashed shape: yellow with a red outline, thicker and larger than layers draw.
Symbol flashSymbol(int shapeType) {
    Symbol s;
    s.color = colourFromRgb(0xFFFF00);
    s.outlineColor = colourFromRgb(0xFF0000);
    s.size = 3;
    if (shapeType == shape::Point || shapeType == shape::MultiPoint) {
        s.type = symbol::Marker;
        s.size = 14;
    } else if (shapeType == shape::Line) {
        s.type = symbol::Line;
        s.color = s.outlineColor;
    }
    return s;
}

}  // namespace

MapView::MapView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(16, 16);
    setCursor(cursorForPointer(pointer_));
    flashTimer_.setSingleShot(true);
    connect(&flashTimer_, &QTimer::timeout, this, &MapView::flashStep);
}

MapView::~MapView() {
    for (auto& l : layers_) l->view_ = nullptr;
}

std::shared_ptr<MapLayer> MapView::layer(int i) const {
    if (i < 0 || i >= layerCount()) outOfRange();
    return layers_[i];
}

std::shared_ptr<MapLayer> MapView::layerByName(const std::string& name) const {
    for (const auto& l : layers_)
        if (l->name() == name) return l;
    return nullptr;
}

void MapView::addLayer(std::shared_ptr<MapLayer> layer) {
    if (!layer || std::find(layers_.begin(), layers_.end(), layer) != layers_.end())
        throw RunTimeError(err::InvalidProcedureCall, "Invalid procedure call or argument");
    const bool wasEmpty = layers_.empty();
    if (!layer->symbolChosen_) layer->symbol_ = defaultSymbol(layer->shapeType(), layerCount());
    layer->view_ = this;
    layers_.insert(layers_.begin(), layer);
    recomputeFullExtent();
    if (wasEmpty) setExtent(fullExtent_);
    scheduleRender();
}

void MapView::removeLayer(int i) {
    if (i < 0 || i >= layerCount()) outOfRange();
    layers_[i]->view_ = nullptr;
    layers_.erase(layers_.begin() + i);
    recomputeFullExtent();
    scheduleRender();
}

void MapView::clearLayers() {
    for (auto& l : layers_) l->view_ = nullptr;
    layers_.clear();
    recomputeFullExtent();
    scheduleRender();
}

void MapView::moveLayer(int from, int to) {
    if (from < 0 || from >= layerCount() || to < 0 || to >= layerCount()) outOfRange();
    auto l = layers_[from];
    layers_.erase(layers_.begin() + from);
    layers_.insert(layers_.begin() + to, l);
    scheduleRender();
}

void MapView::refresh() { scheduleRender(); }

void MapView::layerChanged() { scheduleRender(); }

void MapView::recomputeFullExtent() {
    fullExtent_ = MapRect();
    for (const auto& l : layers_) fullExtent_.unite(l->extent());
}

Viewport MapView::viewport() const { return Viewport::fit(requested_, width(), height()); }

MapRect MapView::extent() const { return viewport().extent; }

void MapView::setExtent(const MapRect& r) {
    if (r.isEmpty() || !std::isfinite(r.width()) || !std::isfinite(r.height())) return;
    MapRect e = r;
    if (e.width() == 0) {
        e.left -= DegenerateSize / 2;
        e.right += DegenerateSize / 2;
    }
    if (e.height() == 0) {
        e.bottom -= DegenerateSize / 2;
        e.top += DegenerateSize / 2;
    }
    requested_ = e;
    scheduleRender();
}

MapPoint MapView::toMapPoint(double x, double y) const { return viewport().toMap(x, y); }

void MapView::setMousePointer(int code) {
    pointer_ = code;
    setCursor(cursorForPointer(code));
}

void MapView::scheduleRender() {
    dirty_ = true;
    if (!renderQueued_) {
        renderQueued_ = true;
        QMetaObject::invokeMethod(this, &MapView::renderQueued, Qt::QueuedConnection);
    }
}

void MapView::renderQueued() {
    renderQueued_ = false;
    if (!dirty_) return;
    renderNow();
    update();
}

QSize MapView::cacheSize() const {
    const double ratio = devicePixelRatioF();
    return QSize(std::max(1, static_cast<int>(std::lround(width() * ratio))),
                 std::max(1, static_cast<int>(std::lround(height() * ratio))));
}

void MapView::renderNow() {
    // On a high-density screen the cache holds device pixels, lengths scaled alike, so that it stays sharp.
    const double ratio = devicePixelRatioF();
    const QSize size = cacheSize();
    if (cache_.size() != size) cache_ = QImage(size, QImage::Format_RGB32);
    cache_.setDevicePixelRatio(1);
    renderLayers(cache_, Viewport::fit(viewport().extent, size.width(), size.height()), layers_, ratio);
    cache_.setDevicePixelRatio(ratio);
    dirty_ = false;
    ++renderCount_;
}

void MapView::paintEvent(QPaintEvent*) {
    if (dirty_ || cache_.size() != cacheSize()) renderNow();
    QPainter p(this);
    if (panning_) {
        p.fillRect(rect(), Qt::white);
        p.drawImage(currentPos_ - pressPos_, cache_);
    } else {
        p.drawImage(0, 0, cache_);
    }
    if (tracking_) {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(pressPos_, currentPos_).normalized());
    }
    if (flashOn_ && !flashes_.empty()) {
        const MapShape& s = flashes_.front().shape;
        drawShape(p, viewport(), s, flashSymbol(s.shapeType));
    }
}

void MapView::resizeEvent(QResizeEvent*) {
    // A hidden widget gets its pending resize event when first painted; the cache may fit already.
    if (cache_.size() != cacheSize()) scheduleRender();
}

void MapView::mousePressEvent(QMouseEvent* event) {
    const int code = buttonCode(event->button());
    // A release we never saw (the pointer was grabbed elsewhere) must not leave a drag hanging: the button
    // goes down again, or is no longer held.
    if (pressedButton_ != 0 && (code == pressedButton_ || !(buttonCode(event->buttons()) & pressedButton_)))
        cancelDrag();
    if (pressedButton_ != 0 || code == 0) return;
    pressedButton_ = code;
    pressPos_ = currentPos_ = event->position().toPoint();
    emit mouseDown(code, shiftCode(event->modifiers()), pressPos_.x(), pressPos_.y());
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    currentPos_ = event->position().toPoint();
    if (tracking_ || panning_) update();
    const int buttons = pressedButton_ ? pressedButton_ : buttonCode(event->buttons());
    emit mouseMove(buttons, shiftCode(event->modifiers()), currentPos_.x(), currentPos_.y());
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    if (buttonCode(event->button()) != pressedButton_ || pressedButton_ == 0) return;
    pressedButton_ = 0;
    currentPos_ = event->position().toPoint();
    if (tracking_) {
        const MapPoint a = toMapPoint(pressPos_.x(), pressPos_.y());
        const MapPoint b = toMapPoint(currentPos_.x(), currentPos_.y());
        finishTracking(MapRect(std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y)));
    }
    if (panning_) finishPan(currentPos_ - pressPos_);
}

void MapView::cancelDrag() {
    pressedButton_ = 0;
    if (tracking_) finishTracking(MapRect());
    if (panning_) finishPan(QPoint());
}

void MapView::finishPan(const QPoint& moved) {
    panning_ = false;
    if (!moved.isNull()) {
        const Viewport vp = viewport();
        MapRect e = requested_;
        e.offset(-moved.x() / vp.scale, moved.y() / vp.scale);
        setExtent(e);
    }
    update();
    auto done = std::move(panDone_);
    panDone_ = nullptr;
    if (done) done();
}

void MapView::trackRectangle(std::function<void(const MapRect&)> done) {
    if (tracking_) finishTracking(MapRect());
    if (pressedButton_ == 0 || panning_) {
        if (done) done(MapRect());
        return;
    }
    tracking_ = true;
    trackDone_ = std::move(done);
    update();
}

void MapView::finishTracking(const MapRect& result) {
    tracking_ = false;
    update();
    auto done = std::move(trackDone_);
    trackDone_ = nullptr;
    if (done) done(result);
}

void MapView::pan(std::function<void()> done) {
    if (pressedButton_ == 0 || panning_ || tracking_) {
        if (done) done();
        return;
    }
    panning_ = true;
    panDone_ = std::move(done);
}

void MapView::flashShape(const MapShape& shape, int count) {
    if (count <= 0 || shape.isNull()) return;
    flashes_.push_back({shape, count});
    if (!flashTimer_.isActive() && !flashOn_) flashStep();
}

void MapView::flashStep() {
    if (flashes_.empty()) return;
    if (!flashOn_) {
        flashOn_ = true;
        update();
        flashTimer_.start(FlashOnMs);
        return;
    }
    flashOn_ = false;
    update();
    if (--flashes_.front().remaining <= 0) flashes_.pop_front();
    emit flashed();
    if (!flashes_.empty()) flashTimer_.start(FlashOffMs);
}

void MapView::exportMap(int kind, const std::string& path, double scale) {
    if (kind != exportKind::Bitmap || !(scale > 0) || !std::isfinite(scale))
        throw RunTimeError(err::InvalidProcedureCall, "Invalid procedure call or argument");
    const Viewport shown = viewport();
    const int w = static_cast<int>(std::lround(shown.width * scale));
    const int h = static_cast<int>(std::lround(shown.height * scale));
    QImage image(std::max(1, w), std::max(1, h), QImage::Format_RGB32);
    if (image.isNull()) throw RunTimeError(OutOfMemory, "Out of memory");
    renderLayers(image, Viewport::fit(shown.extent, image.width(), image.height()), layers_, scale);
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "BMP") || !file.commit()) {
        file.cancelWriting();
        throw RunTimeError(err::PathFileAccessError, "Path/File access error: " + path);
    }
}

}  // namespace velmora::map
