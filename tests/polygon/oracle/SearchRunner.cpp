// Runs every indexed search of the polygon library on many random inputs full of ties (equal boxes, equal
// distances, shared end points, points exactly a tolerance apart) and prints what each finds. Built twice,
// like the job runner: once with the library's indexed searches and once with their literal forms, so
// that a test can require the two printouts to be equal. Usage: polygon_search_<kind> [cases per search].
#include <cinttypes>
#include <iterator>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <random>
#include <vector>

#include "polygon/core/BoxGrid.h"
#include "polygon/core/CleanerPairs.h"
#include "polygon/core/CleanerPointLocator.h"
#include "polygon/core/CleanerRing.h"
#include "polygon/core/CleanerSegmentIndex.h"
#include "polygon/core/CleanerVertexSearch.h"
#include "polygon/core/Geometry.h"
#include "polygon/core/MakerSearches.h"
#include "polygon/core/SimpleRings.h"

using namespace ostrand;

namespace {

std::mt19937 rng(20);

int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
bool chance(int percent) { return pick(1, 100) <= percent; }

void print_point(const Point& p) { std::printf(" %a,%a", p.x, p.y); }

void print_points(const std::vector<Point>& pts) {
    std::printf(" [%zu", pts.size());
    for (const Point& p : pts) print_point(p);
    std::printf("]");
}

void print_indices(const std::vector<std::size_t>& v) {
    std::printf(" {");
    for (std::size_t i : v) std::printf(" %zu", i);
    std::printf(" }");
}

// A point of a coarse lattice, so that points, box edges and distances repeat.
Point lattice(int n, double step) { return {pick(0, n) * step, pick(0, n) * step}; }

// Boxes on a lattice (shared edges, equal boxes), some wide, a few inverted or with a NaN; queries alike.
void box_grid_case(int c) {
    const int n = chance(50) ? pick(1, 20) : pick(100, 600);
    std::vector<BBox> boxes;
    for (int i = 0; i < n; ++i) {
        if (!boxes.empty() && chance(10)) {
            boxes.push_back(boxes[static_cast<std::size_t>(pick(0, static_cast<int>(boxes.size()) - 1))]);
            continue;
        }
        const Point a = lattice(40, 0.25);
        const double w = chance(5) ? pick(20, 40) * 0.25 : pick(0, 3) * 0.25, h = pick(0, 3) * 0.25;
        BBox b{a.x, a.y, a.x + w, a.y + h};
        if (chance(2)) std::swap(b.xmin, b.xmax);
        if (chance(1)) b.ymax = std::numeric_limits<double>::quiet_NaN();
        boxes.push_back(b);
    }
    BoxGrid grid(boxes);
    std::printf("boxgrid %d", c);
    for (int q = 0; q < 30; ++q) {
        const Point a = lattice(44, 0.25);
        BBox box{a.x, a.y, a.x + pick(0, 4) * 0.25, a.y + pick(0, 4) * 0.25};
        if (chance(5)) std::swap(box.xmin, box.xmax);
        print_indices(grid.overlapping(box));
        std::printf(" %d", grid.any_holds(a) ? 1 : 0);
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) print_indices(grid.overlapping_after(i));
    std::printf("\n");
}

// Points 0, 1e-7, 2e-7 ... apart around a few centres, also across cell edges of any width.
void repeated_points_case(int c) {
    std::vector<Point> pts;
    const int n = pick(1, 400);
    for (int i = 0; i < n; ++i) {
        const Point centre = lattice(3, 1e-6);
        pts.push_back({centre.x + pick(-3, 3) * 0.5e-7, centre.y + pick(-3, 3) * 0.5e-7});
    }
    drop_repeated_points(pts);
    std::printf("repeated %d", c);
    print_points(pts);
    std::printf("\n");
}

// Rectangles that overlap and repeat, some missing; hole points on their corners, edges and insides.
void nesting_case(int c) {
    std::vector<Ring> rings;
    const int n = chance(50) ? pick(1, 10) : pick(40, 200);
    for (int i = 0; i < n; ++i) {
        const Point a = lattice(20, 1);
        const double w = pick(1, 4), h = pick(1, 4);
        std::vector<Point> pts{a, {a.x, a.y + h}, {a.x + w, a.y + h}, {a.x + w, a.y}, a};
        if (chance(10)) {  // a long outline, so that its point location goes through an index
            pts.clear();
            for (int k = 0; k <= 100; ++k) pts.push_back({a.x + w * k / 100.0, a.y + (k % 2) * 0.5});
            pts.push_back({a.x + w, a.y + h});
            pts.push_back({a.x, a.y + h});
            pts.push_back(pts.front());
        }
        rings.emplace_back(pts);
    }
    std::vector<const Ring*> outers;
    for (const Ring& r : rings) outers.push_back(chance(5) ? nullptr : &r);
    std::vector<Point> points;
    for (int i = 0; i < 300; ++i) points.push_back({pick(0, 48) * 0.5, pick(0, 48) * 0.5});
    std::vector<const Point*> holes;
    for (const Point& p : points) holes.push_back(chance(5) ? nullptr : &p);
    std::printf("nesting %d", c);
    for (const std::vector<std::size_t>& of : nest_holes(outers, holes)) print_indices(of);
    std::printf("\n");
}

// Chains whose ends lie on a few lattice points or a tolerance's fraction off them, so that several
// remaining chains are near the growing chain's end at once, some exactly at the tolerance.
void chain_pass_case(int c) {
    const double tolerance = 1e-3;
    const int n = chance(30) ? pick(1, 64) : pick(65, 300);
    std::vector<std::vector<Point>> chains;
    auto end = [&] {
        const Point p = lattice(6, 4e-3);
        const double off[] = {0, 0, 0, 0.5e-3, -0.5e-3, 1e-3, -1e-3, 1.5e-3};
        return Point{p.x + off[pick(0, 7)], p.y + off[pick(0, 7)]};
    };
    for (int i = 0; i < n; ++i) {
        std::vector<Point> chain{end()};
        for (int k = pick(0, 2); k > 0; --k) chain.push_back(lattice(100, 1e-4));
        chain.push_back(end());
        if (chance(3)) chain.clear();
        chains.push_back(chain);
    }
    std::vector<std::vector<Point>> kept;
    for (std::vector<Point>& ch : chains)
        if (!ch.empty()) kept.push_back(ch);
    ChainPass pass(kept, tolerance);
    std::printf("chains %d", c);
    std::vector<Point> cur;
    while (pass.take_last(cur)) {
        if (!cur.empty()) pass.grow(cur);
        print_points(cur);
    }
    std::printf("\n");
}

// Links whose ends lie on or near a few points, under keys in every order; bridges asked between them.
void bridge_case(int c) {
    const double ends = 1e-4;
    std::map<LinkRef, Ring> links;
    const int n = chance(30) ? pick(1, 10) : pick(20, 300);
    auto end = [&] {
        const Point p = lattice(4, 3e-4);
        const double off[] = {0, 0, 0.5e-4, -0.5e-4, 1e-4, 0.99e-4};
        return Point{p.x + off[pick(0, 5)], p.y + off[pick(0, 5)]};
    };
    for (int i = 0; i < n; ++i) {
        std::vector<Point> pts{end()};
        for (int k = pick(0, 3); k > 0; --k) pts.push_back(lattice(100, 1e-5));
        pts.push_back(end());
        const char* meshes[] = {"533945", "533946", "523945", "xxxxxx"};
        links[LinkRef{meshes[pick(0, 3)], pick(1, 50), true}] = Ring(pts);
    }
    BridgeSearch search(links, ends);
    std::printf("bridges %d", c);
    for (int q = 0; q < 40; ++q) {
        // Mostly the ends of a stored link (either way round, nudged), which other links share.
        auto it = links.begin();
        std::advance(it, pick(0, static_cast<int>(links.size()) - 1));
        const std::vector<Point>& pts = it->second.points;
        Point a = pts.front(), b = pts.back();
        if (chance(50)) std::swap(a, b);
        a.x += pick(-1, 1) * 0.5e-4;
        if (chance(20)) b = end();
        print_points(search.find(a, b));
    }
    std::printf("\n");
}

// Rings on a small lattice walked with repeats, spikes and signed zeros, open and closed.
void simple_rings_case(int c) {
    std::vector<Ring> rings;
    for (int r = pick(1, 4); r > 0; --r) {
        std::vector<Point> pts;
        const int n = chance(50) ? pick(3, 30) : pick(33, 200);
        for (int i = 0; i < n; ++i) {
            Point p = lattice(chance(50) ? 3 : 50, 1);
            if (p.x == 0 && chance(50)) p.x = -0.0;
            pts.push_back(p);
        }
        if (chance(70)) pts.push_back(pts.front());
        rings.emplace_back(pts);
    }
    std::printf("simple %d", c);
    for (const Ring& r : simple_rings(rings)) print_points(r.points);
    std::printf("\n");
}

// A long closed outline of axis-parallel steps, whose vertices and edges points of a half lattice meet.
std::vector<Point> long_outline() {
    std::vector<Point> pts{{0, 0}};
    for (int x = 0; x < 96; ++x) pts.push_back({x * 0.125, pick(16, 24) * 0.5});
    pts.push_back({12, 12});
    pts.push_back({12, 0});
    return pts;
}

// A walk on a small lattice: repeated vertices, loops of equal area, collinear and overlapping segments.
std::vector<Point> lattice_walk(int lo, int hi, int side) {
    std::vector<Point> pts;
    for (int i = pick(lo, hi); i > 0; --i) pts.push_back(lattice(side, 1));
    return pts;
}

// The cleaner's own searches: loops cut off a ring, equal vertices of two rings, segments overlapping
// a box, segment pairs of two rings, ring pairs by box, point location on long rings.
void cleaner_case(int c) {
    std::printf("cleaner %d", c);
    std::vector<CleanerRing> loops;
    CleanerRing(lattice_walk(3, chance(50) ? 20 : 150, 4)).split_self_intersections(loops);
    for (const CleanerRing& r : loops) print_points(r.points);

    const std::vector<Point> a = lattice_walk(3, 150, 12), b = lattice_walk(3, 150, 12);
    std::size_t p = 0, q = 0;
    if (find_first_loop(a, p, q)) std::printf(" loop %zu %zu", p, q);
    std::vector<int> which, equal;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (chance(50)) which.push_back(static_cast<int>(i));
    first_equal_vertices(a, which, b, equal);
    for (int e : equal) std::printf(" %d", e);

    const CleanerSegmentIndex index(a);
    for (int k = 0; k < 10; ++k) {
        const Point corner = lattice(12, 1);
        std::vector<int> found;
        index.overlaps(BBox{corner.x, corner.y, corner.x + pick(0, 3), corner.y + pick(0, 3)},
                       pick(0, static_cast<int>(a.size())), found);
        std::printf(" {");
        for (int f : found) std::printf(" %d", f);
        std::printf(" }");
    }
    for (const auto& [sa, sb] : overlapping_segment_pairs(a, index, b)) std::printf(" %d:%d", sa, sb);

    std::vector<CleanerRing> rings;
    for (int r = chance(50) ? pick(1, 32) : pick(33, 120); r > 0; --r) {
        const Point corner = lattice(30, 1);
        rings.emplace_back(std::vector<Point>{corner, {corner.x, corner.y + pick(0, 3)},
                                              {corner.x + pick(0, 3), corner.y + 1}});
    }
    const RingsAfter after(rings);
    for (std::size_t i = 0; i < rings.size(); ++i) {
        std::printf(" [");
        for (std::size_t k : after.rings_after(i))
            if (boxes_overlap(rings[i].bbox(), rings[k].bbox())) std::printf(" %zu", k);
        std::printf(" ]");
    }

    std::vector<Point> outline = lattice_walk(3, 300, 12);
    if (chance(50)) outline = long_outline();
    const Ring ring(outline);
    CleanerPointLocator locator(ring);
    for (int k = 0; k < 100; ++k) std::printf(" %d", locator.locate({pick(-2, 26) * 0.5, pick(-2, 26) * 0.5}));
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    const int cases = argc > 1 ? std::atoi(argv[1]) : 200;
    for (int c = 0; c < cases; ++c) {
        box_grid_case(c);
        repeated_points_case(c);
        nesting_case(c);
        chain_pass_case(c);
        bridge_case(c);
        simple_rings_case(c);
        cleaner_case(c);
    }
    return 0;
}
