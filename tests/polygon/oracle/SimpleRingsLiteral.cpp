// Literal form of the writer's cut of rings into simple loops: every vertex looked for along the whole
// path walked so far.
#include "polygon/core/SimpleRings.h"

namespace ostrand {

namespace {

void add_loop(std::vector<Point> loop, std::vector<Ring>& out) {
    if (loop.size() < 3) return;
    loop.push_back(loop.front());
    out.emplace_back(std::move(loop));
}

}  // namespace

std::vector<Ring> simple_rings(const std::vector<Ring>& rings) {
    std::vector<Ring> out;
    for (const Ring& ring : rings) {
        const std::vector<Point>& pts = ring.points;
        std::size_t n = pts.size();
        if (n >= 2 && pts.back() == pts.front()) --n;
        std::vector<Point> path;
        std::vector<Ring> loops;
        bool repeated = false;
        for (std::size_t i = 0; i < n; ++i) {
            std::size_t k = 0;
            while (k < path.size() && !(path[k] == pts[i])) ++k;
            if (k == path.size()) {
                path.push_back(pts[i]);
                continue;
            }
            repeated = true;
            add_loop(std::vector<Point>(path.begin() + static_cast<long>(k), path.end()), loops);
            path.resize(k + 1);
        }
        if (!repeated) {
            out.push_back(ring);
            continue;
        }
        const std::size_t before = out.size();
        add_loop(path, out);
        for (Ring& loop : loops) out.push_back(loop);
        if (out.size() == before) out.push_back(ring);
    }
    return out;
}

}  // namespace ostrand
