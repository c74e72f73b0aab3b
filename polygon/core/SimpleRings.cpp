#include "polygon/core/SimpleRings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "polygon/core/CleanerRing.h"
#include "polygon/core/WrittenRings.h"

namespace ostrand {

namespace {

void add_loop(std::vector<Point> loop, std::vector<Ring>& out) {
    if (loop.size() < 3) return;
    loop.push_back(loop.front());
    out.emplace_back(std::move(loop));
}

// Walks the ring keeping the path since the last cut; a point already on the path closes the loop from
// its first visit, which is cut off, and the walk goes on from that vertex.
void append_loops(const Ring& ring, std::size_t n, std::vector<Ring>& out) {
    std::vector<Ring> loops;
    std::vector<Point> path;
    std::unordered_map<Point, std::size_t, ExactPointHash> on_path;
    for (std::size_t i = 0; i < n; ++i) {
        const Point& p = ring.points[i];
        const auto found = on_path.find(p);
        if (found == on_path.end()) {
            on_path.emplace(p, path.size());
            path.push_back(p);
            continue;
        }
        const std::size_t k = found->second;
        for (std::size_t j = k + 1; j < path.size(); ++j) on_path.erase(path[j]);
        add_loop(std::vector<Point>(path.begin() + static_cast<std::ptrdiff_t>(k), path.end()), loops);
        path.resize(k + 1);
    }
    const std::size_t before = out.size();
    add_loop(std::move(path), out);
    for (Ring& loop : loops) out.push_back(std::move(loop));
    if (out.size() == before) out.push_back(ring);
}

}  // namespace

std::vector<Ring> simple_rings(const std::vector<Ring>& rings) {
    std::vector<Ring> out;
    out.reserve(rings.size());
    for (const Ring& ring : rings) {
        const std::size_t n = open_size(ring.points);
        if (repeats_a_vertex(ring.points, n))
            append_loops(ring, n, out);
        else
            out.push_back(ring);
    }
    return out;
}

}  // namespace ostrand
