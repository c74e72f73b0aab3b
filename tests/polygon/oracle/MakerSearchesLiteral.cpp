// Literal forms of the makers' searches: every point against every mesh rectangle, every hole against
// every outer ring, every point against every point kept before it, every remaining chain for the next one,
// every stored link for a bridge.
#include <algorithm>
#include <cmath>

#include "polygon/core/KsPolygonMaker.h"
#include "polygon/core/MakerSearches.h"

namespace ostrand {

void KsPolygonMaker::apply_mesh_selection() {
    const bool rural = data_id() == 3 || data_id() == 4;
    for (auto it = area_links.begin(); it != area_links.end();) {
        bool selected = false;
        for (const std::vector<LinkRef>& list : it->second)
            for (const LinkRef& ref : list)
                for (const Point& p : links[ref].points)
                    for (const Ring& rect : mesh_rects)
                        if (rect.bbox().contains(p)) selected = true;
        if (!selected && rural) {
            std::vector<Point> outline;
            for (const std::vector<LinkRef>& list : it->second)
                for (const LinkRef& ref : list)
                    for (const Point& p : links[ref].points) outline.push_back(p);
            outline.erase(unique_within(outline.begin(), outline.end()), outline.end());
            if (outline.size() >= 4 && points_within(outline.back(), outline.front(), kPointTolerance))
                outline.pop_back();
            if (outline.size() >= 3) {
                const Ring ring(outline);
                for (const Ring& rect : mesh_rects)
                    if (ring.locate_point(rect.points.front()) >= 0) selected = true;
            }
        }
        if (selected) {
            selected_attrs.insert(it->first);
            ++it;
        } else {
            area_serials.erase(it->first);
            it = area_links.erase(it);
        }
    }
}

std::vector<std::vector<std::size_t>> nest_holes(const std::vector<const Ring*>& outers,
                                                 const std::vector<const Point*>& hole_points) {
    std::vector<std::vector<std::size_t>> holes_of(outers.size());
    std::vector<bool> alive(hole_points.size(), true);
    for (std::size_t o = 0; o < outers.size(); ++o)
        for (std::size_t h = 0; h < hole_points.size(); ++h)
            if (alive[h] && hole_points[h] && outers[o] && outers[o]->locate_point(*hole_points[h]) >= 0) {
                holes_of[o].push_back(h);
                alive[h] = false;
            }
    return holes_of;
}

void drop_repeated_points(std::vector<Point>& points) {
    std::vector<Point> kept;
    for (const Point& p : points)
        if (find_point_within(kept.begin(), kept.end(), p, kPointTolerance) == kept.end()) kept.push_back(p);
    points.swap(kept);
}

ChainPass::ChainPass(std::vector<std::vector<Point>> chains, double tolerance)
    : chains_(std::move(chains)), tolerance_(tolerance) {}

bool ChainPass::take_last(std::vector<Point>& cur) {
    if (chains_.empty()) return false;
    cur = std::move(chains_.back());
    chains_.pop_back();
    return true;
}

void ChainPass::grow(std::vector<Point>& cur) {
    for (;;) {
        auto it = std::find_if(chains_.begin(), chains_.end(), [&](const std::vector<Point>& c) {
            return points_within(c.front(), cur.back(), tolerance_) || points_within(c.back(), cur.back(), tolerance_);
        });
        if (it == chains_.end()) return;
        if (points_within(it->front(), cur.back(), tolerance_)) cur.insert(cur.end(), it->begin(), it->end());
        else cur.insert(cur.end(), it->rbegin(), it->rend());
        chains_.erase(it);
    }
}

BridgeSearch::BridgeSearch(const std::map<LinkRef, Ring>& links, double ends) : links_(links), ends_(ends) {}

std::vector<Point> BridgeSearch::find(const Point& a, const Point& b) const {
    auto near = [this](const Point& p, const Point& q) {
        const double dx = p.x - q.x, dy = p.y - q.y;
        return std::sqrt(dy * dy + dx * dx) < ends_;
    };
    for (const auto& entry : links_) {
        const std::vector<Point>& pts = entry.second.points;
        if (pts.size() <= 2) continue;
        if (near(pts.front(), a) && near(pts.back(), b)) return pts;
        if (near(pts.back(), a) && near(pts.front(), b)) return {pts.rbegin(), pts.rend()};
    }
    return {};
}

}  // namespace ostrand
