#include "platform/map/BoxIndex.h"

#include <algorithm>
#include <cmath>

namespace velmora::map {

void BoxIndex::build(const std::vector<MapRect>& boxes) {
    ids_.clear();
    levels_.clear();
    for (std::uint32_t i = 0; i < boxes.size(); ++i)
        if (!boxes[i].isEmpty()) ids_.push_back(i);
    if (ids_.empty()) return;
    auto cx = [&](std::uint32_t i) { return boxes[i].left + boxes[i].right; };
    auto cy = [&](std::uint32_t i) { return boxes[i].bottom + boxes[i].top; };
    // Sort-tile-recursive: vertical slices by x, each slice by y, so that each leaf holds neighbours.
    const std::size_t leaves = (ids_.size() + Fanout - 1) / Fanout;
    const std::size_t slices = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(leaves))));
    const std::size_t perSlice = slices * Fanout;
    std::stable_sort(ids_.begin(), ids_.end(), [&](std::uint32_t a, std::uint32_t b) { return cx(a) < cx(b); });
    for (std::size_t s = 0; s < ids_.size(); s += perSlice) {
        auto end = ids_.begin() + static_cast<std::ptrdiff_t>(std::min(ids_.size(), s + perSlice));
        std::stable_sort(ids_.begin() + static_cast<std::ptrdiff_t>(s), end,
                         [&](std::uint32_t a, std::uint32_t b) { return cy(a) < cy(b); });
    }
    std::vector<MapRect> level;
    for (std::size_t g = 0; g < ids_.size(); g += Fanout) {
        MapRect r;
        for (std::size_t k = g; k < std::min(ids_.size(), g + Fanout); ++k) r.unite(boxes[ids_[k]]);
        level.push_back(r);
    }
    levels_.push_back(std::move(level));
    while (levels_.back().size() > 1) {
        const auto& below = levels_.back();
        std::vector<MapRect> up;
        for (std::size_t g = 0; g < below.size(); g += Fanout) {
            MapRect r;
            for (std::size_t k = g; k < std::min(below.size(), g + Fanout); ++k) r.unite(below[k]);
            up.push_back(r);
        }
        levels_.push_back(std::move(up));
    }
}

template <class Visit>
void BoxIndex::visit(const MapRect& query, const std::vector<MapRect>& boxes, Visit&& onHit) const {
    if (levels_.empty() || query.isEmpty()) return;
    struct Entry {
        std::size_t level;
        std::size_t index;
    };
    std::vector<Entry> stack;
    const std::size_t top = levels_.size() - 1;
    for (std::size_t i = 0; i < levels_[top].size(); ++i) stack.push_back({top, i});
    while (!stack.empty()) {
        const Entry e = stack.back();
        stack.pop_back();
        if (!levels_[e.level][e.index].intersects(query)) continue;
        const std::size_t first = e.index * Fanout;
        if (e.level == 0) {
            const std::size_t last = std::min(ids_.size(), first + Fanout);
            for (std::size_t k = first; k < last; ++k)
                if (boxes[ids_[k]].intersects(query)) onHit(ids_[k]);
        } else {
            const std::size_t last = std::min(levels_[e.level - 1].size(), first + Fanout);
            for (std::size_t k = first; k < last; ++k) stack.push_back({e.level - 1, k});
        }
    }
}

std::vector<std::uint32_t> BoxIndex::find(const MapRect& query, const std::vector<MapRect>& boxes) const {
    std::vector<std::uint32_t> hits;
    visit(query, boxes, [&](std::uint32_t id) { hits.push_back(id); });
    // Many hits: a pass over marks puts them in order faster than a sort.
    if (hits.size() > boxes.size() / 32) {
        std::vector<std::uint8_t> marks(boxes.size(), 0);
        for (auto id : hits) marks[id] = 1;
        hits.clear();
        for (std::uint32_t i = 0; i < marks.size(); ++i)
            if (marks[i]) hits.push_back(i);
    } else {
        std::sort(hits.begin(), hits.end());
    }
    return hits;
}

std::size_t BoxIndex::memoryBytes() const {
    std::size_t n = ids_.capacity() * sizeof(std::uint32_t);
    for (const auto& l : levels_) n += l.capacity() * sizeof(MapRect);
    return n;
}

}  // namespace velmora::map
