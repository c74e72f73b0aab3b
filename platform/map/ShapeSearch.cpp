#include "platform/map/ShapeSearch.h"

#include "platform/map/ShapeTypes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora::map {

namespace {

double segmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

}  // namespace

bool polygonContains(const ShapeData& d, std::size_t n, const MapPoint& p) {
    if (!d.boxes[n].contains(p)) return false;
    bool inside = false;
    for (std::uint32_t part = d.shapePart[n]; part < d.shapePart[n + 1]; ++part) {
        const std::uint32_t first = d.partStart[part], last = d.partStart[part + 1];
        if (last - first < 3) continue;
        // Each ring is taken as closed whether or not its last point repeats the first.
        for (std::uint32_t i = first, j = last - 1; i < last; j = i++) {
            const double xi = d.xy[2 * i], yi = d.xy[2 * i + 1], xj = d.xy[2 * j], yj = d.xy[2 * j + 1];
            if ((yi > p.y) != (yj > p.y) && p.x < (xj - xi) * (p.y - yi) / (yj - yi) + xi) inside = !inside;
        }
    }
    return inside;
}

double distanceTo(const ShapeData& d, std::size_t n, const MapPoint& p) {
    double best = std::numeric_limits<double>::infinity();
    const bool segments = d.shapeType == shape::Line || d.shapeType == shape::Polygon;
    if (d.shapeType == shape::Polygon && polygonContains(d, n, p)) return 0;
    for (std::uint32_t part = d.shapePart[n]; part < d.shapePart[n + 1]; ++part) {
        const std::uint32_t first = d.partStart[part], last = d.partStart[part + 1];
        for (std::uint32_t i = first; i < last; ++i) {
            const double x = d.xy[2 * i], y = d.xy[2 * i + 1];
            if (!segments || last - first == 1) {
                best = std::min(best, std::hypot(p.x - x, p.y - y));
            } else if (i + 1 < last) {
                best = std::min(best, segmentDistance(p.x, p.y, x, y, d.xy[2 * i + 2], d.xy[2 * i + 3]));
            }
        }
    }
    return best;
}

}  // namespace velmora::map
