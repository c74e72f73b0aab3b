#include "polygon/core/MakerSearches.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <utility>

#include "polygon/core/BoxGrid.h"
#include "polygon/core/CleanerPointLocator.h"
#include "polygon/core/KsPolygonMaker.h"

namespace ostrand {

namespace {

// The cell of a coordinate, a monotone function of it; far, infinite and NaN values share the outermost
// cells, where the exact test still decides.
long long cell_number(double v, double width) {
    const double q = std::floor(v / width);
    if (!(q > -1e12)) return -1000000000000LL;
    return q < 1e12 ? static_cast<long long>(q) : 1000000000000LL;
}

bool touches_selected_mesh(KsPolygonMaker& maker, const std::vector<std::vector<LinkRef>>& lists,
                           const BoxGrid& rects) {
    for (const std::vector<LinkRef>& list : lists)
        for (const LinkRef& ref : list)
            for (const Point& p : maker.links[ref].points)
                if (rects.any_holds(p)) return true;
    return false;
}

// Only a corner inside the outline's box can be located inside the outline or on it.
bool outline_holds_mesh_corner(KsPolygonMaker& maker, const std::vector<std::vector<LinkRef>>& lists,
                               BoxGrid& corners) {
    std::vector<Point> outline;
    for (const std::vector<LinkRef>& list : lists)
        for (const LinkRef& ref : list) {
            const std::vector<Point>& pts = maker.links[ref].points;
            outline.insert(outline.end(), pts.begin(), pts.end());
        }
    unique_within(outline);
    if (outline.size() >= 4 && points_within(outline.back(), outline.front(), kPointTolerance)) outline.pop_back();
    if (outline.size() < 3) return false;
    const Ring ring(std::move(outline));
    for (std::size_t r : corners.overlapping(ring.bbox()))
        if (ring.locate_point(maker.mesh_rects[r].points.front()) >= 0) return true;
    return false;
}

}  // namespace

void KsPolygonMaker::apply_mesh_selection() {
    const bool rural = data_id() == 3 || data_id() == 4;
    std::vector<BBox> rect_boxes, corner_boxes;
    for (const Ring& r : mesh_rects) {
        rect_boxes.push_back(r.bbox());
        const Point& c = r.points.front();
        corner_boxes.push_back(BBox{c.x, c.y, c.x, c.y});
    }
    const BoxGrid rects(std::move(rect_boxes));
    BoxGrid corners(std::move(corner_boxes));
    for (auto it = area_links.begin(); it != area_links.end();) {
        const int attr_no = it->first;
        const bool selected = touches_selected_mesh(*this, it->second, rects) ||
                              (rural && outline_holds_mesh_corner(*this, it->second, corners));
        if (selected) {
            selected_attrs.insert(attr_no);
            ++it;
        } else {
            area_serials.erase(attr_no);
            it = area_links.erase(it);
        }
    }
}

std::vector<std::vector<std::size_t>> nest_holes(const std::vector<const Ring*>& outers,
                                                 const std::vector<const Point*>& hole_points) {
    std::vector<BBox> boxes;
    for (const Ring* r : outers) boxes.push_back(r ? r->bbox() : BBox{1, 1, 0, 0});
    BoxGrid index(std::move(boxes));
    // A long outer ring holding many holes is located against through an index of its edges.
    std::vector<std::unique_ptr<CleanerPointLocator>> locators(outers.size());
    std::vector<std::vector<std::size_t>> holes_of(outers.size());
    for (std::size_t h = 0; h < hole_points.size(); ++h) {
        if (!hole_points[h]) continue;
        const Point& p = *hole_points[h];
        for (std::size_t o : index.overlapping(BBox{p.x, p.y, p.x, p.y})) {
            if (!locators[o]) locators[o] = std::make_unique<CleanerPointLocator>(*outers[o]);
            if (locators[o]->locate(p) >= 0) {
                holes_of[o].push_back(h);
                break;
            }
        }
    }
    return holes_of;
}

namespace {

// Square cells twice as wide as the end tolerance: an end within it lies in the same or a neighbouring cell.
// Cells that share a key share their candidates, which the exact test sorts out.
unsigned long long end_cell(const Point& p, double width, int dx, int dy) {
    const auto cx = static_cast<unsigned long long>(cell_number(p.x, width) + dx);
    const auto cy = static_cast<unsigned long long>(cell_number(p.y, width) + dy);
    return cx * 0x9E3779B97F4A7C15ULL ^ cy;
}

double distance(const Point& a, const Point& b) {
    const double dx = a.x - b.x, dy = a.y - b.y;
    return std::sqrt(dy * dy + dx * dx);
}

}  // namespace

BridgeSearch::BridgeSearch(const std::map<LinkRef, Ring>& links, double ends) : links_(links), ends_(ends) {
    for (const auto& entry : links_) {
        const std::vector<Point>& pts = entry.second.points;
        if (pts.size() <= 2) continue;
        cells_[end_cell(pts.front(), 2 * ends_, 0, 0)].push_back(ordered_.size());
        cells_[end_cell(pts.back(), 2 * ends_, 0, 0)].push_back(ordered_.size());
        ordered_.push_back(&entry.second);
    }
}

std::vector<Point> BridgeSearch::find(const Point& a, const Point& b) const {
    // Either way round one end of the link lies near a.
    std::vector<std::size_t> candidates;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            const auto it = cells_.find(end_cell(a, 2 * ends_, dx, dy));
            if (it != cells_.end()) candidates.insert(candidates.end(), it->second.begin(), it->second.end());
        }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    for (std::size_t i : candidates) {
        const std::vector<Point>& pts = ordered_[i]->points;
        if (distance(pts.front(), a) < ends_ && distance(pts.back(), b) < ends_) return pts;
        if (distance(pts.back(), a) < ends_ && distance(pts.front(), b) < ends_) return {pts.rbegin(), pts.rend()};
    }
    return {};
}

