#include "polygon/core/Geometry.h"

#include <cmath>
#include <unordered_map>
#include <utility>

namespace ostrand {

BBox points_bbox(const std::vector<Point>& points) {
    BBox b;
    if (points.empty()) return b;
    b.xmin = b.xmax = points[0].x;
    b.ymin = b.ymax = points[0].y;
    for (const Point& p : points) {
        if (p.x < b.xmin) b.xmin = p.x;
        if (p.x > b.xmax) b.xmax = p.x;
        if (p.y < b.ymin) b.ymin = p.y;
        if (p.y > b.ymax) b.ymax = p.y;
    }
    return b;
}

BBox rings_bbox(const std::vector<Ring>& rings) {
    BBox u;
    bool first = true;
    for (const Ring& r : rings) {
        BBox b = points_bbox(r.points);
        if (first) {
            u = b;
            first = false;
            continue;
        }
        if (b.xmin < u.xmin) u.xmin = b.xmin;
        if (b.ymin < u.ymin) u.ymin = b.ymin;
        if (b.xmax > u.xmax) u.xmax = b.xmax;
        if (b.ymax > u.ymax) u.ymax = b.ymax;
    }
    return u;
}

double ring_area(const std::vector<Point>& p) {
    const std::size_t n = p.size();
    if (n < 3) return 0.0;
    double ymin = p[0].y;
    for (const Point& q : p)
        if (q.y < ymin) ymin = q.y;
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        sum += ((p[i].y - ymin) + (p[j].y - ymin)) * (p[j].x - p[i].x);
    }
    return kHalf * std::fabs(sum);
}

bool ring_is_clockwise(const std::vector<Point>& p) {
    std::size_t n = p.size();
    if (n == 0) return false;
    // A repeated closing point would make the leftmost first vertex its own neighbour.
    if (n > 1 && p[n - 1] == p[0]) --n;
    std::size_t cur = 0;
    for (std::size_t i = 1; i < n; ++i)
        if (p[i].x < p[cur].x) cur = i;
    const std::size_t prev = cur == 0 ? n - 1 : cur - 1;
    const std::size_t next = cur == n - 1 ? 0 : cur + 1;
    const double ux = p[prev].x - p[cur].x, uy = p[prev].y - p[cur].y;
    const double vx = p[next].x - p[cur].x, vy = p[next].y - p[cur].y;
    const double c = ux * vy - uy * vx;
    return c > 0.0 || (c == 0.0 && p[cur].y < p[next].y);
}

Ring::Ring(const Ring& other) : points(other.points) { recompute_bbox(); }

Ring::Ring(Ring&& other) noexcept : points(std::move(other.points)), box(other.box), box_valid(other.box_valid) {
    if (!box_valid) recompute_bbox();
    other.points.clear();
    other.box_valid = false;
}

Ring::Ring(const std::vector<Point>& pts) : points(pts) { recompute_bbox(); }

Ring::Ring(std::vector<Point>&& pts) : points(std::move(pts)) { recompute_bbox(); }

BBox Ring::bbox() const {
    if (!box_valid) {
        box = points_bbox(points);
        box_valid = true;
    }
    return box;
}

int Ring::locate_point(const Point& p) const {
    if (!bbox().contains(p)) return -1;
    const std::vector<Point>& v = points;
    const long n = static_cast<long>(v.size());
    if (n == 0) return -1;
    for (long i = 0; i < n; ++i) {
        const Point& a = v[i];
        const Point& b = v[(i + 1) % n];
        if (a == p) return 0;
        if (a.x == b.x && a.x == p.x && is_between(p.y, a.y, b.y)) return 0;
    }
    long limit = n - 1;
    while (limit >= 0 && v[limit].x == p.x) --limit;
    if (limit < 0) return -1;  // every vertex on p's vertical line and p on none of its edges
    long prev = limit, j = 0;
    int crossings = 0;
    do {
        while (v[j].x == p.x) ++j;  // stops at limit at the latest
        if (is_between(p.x, v[prev].x, v[j].x)) {
            double y;
            if (j == prev + 1 || (j == 0 && prev == n - 1))
                y = v[prev].y + (v[j].y - v[prev].y) * (p.x - v[prev].x) / (v[j].x - v[prev].x);
            else
                y = v[(prev + 1) % n].y;
            if (y > p.y) ++crossings;
            else if (y == p.y) return 0;
        }
        prev = j;
        ++j;
    } while (j <= limit);
    return (crossings % 2) == 1 ? 1 : -1;
}

double AreaPolygon::area() const {
    double a = 0.0;
    for (const Ring& r : rings) {
        if (r.is_clockwise()) a += ring_area(r.points);
        else a -= ring_area(r.points);
    }
    return a;
}

bool points_within(const Point& a, const Point& b, double tolerance) {
    const double dy = a.y - b.y, dx = a.x - b.x;
    return std::sqrt(dy * dy + dx * dx) <= tolerance;
}

bool SameBoxWithin::operator()(const Ring& ring) const {
    const BBox b = ring.bbox();
    const double t = tolerance;
    return std::fabs(b.xmin - reference.xmin) <= t && std::fabs(b.xmax - reference.xmax) <= t &&
           std::fabs(b.ymin - reference.ymin) <= t && std::fabs(b.ymax - reference.ymax) <= t;
}

void unique_within(std::vector<Point>& points) {
    points.erase(unique_within(points.begin(), points.end()), points.end());
}

void drop_repeated_points(std::vector<Point>& points) {
    // Cells wider than the tolerance: points within it lie in the same or a neighbouring cell.
    constexpr double kCell = 1e-6;
    struct CellHash {
        std::size_t operator()(const std::pair<long long, long long>& c) const {
            return std::hash<long long>()(c.first * 1000003LL) ^ std::hash<long long>()(c.second);
        }
    };
    std::unordered_map<std::pair<long long, long long>, std::vector<std::size_t>, CellHash> grid;
    std::vector<Point> kept;
    kept.reserve(points.size());
    for (const Point& p : points) {
        const long long cx = static_cast<long long>(std::floor(p.x / kCell));
        const long long cy = static_cast<long long>(std::floor(p.y / kCell));
        bool repeated = false;
        for (long long dx = -1; dx <= 1 && !repeated; ++dx)
            for (long long dy = -1; dy <= 1 && !repeated; ++dy) {
                auto it = grid.find({cx + dx, cy + dy});
                if (it == grid.end()) continue;
                for (std::size_t k : it->second)
                    if (points_within(kept[k], p, kPointTolerance)) {
                        repeated = true;
                        break;
                    }
            }
        if (repeated) continue;
        grid[{cx, cy}].push_back(kept.size());
        kept.push_back(p);
    }
    points.swap(kept);
}

bool is_between(double v, double a, double b) { return (a < v && v < b) || (b < v && v < a); }

}  // namespace ostrand
