// The catchment maker's step after ring building: small loops of an outline (two segments that cross
// just after a short one) are cut at the crossing, and the neighbouring outlines that held the cut corner
// are moved to the same crossing so that the catchments still meet.
#include <set>

#include "polygon/core/KsPolygonMakerBasin.h"

namespace ostrand {

namespace {

bool near_either(const Point& v, const Point& p, const Point& q) {
    return points_within(v, p, kPointTolerance) || points_within(v, q, kPointTolerance);
}

// The neighbour's corner at p or q becomes x and its other points there go; the ring stays closed.
void move_corner(Ring& ring, const Point& p, const Point& q, const Point& x) {
    std::vector<Point>& pts = ring.points;
    const auto found = find_near_point(pts.cbegin(), pts.cend(), p, q);
    if (found != pts.cend()) {
        const std::size_t at = static_cast<std::size_t>(found - pts.cbegin());
        std::vector<Point> rest = remove_near_points(found + 1, pts.cend(), p, q);
        pts.resize(at + 1);
        pts[at] = x;
        pts.insert(pts.end(), rest.begin(), rest.end());
    }
    if (!(pts.back() == pts.front())) pts.push_back(pts.front());
    // The corner may have moved past the box: a later loop asks whether its corner lies in this outline,
    // and the box of the outline before the move would answer for a shape that is gone.
    ring.box_valid = false;
}

}  // namespace

std::vector<Point>::const_iterator find_near_point(std::vector<Point>::const_iterator first,
                                                   std::vector<Point>::const_iterator last, const Point& p,
                                                   const Point& q) {
    for (; first != last; ++first)
        if (near_either(*first, p, q)) return first;
    return last;
}

std::vector<Point> remove_near_points(std::vector<Point>::const_iterator first,
                                      std::vector<Point>::const_iterator last, const Point& p, const Point& q) {
    std::vector<Point> out;
    for (; first != last; ++first)
        if (!near_either(*first, p, q)) out.push_back(*first);
    return out;
}

void KsPolygonMakerBasin::modify_after() {
    try {
        for (std::size_t i = 0; i < polygons.size(); ++i) {
            if (polygons[i].rings.empty() || polygons[i].rings[0].points.empty()) continue;
            Ring& outline = polygons[i].rings[0];
            std::vector<Point>& s = outline.points;
            s.pop_back();
            const std::size_t n = s.size();
            std::set<std::size_t> removed;
            for (std::size_t k = 0; k < n; ++k) {
                const Point b = s[(k + 1) % n], c = s[(k + 2) % n];
                Point x;
                if (!segments_intersect(s[k % n], b, c, s[(k + 3) % n], x)) continue;
                int adjusted = 0;
                for (std::size_t f = 0; f < polygons.size() && adjusted < 2; ++f) {
                    if (f == i || polygons[f].rings.empty() || polygons[f].rings[0].points.empty()) continue;
                    Ring& neighbour = polygons[f].rings[0];
                    if (neighbour.locate_point(b) > 0 || neighbour.locate_point(c) > 0 || neighbour.locate_point(x) > 0) {
                        move_corner(neighbour, b, c, x);
                        ++adjusted;
                    }
                }
                s[(k + 1) % n] = x;
                removed.insert((k + 2) % n);
            }
            std::vector<Point> kept;
            kept.reserve(n + 1);
            for (std::size_t k = 0; k < n; ++k)
                if (!removed.count(k)) kept.push_back(s[k]);
            if (!kept.empty()) kept.push_back(kept.front());
            s = std::move(kept);
            outline.box_valid = false;
        }
    } catch (...) {
        throw std::string("Error. KsPolygonMakerBasin::modify_after()");
    }
    // An outline the loop step could not mend (a garbled link walked into it) is not written.
    refuse_invalid_polygons();
}

}  // namespace ostrand
