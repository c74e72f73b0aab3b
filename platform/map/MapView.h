#pragma once
// The map control: a widget that draws shapefile layers (index 0 on top) into a cached image, shows an
// extent fitted to its proportions, reports mouse events with the classic button and shift codes, tracks
// rectangles and pans without a nested event loop, flashes shapes and exports the view as a bitmap.
#include "platform/map/MapGeometry.h"
#include "platform/map/MapLayer.h"
#include "platform/map/MapShape.h"
#include "platform/map/Viewport.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmora::map {

namespace pointer {
inline constexpr int Default = 0, Arrow = 1, Cross = 2, ZoomIn = 51, ZoomOut = 52, Pan = 53, Panning = 54;
}
namespace button {
inline constexpr int Left = 1, Right = 2, Middle = 4;
}
namespace shiftState {
inline constexpr int Shift = 1, Ctrl = 2, Alt = 4;
}
namespace exportKind {
inline constexpr int Bitmap = 1;
}

class MapView : public QWidget {
    Q_OBJECT

public:
    explicit MapView(QWidget* parent = nullptr);
    ~MapView() override;

    int layerCount() const { return static_cast<int>(layers_.size()); }
    // RunTimeError 9 for an index out of range.
    std::shared_ptr<MapLayer> layer(int i) const;
    // The layer with exactly this name (case-sensitive), or nullptr.
    std::shared_ptr<MapLayer> layerByName(const std::string& name) const;
    // Puts the layer at index 0 (on top). A layer whose symbol was never set gets the palette colour of
    // the new layer count. The first layer of an empty map sets the view to the full extent.
    void addLayer(std::shared_ptr<MapLayer> layer);
    void removeLayer(int i);
    void clearLayers();
    // Removes the layer at `from`, then inserts it at `to`.
    void moveLayer(int from, int to);
    // Draws the map afresh (once, on the next turn of the event loop).
    void refresh();

    // The visible extent: the rectangle last set, widened on one axis to the widget's proportions.
    MapRect extent() const;
    // An empty rectangle is ignored; a zero width or height becomes 0.01 about the centre.
    void setExtent(const MapRect& r);
    // The union of the layers' extents as of the last add or remove, or what was set since.
    MapRect fullExtent() const { return fullExtent_; }
    void setFullExtent(const MapRect& r) { fullExtent_ = r; }
    // The map point under the widget position (pixels); works on an empty map too.
    MapPoint toMapPoint(double x, double y) const;

    int mousePointer() const { return pointer_; }
    void setMousePointer(int code);

    // Called from a mouse-down handler: a rubber band follows the pointer until the button that went down
    // is released, then `done` receives the rectangle in map units (width 0 for a click). Without a button
    // down, or when the tracking is cut short, `done` receives an empty rectangle.
    void trackRectangle(std::function<void(const MapRect&)> done);
    // Called from a mouse-down handler: the map follows the pointer until the button is released; the
    // extent is then moved and `done` called.
    void pan(std::function<void()> done);

    // Shows the shape highlighted `count` times, one after the other with other flashes asked for;
    // flashed() is emitted at the end of each.
    void flashShape(const MapShape& shape, int count);

    // Kind 1: the view as a 24-bit Windows bitmap at `scale` times the widget's size, lengths scaled alike,
    // written beside `path` and renamed over it. RunTimeError 75 (nothing left behind) when it cannot be
    // written, 5 for another kind or a scale that is not positive.
    void exportMap(int kind, const std::string& path, double scale);

    // How often the cached image was drawn (a measure for tests and benchmarks).
    int renderCount() const { return renderCount_; }

    // A layer's symbol or visibility changed.
    void layerChanged();

signals:
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt; x, y in pixels.
    void mouseDown(int button, int shift, int x, int y);
    void mouseMove(int button, int shift, int x, int y);
    void flashed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Viewport viewport() const;
    QSize cacheSize() const;
    void scheduleRender();
    void renderQueued();
    void renderNow();
    void recomputeFullExtent();
    void finishTracking(const MapRect& result);
    // Ends a rectangle (with an empty result) or a pan (without moving) whose release was lost.
    void cancelDrag();
    // The map follows the pointer's move (in pixels), then the pan's caller is told.
    void finishPan(const QPoint& moved);
    void flashStep();

    std::vector<std::shared_ptr<MapLayer>> layers_;
    MapRect requested_{0, 1, 0, 1};
    MapRect fullExtent_;
    int pointer_ = pointer::Default;

    QImage cache_;
    bool dirty_ = true;
    bool renderQueued_ = false;
    int renderCount_ = 0;

    int pressedButton_ = 0;
    QPoint pressPos_;
    QPoint currentPos_;
    std::function<void(const MapRect&)> trackDone_;
    bool tracking_ = false;
    std::function<void()> panDone_;
    bool panning_ = false;

    struct Flash {
        MapShape shape;
        int remaining;
    };
    std::deque<Flash> flashes_;
    bool flashOn_ = false;
    QTimer flashTimer_;
};

}  // namespace velmora::map
