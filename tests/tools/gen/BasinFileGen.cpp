#include "tests/tools/gen/BasinFileGen.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "tests/tools/gen/AreaFileGen.h"

namespace velmora::datagen {

namespace {

const char* const kMesh = "533945";

struct Layout {
    const BasinGenOptions& o;
    int node_cols() const { return o.cols * o.cells + 1; }
    // Horizontal link from node (i, j) to (i + 1, j); vertical link from (i, j) to (i, j + 1).
    int horizontal(int i, int j) const { return 1 + j * (node_cols() - 1) + i; }
    int vertical(int i, int j) const { return 1 + (o.rows + 1) * (node_cols() - 1) + j * node_cols() + i; }
    double x(int i) const { return o.origin_x + i * o.cell_w_units; }
    double y(int j) const { return o.origin_y + j * o.cell_h_units; }
};

GenLink straight_link(int number, double ax, double ay, double bx, double by, const BasinGenOptions& o) {
    GenLink l{kMesh, number, {}};
    const int v = std::max(o.vertices_per_link, 2);
    const double dx = bx - ax, dy = by - ay;
    const double len = std::max(std::abs(dx), std::abs(dy));
    for (int k = 0; k < v; ++k) {
        const double t = static_cast<double>(k) / (v - 1);
        const double off = (k == 0 || k == v - 1) ? 0.0 : o.wiggle_units;
        l.xy.push_back({ax + dx * t + (len > 0 ? -dy / len : 0) * off, ay + dy * t + (len > 0 ? dx / len : 0) * off});
    }
    return l;
}

GenRef reference(int number, bool forward) { return GenRef{kMesh, forward ? number : -number, 0}; }

struct Catchment {
    long long attr_no = 0;
    int col = 0;
    std::vector<GenRef> outline;  // clockwise from the south-west corner
    std::vector<GenRef> inner;    // the links between its cells, each forward then backward
    std::vector<GenArea> areas;
    std::vector<int> all_links;   // outline and inner links, also one left out of the records
};

}  // namespace

std::string basin_ledger(long long attr_no, const std::string& code) {
    std::string ledger = ledger_lines(20, attr_no, 0).front();
    ledger.replace(17, 5, code);
    return ledger;
}

BasinGenResult generate_basin_files(const std::string& base, const BasinGenOptions& o) {
    BasinGenResult result;
    const Layout g{o};
    std::map<int, GenLink> links;
    for (int j = 0; j <= o.rows; ++j)
        for (int i = 0; i + 1 < g.node_cols(); ++i)
            links[g.horizontal(i, j)] = straight_link(g.horizontal(i, j), g.x(i), g.y(j), g.x(i + 1), g.y(j), o);
    for (int j = 0; j < o.rows; ++j)
        for (int i = 0; i < g.node_cols(); ++i)
            links[g.vertical(i, j)] = straight_link(g.vertical(i, j), g.x(i), g.y(j), g.x(i), g.y(j + 1), o);

    const int count = o.cols * o.rows;
    std::vector<Catchment> catchments;
    int serial = 0;
    for (int b = 0; b < o.rows; ++b)
        for (int a = 0; a < o.cols; ++a) {
            Catchment c;
            c.attr_no = static_cast<long long>(catchments.size()) + 1;
            c.col = a;
            const int i0 = a * o.cells, i1 = i0 + o.cells;
            c.outline.push_back(reference(g.vertical(i0, b), true));
            for (int i = i0; i < i1; ++i) c.outline.push_back(reference(g.horizontal(i, b + 1), true));
            c.outline.push_back(reference(g.vertical(i1, b), false));
            for (int i = i1 - 1; i >= i0; --i) c.outline.push_back(reference(g.horizontal(i, b), false));
            for (int i = i0 + 1; i < i1; ++i) {
                c.inner.push_back(reference(g.vertical(i, b), true));
                c.inner.push_back(reference(g.vertical(i, b), false));
            }

            for (const GenRef& r : c.outline) c.all_links.push_back(r.number < 0 ? -r.number : r.number);
            for (const GenRef& r : c.inner) c.all_links.push_back(r.number < 0 ? -r.number : r.number);
            const int index = static_cast<int>(catchments.size());
            BasinGenCatchment info;
            info.attr_no = c.attr_no;
            info.code = o.codes.empty() ? "81001" : o.codes[static_cast<std::size_t>(index) % o.codes.size()];
            info.area_degrees = (o.cells * o.cell_w_units / 36000.0) * (o.cell_h_units / 36000.0);
            if (index < o.omitted_links) {
                // The first top link. The next outline link starts nearest to where the gap begins (cells are
                // narrower than tall), and so does the inner link walked back, which the start-point check
                // then leaves out: the gap stays one straight edge that bridging fills.
                c.outline.erase(c.outline.begin() + 1);
                info.omitted_link = true;
            }
            std::vector<GenRef> stray;
            if (index >= count - o.stray_links) {
                // The first bottom link of the catchment diagonally across the grid.
                const int far_a = o.cols - 1 - a, far_b = o.rows - 1 - b;
                const int far_link = g.horizontal(far_a * o.cells, far_b);
                stray = {reference(far_link, true), reference(far_link, false)};
                info.stray_link = true;
            }

            const int pieces = std::clamp(o.area_records, 1, static_cast<int>(c.outline.size()));
            const std::size_t per = (c.outline.size() + pieces - 1) / pieces;
            for (std::size_t at = 0; at < c.outline.size(); at += per) {
                GenArea area{++serial, c.attr_no, {}};
                const std::size_t end = std::min(c.outline.size(), at + per);
                area.refs.assign(c.outline.begin() + static_cast<std::ptrdiff_t>(at),
                                 c.outline.begin() + static_cast<std::ptrdiff_t>(end));
                c.areas.push_back(std::move(area));
            }
            if (!c.inner.empty()) c.areas.push_back(GenArea{++serial, c.attr_no, c.inner});
            if (!stray.empty()) c.areas.push_back(GenArea{++serial, c.attr_no, stray});

            result.ledgers[c.attr_no] = basin_ledger(c.attr_no, info.code);
            result.catchments[c.attr_no] = info;
            catchments.push_back(std::move(c));
        }

    const int files = std::clamp(o.files, 1, std::max(o.cols, 1));
    const std::string code = area_data_code(20);
    for (int f = 0; f < files; ++f) {
        const int col0 = f * o.cols / files, col1 = (f + 1) * o.cols / files;
        std::set<int> used;
        std::vector<std::string> node_part, link_part, area_part, ledger_part;
        for (const Catchment& c : catchments) {
            if (c.col < col0 || c.col >= col1) continue;
            for (const GenArea& a : c.areas) {
                for (std::string& s : area_lines(a)) area_part.push_back(std::move(s));
                // A stray reference names a link of a catchment that may lie in another file.
                for (const GenRef& r : a.refs) used.insert(r.number < 0 ? -r.number : r.number);
            }
            ledger_part.push_back(result.ledgers[c.attr_no]);
        }
        // Every link around the catchments' cells is in the file, also those their records leave out.
        for (const Catchment& c : catchments)
            if (c.col >= col0 && c.col < col1) used.insert(c.all_links.begin(), c.all_links.end());
        std::set<std::pair<double, double>> nodes;
        for (int n : used) {
            const GenLink& l = links[n];
            for (const auto& end : {l.xy.front(), l.xy.back()})
                if (nodes.insert(end).second)
                    node_part.push_back(node_line(kMesh, static_cast<int>(nodes.size()), end.first, end.second));
            for (std::string& s : link_lines(l)) link_part.push_back(std::move(s));
        }
        const std::string path = files == 1 ? base + ".txt" : base + "_" + std::to_string(f + 1) + ".txt";
        write_area_file(path, code, node_part, link_part, area_part, ledger_part);
        result.files.push_back(path);
    }
    return result;
}

}  // namespace velmora::datagen
