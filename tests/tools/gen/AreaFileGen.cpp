#include "tests/tools/gen/AreaFileGen.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/LineWriter.h"

namespace velmora::datagen {

std::string fmt_int(long long v, int width) {
    std::string s = std::to_string(v);
    if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), ' ');
    return s;
}

std::string fmt_coord(double units) {
    const double whole = std::round(units);
    if (units == whole) return fmt_int(static_cast<long long>(whole), 8);
    const int int_digits = static_cast<int>(std::to_string(static_cast<long long>(std::fabs(units))).size());
    const int decimals = 8 - int_digits - 1 - (units < 0 ? 1 : 0);
    if (decimals <= 0) return fmt_int(static_cast<long long>(whole), 8);
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(units * scale) / scale;
    std::string s = text::formatNumber(rounded);
    if (s.size() > 8) s = text::formatNumber(whole);
    return std::string(8 - std::min<std::size_t>(8, s.size()), ' ') + s;
}

std::string header_line(const std::string& data_code, long long record_lines) {
    std::string code = data_code;
    code.resize(10, ' ');
    return "H  " + std::string(10, ' ') + code + "  " + "2006" + "   1" + fmt_int(record_lines, 8);
}

std::string counts_line(long long total, long long node_lines, long long link_lines, long long area_lines,
                        long long ledger_lines) {
    return fmt_int(total, 8) + fmt_int(node_lines, 8) + fmt_int(link_lines, 8) + fmt_int(area_lines, 8) +
           fmt_int(0, 8) + fmt_int(0, 8) + fmt_int(ledger_lines, 8);
}

std::string node_line(const std::string& mesh, int serial, double x, double y) {
    return "N  " + mesh + fmt_int(serial, 6) + fmt_coord(x) + fmt_coord(y) + " 0" + std::string(10, ' ') + "  2" +
           " 0" + std::string(12, ' ');
}

std::vector<std::string> link_lines(const GenLink& link) {
    const GenLink& l = link;
    std::vector<std::string> out;
    const std::string ends = l.mesh + fmt_int(l.number, 6) + l.mesh + fmt_int(l.number, 6);
    out.push_back("L  " + ends + fmt_int(l.number, 6) + " 0" + std::string(10, ' ') +
                  fmt_int(static_cast<long long>(l.xy.size()), 6));
    std::string line;
    for (std::size_t i = 0; i < l.xy.size(); ++i) {
        line += fmt_coord(l.xy[i].first) + fmt_coord(l.xy[i].second);
        if (i % 5 == 4 || i + 1 == l.xy.size()) {
            out.push_back(line);
            line.clear();
        }
    }
    return out;
}

std::vector<std::string> area_lines(const GenArea& area) {
    std::vector<std::string> out;
    out.push_back("A  " + std::string("000000") + fmt_int(0, 8) + fmt_int(0, 8) + fmt_int(area.serial, 8) + " 1" +
                  fmt_int(area.attr_no, 10) + fmt_int(static_cast<long long>(area.refs.size()), 6));
    std::string line;
    for (std::size_t i = 0; i < area.refs.size(); ++i) {
        const GenRef& r = area.refs[i];
        line += r.mesh + fmt_int(r.number, 6) + fmt_int(r.code, 2);
        if (i % 5 == 4 || i + 1 == area.refs.size()) {
            out.push_back(line);
            line.clear();
        }
    }
    return out;
}

namespace {

void place(std::string& text, std::size_t pos, const std::string& value) {
    if (text.size() < pos + value.size()) text.resize(pos + value.size(), ' ');
    text.replace(pos, value.size(), value);
}

std::string padded_cp932(const char* utf8, std::size_t width) {
    std::string s = text::toCp932(utf8);
    s.resize(width, ' ');
    return s;
}

}  // namespace

