// Kept apart from SimpleRings.cpp, whose cut the oracle tests replace by its literal form.
#include "polygon/core/WrittenRings.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "polygon/core/SimpleRings.h"

namespace ostrand {

namespace {

// Below this many points a ring is checked for a repeated vertex pair by pair.
constexpr std::size_t kPairwiseLimit = 32;

// A point's coordinates as bits, equal exactly when Point::operator== holds (-0.0 is written as 0.0).
std::pair<std::uint64_t, std::uint64_t> bits_of(const Point& p) {
    const double x = p.x + 0.0, y = p.y + 0.0;
    std::pair<std::uint64_t, std::uint64_t> b;
    std::memcpy(&b.first, &x, sizeof x);
    std::memcpy(&b.second, &y, sizeof y);
    return b;
}

}  // namespace

bool repeats_a_vertex(const std::vector<Point>& pts, std::size_t n) {
    if (n <= kPairwiseLimit) {
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = i + 1; j < n; ++j)
                if (pts[i] == pts[j]) return true;
        return false;
    }
    // Nearly every ring written is simple, so the check must be cheap: an open-addressing table of point
    // indices, the call's own (ParallelIndices.h: no thread_local state in per-polygon work).
    std::vector<std::uint32_t> table;
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

std::size_t open_size(const std::vector<Point>& pts) {
    return pts.size() >= 2 && pts.back() == pts.front() ? pts.size() - 1 : pts.size();
}

const std::vector<Ring>& written_rings(const std::vector<Ring>& rings, std::vector<Ring>& loops) {
    for (const Ring& ring : rings)
        if (repeats_a_vertex(ring.points, open_size(ring.points))) {
            loops = simple_rings(rings);
            return loops;
        }
    return rings;
}

}  // namespace ostrand
