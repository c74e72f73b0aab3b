#include "polygon/core/SimpleRings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "polygon/core/CleanerRing.h"

namespace ostrand {

namespace {

// Below this many points a ring is checked for a repeated vertex pair by pair.
constexpr std::size_t kPairwiseLimit = 32;

// Points of a ring without its closing point.
std::size_t open_size(const std::vector<Point>& pts) {
    return pts.size() >= 2 && pts.back() == pts.front() ? pts.size() - 1 : pts.size();
}

// A point's coordinates as bits, equal exactly when Point::operator== holds (-0.0 is written as 0.0).
std::pair<std::uint64_t, std::uint64_t> bits_of(const Point& p) {
    const double x = p.x + 0.0, y = p.y + 0.0;
    std::pair<std::uint64_t, std::uint64_t> b;
    std::memcpy(&b.first, &x, sizeof x);
    std::memcpy(&b.second, &y, sizeof y);
    return b;
}

bool has_repeated_vertex(const std::vector<Point>& pts, std::size_t n) {
    if (n <= kPairwiseLimit) {
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = i + 1; j < n; ++j)
                if (pts[i] == pts[j]) return true;
        return false;
    }
    // Nearly every ring written is simple, so the check must be cheap: an open-addressing table of point
    // indices, kept between calls.
    thread_local std::vector<std::uint32_t> table;
    std::size_t size = 64;
    while (size < 2 * n) size *= 2;
    table.assign(size, 0);  // 0: empty, else index + 1
    for (std::size_t i = 0; i < n; ++i) {
        if (std::isnan(pts[i].x) || std::isnan(pts[i].y)) continue;  // equal to nothing
        const auto [bx, by] = bits_of(pts[i]);
        std::size_t slot = static_cast<std::size_t>((bx * 0x9E3779B97F4A7C15ULL) ^ (by * 0xC2B2AE3D27D4EB4FULL) ^
                                                    ((bx ^ by) >> 29)) & (size - 1);
        while (table[slot] != 0) {
            if (pts[table[slot] - 1] == pts[i]) return true;
            slot = (slot + 1) & (size - 1);
        }
        table[slot] = static_cast<std::uint32_t>(i + 1);
    }
    return false;
}

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
        if (has_repeated_vertex(ring.points, n))
            append_loops(ring, n, out);
        else
            out.push_back(ring);
    }
    return out;
}

}  // namespace ostrand
