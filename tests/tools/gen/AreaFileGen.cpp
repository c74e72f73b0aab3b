#include "tests/tools/gen/AreaFileGen.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/LineWriter.h"
#include "tests/tools/gen/LineFileGen.h"

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

// ---- area-structure files of the boundary-line and representative-point converter ----

namespace velmora::datagen {

std::vector<AreaLedgerItemDef> area_ledger_items(int row) {
    switch (row) {
    case 0: return {{"行政区域コード", "Long", 5}, {"都市計画区域コード", "Integer", 4}, {"細区分", "Integer", 1}};
    case 1: return {{"行政区域コード", "Long", 5}, {"自然公園コード", "Integer", 4}, {"細区分", "Integer", 1}};
    case 2: return {{"行政区域コード", "Long", 5}, {"自然環境保全区域コード", "Integer", 4}, {"細区分", "Integer", 1}};
    case 3: case 4: return {{"指定区分", "Integer", 1}};
    case 5: return {{"鳥獣保護区コード", "Long", 5}, {"細区分", "Integer", 1}};
    case 6: return {{"行政区域コード", "Long", 5}, {"都市計画区域コード", "Long", 6}};
    case 7:
        return {{"地区番号", "Integer", 2}, {"区分", "Integer", 1},  {"都道府県コード", "Integer", 2},
                {"指定年月日", "Long", 8},  {"構想名", "Text", 50}, {"地区名", "Text", 50},
                {"面積", "Long", 4}};
    case 8:
        return {{"都道府県CD", "Integer", 2}, {"市区町村CD", "Integer", 3}, {"都道府県名", "Text", 16},
                {"支庁名", "Text", 16},       {"郡・政令市名", "Text", 16}, {"市区町村名", "Text", 16}};
    case 9:
        return {{"図葉番号", "Long", 7}, {"湖沼番号", "Integer", 4}, {"行政区域コード", "Long", 5},
                {"湖岸線行政界線区分", "Integer", 3}};
    case 10: return {{"流域界・非集水域区分", "Text1", 1}, {"水系域コード", "Long", 5}, {"単位流域コード", "Integer", 4}};
    default: return {{"名称", "Text", 20}};
    }
}

std::string area_row_header_key(int row) { return area_data_code(row == 10 ? 20 : row); }

namespace {

std::string kanji_number(long long n) {
    static const char* const digits[] = {"〇", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    std::string s;
    for (char c : std::to_string(n)) s += digits[c - '0'];
    return s;
}

// The first `chars` characters of a text of double-byte characters (UTF-8: three bytes each).
std::string first_chars(const std::string& utf8, std::size_t chars) { return utf8.substr(0, std::min(utf8.size(), chars * 3)); }

bool is_derived(int row, const std::string& name) {
    return (row == 7 && (name == "区分" || name == "地区番号")) || (row == 8 && (name == "都道府県CD" || name == "市区町村CD"));
}

long long power10(int digits) {
    long long p = 1;
    for (int i = 0; i < std::min(digits, 9); ++i) p *= 10;
    return p;
}

struct LedgerLayout {
    const AreaStructureOptions& o;
    const std::vector<AreaLedgerItemDef>& items;

    // The record of attribute a (variant 1: the values of a repeated record) and the values as stored.
    AreaLedgerModel record(long long a, int variant) const {
        AreaLedgerModel m;
        m.attribute = a;
        const bool two_lines = o.row == 7 && items.size() > 5;
        m.line_count = two_lines ? 2 : 1;
        std::string first = "DA " + fmt_int(a, 10) + fmt_int(m.line_count, 3), second;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const AreaLedgerItemDef& it = items[i];
            std::string& line = two_lines && i >= 5 ? second : first;
            std::string value;
            const auto fixed = o.fixed_values.find(it.name);
            if (fixed != o.fixed_values.end()) {
                value = fixed->second;
                line += it.type.find("Text") != std::string::npos ? padded_cp932(value.c_str(), static_cast<std::size_t>(it.width))
                                                                 : fmt_int(std::stoll(value), it.width);
            } else if (is_derived(o.row, it.name)) {
                if (it.name == "区分") value = std::to_string(m.line_count > 1 ? 2 : 1);
                else if (it.name == "地区番号") value = std::to_string(a % 100);
                else if (it.name == "都道府県CD") value = std::to_string(a / 1000);
                else value = std::to_string(a % 1000);
            } else if (it.type == "Text") {
                const bool blank = o.blank_optional_fields && a % 3 == 0;
                // Texts shorter than their width, padded with blanks: the readers step by the bytes a text
                // covers, not by the characters it would hold if it filled its width.
                const std::size_t chars = static_cast<std::size_t>(it.width / 2);
                std::string t = "区域";
                t += kanji_number(a + variant);
                if (!blank) value = first_chars(t, std::min<std::size_t>(chars, 8));
                line += padded_cp932(value.c_str(), static_cast<std::size_t>(it.width));
            } else {
                const bool blank = o.blank_optional_fields && a % 4 == 0;
                const long long limit = it.type == "Integer" ? std::min(power10(it.width), 30000LL) : power10(it.width);
                const std::string digits = blank ? std::string(static_cast<std::size_t>(it.width), ' ')
                                                 : fmt_int((a + variant) % limit, it.width);
                line += digits;
                // Numbers read as text items keep their blanks; number fields hold the number.
                if (!blank) value = it.type == "Integer" || it.type == "Long" ? std::to_string((a + variant) % limit) : digits;
            }
            m.values.push_back(value);
        }
        m.lines.push_back(first);
        if (two_lines) m.lines.push_back(second);
        return m;
    }
};

}  // namespace

AreaStructureModel generate_area_structure_files(const std::string& base, const AreaStructureOptions& o) {
    AreaStructureModel model;
    model.row = o.row;
    model.items = o.items.empty() ? area_ledger_items(o.row) : o.items;
    model.header_key = area_row_header_key(o.header_row >= 0 ? o.header_row : o.row);
    const AreaGenOptions& go = o.grid;
    const int v = std::max(go.vertices_per_link, 2);
    Grid g{go, go.cell_units > 0 ? go.cell_units : std::max(40.0, 8.0 * (v - 1))};
    Noise noise{go.seed};

    // Links of the partition in the generator's numbering, their nodes numbered within their mesh.
    std::map<int, GenLink> edges;
    for (int j = 0; j <= go.rows; ++j)
        for (int i = 0; i < go.cols; ++i)
            edges[g.horizontal(i, j)] = make_edge("", g.horizontal(i, j), g.nx(i), g.ny(j), g.nx(i + 1), g.ny(j), v,
                                                  0.1 * g.cell, noise);
    for (int i = 0; i <= go.cols; ++i)
        for (int j = 0; j < go.rows; ++j)
            edges[g.vertical(i, j)] = make_edge("", g.vertical(i, j), g.nx(i), g.ny(j), g.nx(i), g.ny(j + 1), v,
                                                0.1 * g.cell, noise);
    std::map<std::pair<long long, long long>, AreaNodeModel> nodes;
    std::map<std::string, int> node_serials, link_serials;
    auto node_at = [&](double x, double y) -> const AreaNodeModel& {
        const std::pair<long long, long long> key{std::llround(x), std::llround(y)};
        auto it = nodes.find(key);
        if (it != nodes.end()) return it->second;
        AreaNodeModel n;
        n.mesh = mesh_of(x, y);
        n.serial = ++node_serials[n.mesh];
        n.x = key.first;
        n.y = key.second;
        if (!o.blank_optional_fields) {
            n.attribute = n.serial * 10LL;
            n.pair_mesh = std::stoll(n.mesh);
            n.pair_number = n.serial;
        }
        return nodes.emplace(key, n).first->second;
    };
    std::map<int, AreaLinkModel> links;
    int without_vertices = 0;
    for (const auto& [id, e] : edges) {
        AreaLinkModel l;
        const AreaNodeModel& a = node_at(e.xy.front().first, e.xy.front().second);
        const AreaNodeModel& b = node_at(e.xy.back().first, e.xy.back().second);
        l.start_mesh = a.mesh;
        l.start_number = a.serial;
        l.end_mesh = b.mesh;
        l.end_number = b.serial;
        l.serial = ++link_serials[a.mesh];
        if (!(o.blank_optional_fields && l.serial % 3 == 0)) l.attribute = l.serial;
        if (without_vertices++ >= o.links_without_vertices)
            for (const auto& p : e.xy) l.vertices.emplace_back(std::llround(p.first), std::llround(p.second));
        links[id] = l;
    }

    const LedgerLayout layout{o, model.items};
    const int files = std::clamp(go.files, 1, std::max(go.cols, 1));
    int serial = 0, without_ledger = 0, repeated = 0;
    for (int f = 0; f < files; ++f) {
        const int col0 = f * go.cols / files, col1 = (f + 1) * go.cols / files;
        AreaStructureFile file;
        std::set<int> used;
        std::vector<std::string> ledger_part, area_part;
        for (int j = 0; j < go.rows; ++j)
            for (int i = col0; i < col1; ++i) {
                const int ids[4] = {g.vertical(i, j), g.horizontal(i, j + 1), g.vertical(i + 1, j), g.horizontal(i, j)};
                const bool forward[4] = {true, true, false, false};
                AreaAreaModel area;
                area.serial = ++serial;
                area.attribute = o.first_attribute + serial - 1;
                const double cx = g.nx(i) + 0.5 * g.cell, cy = g.ny(j) + 0.5 * g.cell;
                area.mesh = mesh_of(cx, cy);
                area.x = std::llround(cx);
                area.y = std::llround(cy);
                for (int k = 0; k < 4; ++k) {
                    const AreaLinkModel& l = links.at(ids[k]);
                    area.refs.push_back(GenRef{l.start_mesh, forward[k] ? l.serial : -l.serial, 0});
                    used.insert(ids[k]);
                }
                file.areas.push_back(area);
                if (without_ledger++ < o.areas_without_ledger) continue;
                AreaLedgerModel d = layout.record(area.attribute, 0);
                for (const std::string& s : d.lines) ledger_part.push_back(s);
                if (repeated++ < o.repeated_ledgers)
                    for (const std::string& s : layout.record(area.attribute, 1).lines) ledger_part.push_back(s);
                file.ledgers.push_back(std::move(d));
            }
        std::set<std::pair<long long, long long>> file_nodes;
        std::vector<std::string> node_part, link_part;
        for (int id : used) {
            const AreaLinkModel& l = links.at(id);
            file.links.push_back(l);
            const GenLink& e = edges.at(id);
            for (const auto& p : {e.xy.front(), e.xy.back()}) {
                const std::pair<long long, long long> key{std::llround(p.first), std::llround(p.second)};
                if (file_nodes.insert(key).second) file.nodes.push_back(nodes.at(key));
            }
        }
        auto optional_int = [](const std::optional<long long>& v, int width) {
            return v ? fmt_int(*v, width) : std::string(static_cast<std::size_t>(width), ' ');
        };
        for (const AreaNodeModel& n : file.nodes)
            node_part.push_back("N  " + n.mesh + fmt_int(n.serial, 6) + fmt_int(n.x, 8) + fmt_int(n.y, 8) + " 0" +
                                optional_int(n.attribute, 10) + "  2" + " 0" + optional_int(n.pair_mesh, 6) +
                                optional_int(n.pair_number, 6));
        for (const AreaLinkModel& l : file.links) {
            link_part.push_back("L  " + l.start_mesh + fmt_int(l.start_number, 6) + l.end_mesh + fmt_int(l.end_number, 6) +
                                fmt_int(l.serial, 6) + " 0" + optional_int(l.attribute, 10) +
                                fmt_int(static_cast<long long>(l.vertices.size()), 6));
            std::string line;
            for (std::size_t k = 0; k < l.vertices.size(); ++k) {
                line += fmt_int(l.vertices[k].first, 8) + fmt_int(l.vertices[k].second, 8);
                if (k % 5 == 4 || k + 1 == l.vertices.size()) link_part.push_back(std::exchange(line, {}));
            }
        }
        for (const AreaAreaModel& a : file.areas) {
            area_part.push_back("A  " + a.mesh + fmt_int(a.x, 8) + fmt_int(a.y, 8) + fmt_int(a.serial, 8) + " 1" +
                                fmt_int(a.attribute, 10) + fmt_int(static_cast<long long>(a.refs.size()), 6));
            std::string line;
            for (std::size_t k = 0; k < a.refs.size(); ++k) {
                line += a.refs[k].mesh + fmt_int(a.refs[k].number, 6) + fmt_int(a.refs[k].code, 2);
                if (k % 5 == 4 || k + 1 == a.refs.size()) area_part.push_back(std::exchange(line, {}));
            }
        }
        file.path = files == 1 ? base + ".txt" : base + "_" + std::to_string(f + 1) + ".txt";
        write_area_file(file.path, model.header_key, node_part, link_part, area_part, ledger_part);
        model.files.push_back(std::move(file));
    }
    return model;
}

void fill_area_layer_row(LayerDef& d, const std::string& name, const std::string& header_key,
                         const std::vector<AreaLedgerItemDef>& items) {
    // The area loader places its items one after another; their start columns are not used.
    std::vector<gen::LedgerItemDef> described;
    for (const AreaLedgerItemDef& it : items) described.push_back({it.name, it.type, 0, it.width, it.output});
    gen::fillLineLayerRow(d, name, header_key, described);
}

std::string area_catalogue_line(const AreaStructureModel& m, const std::string& name) {
    return text::toCp932("2," + std::to_string(m.row) + "," + name + ",0,1,0,0,0,0," + m.header_key + "," +
                         std::to_string(m.items.size()) + ",0,0");
}

std::vector<std::string> area_catalogue_item_lines(const AreaStructureModel& m, const std::string& name) {
    std::vector<std::string> lines;
    int start = 17;
    for (std::size_t i = 0; i < m.items.size(); ++i) {
        const AreaLedgerItemDef& it = m.items[i];
        const bool derived = is_derived(m.row, it.name);
        lines.push_back(text::toCp932("2," + std::to_string(m.row) + "," + name + "," + std::to_string(i + 1) + ",," +
                                      it.name + "," + it.type + "," + std::to_string(it.width) + "," +
                                      (it.output ? "1" : "0") + "," + std::to_string(derived ? 0 : start)));
        if (!derived) start += it.width;
    }
    return lines;
}

}  // namespace velmora::datagen
