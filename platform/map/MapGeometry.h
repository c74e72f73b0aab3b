#pragma once
// Points and rectangles in map units, y pointing up (north), as the map's callers see them.
#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora::map {

struct MapPoint {
    double x = 0;
    double y = 0;
};

// left <= right and bottom <= top for a rectangle that holds something; the empty rectangle (the default)
// has left > right, so a union with it gives the other rectangle and the map ignores it as an extent.
struct MapRect {
    double left = std::numeric_limits<double>::infinity();
    double right = -std::numeric_limits<double>::infinity();
    double bottom = std::numeric_limits<double>::infinity();
    double top = -std::numeric_limits<double>::infinity();

    MapRect() = default;
    MapRect(double l, double r, double b, double t) : left(l), right(r), bottom(b), top(t) {}

    // NaN sides count as empty too: such a rectangle can place nothing.
    bool isEmpty() const { return !(left <= right) || !(bottom <= top); }
    double width() const { return right - left; }
    double height() const { return top - bottom; }
    MapPoint centre() const { return {(left + right) / 2, (bottom + top) / 2}; }

    void offset(double dx, double dy) {
        left += dx;
        right += dx;
        bottom += dy;
        top += dy;
    }
    // Width and height multiplied by f, the centre kept.
    void scaleAboutCentre(double f) {
        const MapPoint c = centre();
        const double hw = width() * f / 2, hh = height() * f / 2;
        left = c.x - hw;
        right = c.x + hw;
        bottom = c.y - hh;
        top = c.y + hh;
    }
    void unite(const MapRect& o) {
        if (o.isEmpty()) return;
        left = std::min(left, o.left);
        right = std::max(right, o.right);
        bottom = std::min(bottom, o.bottom);
        top = std::max(top, o.top);
    }
    void include(double x, double y) {
        left = std::min(left, x);
        right = std::max(right, x);
        bottom = std::min(bottom, y);
        top = std::max(top, y);
    }
    bool intersects(const MapRect& o) const {
        return left <= o.right && o.left <= right && bottom <= o.top && o.bottom <= top;
    }
    bool contains(const MapPoint& p) const {
        return left <= p.x && p.x <= right && bottom <= p.y && p.y <= top;
    }
    bool operator==(const MapRect&) const = default;
};

}  // namespace velmora::map