std::vector<std::string> ledger_lines(int data_id, long long attr_no, int flag) {
    std::string t = "DA " + fmt_int(attr_no, 10) + "  1";
    const long long a = attr_no;
    std::size_t first_line = 0;  // bytes of the first line when the record spans two lines
    switch (data_id) {
    case 0: case 1: case 2:
        place(t, 16, fmt_int(13101 + a % 100, 5));
        place(t, 21, fmt_int(a % 10000, 4));
        place(t, 25, fmt_int(flag, 1));
        break;
    case 3: case 4:
        place(t, 16, fmt_int(flag, 1));
        break;
    case 5:
        place(t, 16, fmt_int(1000 + a % 90000, 5));
        place(t, 21, fmt_int(flag, 1));
        break;
    case 6:
        place(t, 16, fmt_int(14100 + a % 100, 5));
        place(t, 21, fmt_int(100000 + a % 900000, 6));
        break;
    case 7:
        place(t, 16, fmt_int(1 + a % 47, 2));
        place(t, 18, "19900401");
        place(t, 26, padded_cp932("リゾート構想", 50));
        place(t, 76, padded_cp932("高原地区", 50));
        place(t, 126, fmt_int(a % 10000, 4));
        first_line = 76;
        break;
    case 8:
        place(t, 16, padded_cp932("東京都", 16));
        place(t, 32, padded_cp932("", 16));
        place(t, 48, padded_cp932("", 16));
        place(t, 64, padded_cp932("千代田区", 16));
        break;
    case 9: case 10:
        place(t, 16, fmt_int(5339000 + a % 1000, 7));
        place(t, 23, fmt_int(a % 10000, 4));
        place(t, 27, fmt_int(13101, 5));
        place(t, 32, fmt_int(flag, 3));
        break;
    case 20:
        place(t, 17, fmt_int(81000 + a % 1000, 5));
        place(t, 22, fmt_int(a % 10000, 4));
        break;
    default:
        break;
    }
    if (first_line == 0 || t.size() <= first_line) return {t};
    place(t, 13, fmt_int(2, 3));
    return {t.substr(0, first_line), t.substr(first_line)};
}

std::string area_data_code(int data_id) {
    switch (data_id) {
    case 0: return "A09-02A";
    case 1: return "A10-60A";
    case 2: return "A11-60A";
    case 3: return "A12-60A";
    case 4: return "A13-60A";
    case 5: return "A15-57A";
    case 6: return "A03-02A";
    case 7: return "A07-07A";
    case 8: return "N03-06A";
    case 9: case 10: return "W09-50A";
    case 20: return "W12-52A";
    default: return "X00-00A";
    }
}

void write_area_file(const std::string& path, const std::string& data_code, const std::vector<std::string>& node_part,
                     const std::vector<std::string>& link_part, const std::vector<std::string>& area_part,
                     const std::vector<std::string>& ledger_part) {
    const long long total =
        static_cast<long long>(node_part.size() + link_part.size() + area_part.size() + ledger_part.size());
    text::LineWriter w(path, text::LineWriter::Mode::Replace);
    w.writeLine(header_line(data_code, total + 2));
    w.writeLine(counts_line(total, static_cast<long long>(node_part.size()), static_cast<long long>(link_part.size()),
                            static_cast<long long>(area_part.size()), static_cast<long long>(ledger_part.size())));
    for (const auto* part : {&node_part, &link_part, &area_part, &ledger_part})
        for (const std::string& s : *part) w.writeLine(s);
    w.close();
}

namespace {

// Secondary mesh code of a point in 1/36000 degree.
std::string mesh_of(double x, double y) {
    const double lat15 = y / 36000.0 * 1.5, lon = x / 36000.0 - 100.0;
    const int pp = static_cast<int>(std::floor(lat15)), uu = static_cast<int>(std::floor(lon));
    const int r = std::clamp(static_cast<int>(std::floor((lat15 - pp) * 8)), 0, 7);
    const int c = std::clamp(static_cast<int>(std::floor((lon - uu) * 8)), 0, 7);
    auto two = [](int v) { return std::string(1, char('0' + (v / 10) % 10)) + char('0' + v % 10); };
    return two(std::clamp(pp, 0, 99)) + two(std::clamp(uu, 0, 99)) + char('0' + r) + char('0' + c);
}

// A deterministic sequence in [-1, 1].
struct Noise {
    std::uint32_t state;
    double next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
    }
};

struct Grid {
    const AreaGenOptions& o;
    double cell;
    int horizontal_count() const { return o.cols * (o.rows + 1); }
    int horizontal(int i, int j) const { return 1 + j * o.cols + i; }              // (i,j) -> (i+1,j)
    int vertical(int i, int j) const { return 1 + horizontal_count() + i * o.rows + j; }  // (i,j) -> (i,j+1)
    int island(int cell_index) const { return 1 + horizontal_count() + (o.cols + 1) * o.rows + cell_index; }
    double nx(int i) const { return o.origin_x + i * cell; }
    double ny(int j) const { return o.origin_y + j * cell; }
};

