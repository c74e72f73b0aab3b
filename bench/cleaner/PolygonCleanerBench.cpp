// Median time of cleaning polygons shaped like large coastal municipalities: one long wavy outline,
// small rings inside it (lakes) and off it (islands), at several outline sizes and numbers of rings.
// Usage: bench_polygon_cleaner [runs]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "polygon/core/PolygonCleaner.h"

namespace {

using ostrand::AreaPolygon;
using ostrand::Point;

std::vector<Point> wavy_circle(double cx, double cy, double r, double wave, int waves, int n, bool clockwise) {
    std::vector<Point> pts;
    for (int i = 0; i < n; ++i) {
        const double t = 2 * M_PI * i / n * (clockwise ? -1 : 1);
        const double rr = r * (1 + wave * std::sin(t * waves));
        pts.push_back({cx + rr * std::cos(t), cy + rr * std::sin(t)});
    }
    pts.push_back(pts.front());
    return pts;
}

AreaPolygon coastal_polygon(int outline_points, int rings) {
    AreaPolygon p;
    p.rings.emplace_back(wavy_circle(135, 35, 1, 0.01, 300, outline_points, true));
    for (int k = 0; k < rings; ++k) {  // islets and lakes inside, islands outside, on a spiral apart
        const double a = k * 2.39996, f = std::sqrt((k + 0.5) / rings);
        const double d = (k % 3 == 0) ? 1.05 + 0.5 * f : 0.1 + 0.8 * f;
        p.rings.emplace_back(wavy_circle(135 + d * std::cos(a), 35 + d * std::sin(a), 0.004, 0.05, 7, 400, k % 2));
    }
    return p;
}

double median_seconds(const AreaPolygon& polygon, int runs) {
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        ostrand::PolygonCleaner cleaner(polygon);
        const bool ok = cleaner.clean(ostrand::kPointTolerance);
        const auto t1 = std::chrono::steady_clock::now();
        if (!ok) std::fprintf(stderr, "clean failed\n");
        times.push_back(std::chrono::duration<double>(t1 - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    for (const auto& [n, rings] : {std::pair{10000, 150}, {100000, 150}, {400000, 150}, {400000, 5000}}) {
        const AreaPolygon polygon = coastal_polygon(n, rings);
        std::printf("outline %7d points + %4d rings of 400: median %.3f s over %d runs\n", n, rings,
                    median_seconds(polygon, runs), runs);
    }
    return 0;
}