namespace {

// Chain lists up to this length are searched chain by chain.
constexpr std::size_t kFewChains = 64;

}  // namespace

ChainPass::ChainPass(std::vector<std::vector<Point>> chains, double tolerance)
    : chains_(std::move(chains)), tolerance_(tolerance), taken_(chains_.size(), false), left_(chains_.size()) {
    if (chains_.size() <= kFewChains) return;
    for (std::size_t i = 0; i < chains_.size(); ++i) {
        if (chains_[i].empty()) continue;
        cells_[end_cell(chains_[i].front(), 2 * tolerance_, 0, 0)].push_back(i);
        cells_[end_cell(chains_[i].back(), 2 * tolerance_, 0, 0)].push_back(i);
    }
}

bool ChainPass::take_last(std::vector<Point>& cur) {
    while (left_ > 0 && taken_[left_ - 1]) --left_;
    if (left_ == 0) return false;
    --left_;
    taken_[left_] = true;
    cur = std::move(chains_[left_]);
    return true;
}

// The first chain still there with an end within the tolerance of `end`, or the number of chains.
std::size_t ChainPass::first_near(const Point& end) {
    auto near = [&](std::size_t i) {
        return !taken_[i] && !chains_[i].empty() &&
               (points_within(chains_[i].front(), end, tolerance_) || points_within(chains_[i].back(), end, tolerance_));
    };
    if (cells_.empty()) {
        for (std::size_t i = 0; i < chains_.size(); ++i)
            if (near(i)) return i;
        return chains_.size();
    }
    std::size_t best = chains_.size();
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            const auto it = cells_.find(end_cell(end, 2 * tolerance_, dx, dy));
            if (it == cells_.end()) continue;
            for (std::size_t i : it->second)
                if (i < best && near(i)) best = i;
        }
    return best;
}

void ChainPass::grow(std::vector<Point>& cur) {
    for (;;) {
        const std::size_t i = first_near(cur.back());
        if (i == chains_.size()) return;
        const std::vector<Point>& r = chains_[i];
        if (points_within(r.front(), cur.back(), tolerance_)) cur.insert(cur.end(), r.begin(), r.end());
        else cur.insert(cur.end(), r.rbegin(), r.rend());
        taken_[i] = true;
    }
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
        const long long cx = cell_number(p.x, kCell), cy = cell_number(p.y, kCell);
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

}  // namespace ostrand