// A wiggly boundary from a to b: the offset across the edge tapers to nothing at both nodes, so links
// that meet at a node cannot cross.
GenLink make_edge(const std::string& mesh, int number, double ax, double ay, double bx, double by, int vertices,
                  double amplitude, Noise& noise) {
    GenLink l{mesh, number, {}};
    const double dx = bx - ax, dy = by - ay;
    const double len = std::sqrt(dx * dx + dy * dy);
    const double px = -dy / len, py = dx / len;
    const int v = std::max(vertices, 2);
    for (int k = 0; k < v; ++k) {
        const double t = static_cast<double>(k) / (v - 1);
        const double off = (k == 0 || k == v - 1) ? 0.0 : std::round(amplitude * std::sin(M_PI * t) * noise.next());
        l.xy.push_back({std::round(ax + dx * t) + px * off, std::round(ay + dy * t) + py * off});
    }
    return l;
}

}  // namespace

AreaGenResult generate_area_files(const std::string& base, const AreaGenOptions& o) {
    AreaGenResult result;
    const int v = std::max(o.vertices_per_link, 2);
    Grid g{o, o.cell_units > 0 ? o.cell_units : std::max(40.0, 8.0 * (v - 1))};
    const double amplitude = 0.1 * g.cell;
    const std::string code = o.data_code.empty() ? area_data_code(o.data_id) : o.data_code;
    const bool rural = o.data_id == 3 || o.data_id == 4;
    Noise noise{o.seed};

    // Every link of the partition, by number.
    std::map<int, GenLink> links;
    for (int j = 0; j <= o.rows; ++j)
        for (int i = 0; i < o.cols; ++i)
            links[g.horizontal(i, j)] = make_edge(mesh_of(g.nx(i), g.ny(j)), g.horizontal(i, j), g.nx(i), g.ny(j),
                                                  g.nx(i + 1), g.ny(j), v, amplitude, noise);
    for (int i = 0; i <= o.cols; ++i)
        for (int j = 0; j < o.rows; ++j)
            links[g.vertical(i, j)] = make_edge(mesh_of(g.nx(i), g.ny(j)), g.vertical(i, j), g.nx(i), g.ny(j),
                                                g.nx(i), g.ny(j + 1), v, amplitude, noise);
    // Gaps: the last vertex of some interior vertical links moves off its node.
    for (int k = 0, placed = 0; placed < o.gap_links && k < o.cols * o.rows; ++k) {
        const int i = 1 + k % std::max(o.cols - 1, 1), j = k / std::max(o.cols - 1, 1);
        if (i >= o.cols || j >= o.rows) break;
        links[g.vertical(i, j)].xy.back().first += o.gap_degrees * 36000.0;
        ++placed;
    }

    struct Cell {
        GenArea area;
        std::vector<GenArea> extra;  // islands and defect areas in the same strip
        std::vector<int> link_numbers;
    };
    std::vector<Cell> cells;
    int serial = 0;
    long long next_attr = 1;
    auto attr_for = [&](long long n) { return o.data_id == 8 ? 1000 + n : n; };
    // Links are numbered within their mesh, as in the data set; `id` is the generator's own key.
    std::map<std::string, int> per_mesh;
    for (auto& [id, l] : links) l.number = ++per_mesh[l.mesh];
    auto ref = [&](int id, bool forward) {
        const GenLink& l = links.at(id);
        return GenRef{l.mesh, forward ? l.number : -l.number, 0};
    };
    for (int j = 0; j < o.rows; ++j)
        for (int i = 0; i < o.cols; ++i) {
            Cell c;
            c.area.serial = ++serial;
            c.area.attr_no = attr_for(next_attr++);
            c.area.refs = {ref(g.vertical(i, j), true), ref(g.horizontal(i, j + 1), true),
                           ref(g.vertical(i + 1, j), false), ref(g.horizontal(i, j), false)};
            c.link_numbers = {g.vertical(i, j), g.horizontal(i, j + 1), g.vertical(i + 1, j), g.horizontal(i, j)};
            cells.push_back(std::move(c));
        }
    // Cells are kept in strips by column; cell index = j * cols + i.
    const int cell_count = static_cast<int>(cells.size());
    for (int idx = 0; idx < cell_count; ++idx) {
        Cell& c = cells[idx];
        const int i = idx % o.cols, j = idx / o.cols;
        if (rural && o.islands && (i + j) % 2 == 0) {
            const double x0 = g.nx(i) + 0.3 * g.cell, x1 = g.nx(i) + 0.6 * g.cell;
            const double y0 = g.ny(j) + 0.3 * g.cell, y1 = g.ny(j) + 0.6 * g.cell;
            GenLink loop{mesh_of(x0, y0), g.island(idx), {}};
            const double corners[5][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}};
            for (int s = 0; s < 4; ++s)
                for (int k = 0; k < std::max(v / 4, 1); ++k) {
                    const double t = static_cast<double>(k) / std::max(v / 4, 1);
                    loop.xy.push_back({std::round(corners[s][0] + (corners[s + 1][0] - corners[s][0]) * t),
                                       std::round(corners[s][1] + (corners[s + 1][1] - corners[s][1]) * t)});
                }
            loop.xy.push_back(loop.xy.front());
            const int id = loop.number;
            loop.number = ++per_mesh[loop.mesh];
            links[id] = loop;
            GenArea island{++serial, attr_for(next_attr++), {ref(id, true)}};
            result.island_attrs.push_back(island.attr_no);
            c.extra.push_back(island);
            c.link_numbers.push_back(id);
        }
        if (idx < o.skipped_references) {
            GenRef skipped = ref(g.horizontal(i, j), true);
            skipped.code = 1;
            c.area.refs.push_back(skipped);
        }
        if (idx < o.missing_link_refs) c.area.refs.push_back(GenRef{links.at(g.horizontal(i, j)).mesh, 99999, 0});
        if (idx < o.duplicate_areas) c.extra.push_back(GenArea{++serial, c.area.attr_no, c.area.refs});
        if (idx < o.zero_area_areas) {
            GenArea z{++serial, attr_for(next_attr++), {ref(g.horizontal(i, j), true), ref(g.horizontal(i, j), false)}};
            result.zero_area_attrs.push_back(z.attr_no);
            c.extra.push_back(z);
        }
    }

    const int files = std::clamp(o.files, 1, std::max(o.cols, 1));
    for (int f = 0; f < files; ++f) {
        const int col0 = f * o.cols / files, col1 = (f + 1) * o.cols / files;
        std::set<int> used;
        std::vector<const GenArea*> areas;
        for (int idx = 0; idx < cell_count; ++idx) {
            const int i = idx % o.cols;
            if (i < col0 || i >= col1) continue;
            areas.push_back(&cells[idx].area);
            for (const GenArea& e : cells[idx].extra) areas.push_back(&e);
            used.insert(cells[idx].link_numbers.begin(), cells[idx].link_numbers.end());
        }
        std::vector<std::string> node_part, link_part, area_part, ledger_part;
        std::set<std::pair<double, double>> nodes;
        for (int n : used) {
            const GenLink& l = links[n];
            for (const auto& end : {l.xy.front(), l.xy.back()})
                if (nodes.insert(end).second)
                    node_part.push_back(node_line(mesh_of(end.first, end.second), static_cast<int>(nodes.size() % 1000000),
                                                  end.first, end.second));
            for (std::string& s : link_lines(l)) link_part.push_back(std::move(s));
            ++result.links;
            result.vertices += static_cast<long long>(l.xy.size());
        }
        std::set<long long> ledgered;
        for (const GenArea* a : areas) {
            for (std::string& s : area_lines(*a)) area_part.push_back(std::move(s));
            ++result.areas;
            if (!ledgered.insert(a->attr_no).second) continue;
            const bool island = std::find(result.island_attrs.begin(), result.island_attrs.end(), a->attr_no) !=
                                result.island_attrs.end();
            std::vector<std::string> lines = ledger_lines(o.data_id, a->attr_no, island ? 2 : 1);
            std::string joined;
            for (const std::string& s : lines) joined += s;
            result.ledgers[a->attr_no] = joined;
            for (std::string& s : lines) ledger_part.push_back(std::move(s));
        }
        const std::string path = files == 1 ? base + ".txt" : base + "_" + std::to_string(f + 1) + ".txt";
        write_area_file(path, code, node_part, link_part, area_part, ledger_part);
        result.files.push_back(path);
    }
    return result;
}

}  // namespace velmora::datagen
