// The reading half of the maker: mesh selection, the area-file reader and its three record readers, and
// the writers' entry points.
#include "polygon/core/KsPolygonMaker.h"

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <string_view>

#include "polygon/core/AreaFields.h"
#include "polygon/core/AreaLineSource.h"
#include "polygon/core/DbfHeader.h"
#include "polygon/core/LinkRecords.h"
#include "polygon/core/OutputFiles.h"
#include "polygon/core/ShpData.h"
#include "polygon/core/TextUtil.h"

namespace ostrand {

namespace {

const char* const kAreaCodeFailure = "Invalid layer code. KsPolygonMaker::read_area()";
const char* const kAttrCodeFailure = "Invalid layer code. KsPolygonMaker::read_attr()";
const char* const kAttrEofFailure = "Unexpected EOF. KsPolygonMaker::read_attr()";

// An attribute number must fit in 32 bits: a wider one is a format failure of the file.
int attr_no_field(const AreaLineSource& in, std::string_view s, std::size_t pos, const char* reader) {
    const std::string_view f = in.field(s, pos, 10);
    const long long v = read_integer(f.data(), f.data() + f.size());
    if (v < INT_MIN || v > INT_MAX) throw std::string("Invalid attribute number. KsPolygonMaker::") + reader + "()";
    return static_cast<int>(v);
}

// A shapefile beyond the format's limits is named in the log as well as in the job's failure box.
void save_polygons_logged(const std::vector<AreaPolygon>& polygons, const std::string& path, OutputFiles& out,
                          MessageLog& log) {
    try {
        ShpData::save_polygons(polygons, path, out);
    } catch (const ShapefileLimitExceeded& e) {
        log.add(e.text);
        throw e.text;
    }
}

}  // namespace

KsPolygonMaker::KsPolygonMaker(LayerRecord layer_record, const char* codes, std::vector<std::string>* log_lines)
    : layer(std::move(layer_record)), log(log_lines) {
    select_meshes(codes);
}

KsPolygonMaker::~KsPolygonMaker() = default;

void KsPolygonMaker::select_meshes(const char* codes) {
    if (!codes || !*codes) return;
    std::vector<std::string> list;
    split(codes, ',', list);
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
    for (const std::string& code : list) {
        if (code.size() != 6) continue;
        const long long pp = read_integer_at(code, 0, 2), uu = read_integer_at(code, 2, 2);
        const long long r = read_integer_at(code, 4, 1), c = read_integer_at(code, 5, 1);
        if (pp < 30 || pp > 68 || uu < 22 || uu > 54 || r < 0 || r > 7 || c < 0 || c > 7) continue;
        const double lon0 = static_cast<double>(uu + 100);
        const double lat0 = static_cast<double>(pp) * 2.0 / 3.0;
        const double x0 = static_cast<double>(c) * 0.125 + lon0;
        const double x1 = static_cast<double>(c + 1) * 0.125 + lon0;
        const double y0 = static_cast<double>(r) * (1.0 / 12.0) + lat0;
        const double y1 = static_cast<double>(r + 1) * (1.0 / 12.0) + lat0;
        mesh_rects.emplace_back(std::vector<Point>{{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}});
        mesh_codes.push_back(code);
    }
}

void KsPolygonMaker::clear() {
    links.clear();
    area_links.clear();
    area_serials.clear();
    attr_records.clear();
    mesh_rects.clear();
    mesh_codes.clear();
    selected_attrs.clear();
    polygons.clear();
    last_record_count = 0;
    fresh_areas_.clear();
    fresh_records_.clear();
    paired_count_ = 0;
}

bool KsPolygonMaker::open(const std::string& path) {
    AreaLineSource in(path);
    const AreaFileHead head = read_area_file_head(in);
    const std::unique_ptr<FileLinks> ahead = std::move(links_ahead_);
    try {
        if (ahead && ahead->head.node_lines == head.node_lines && ahead->head.link_lines == head.link_lines) {
            in.skip_lines(ahead->lines);
            take_links(ahead->links);
        } else {
            read_link(in, head.link_lines);
        }
        read_area(in, head.area_lines);
        read_attr(in, head.attr_lines);
    } catch (const std::out_of_range&) {
        // A reader of a subclass that cut a field beyond the end of its line itself.
        in.cut_short(std::string::npos, 0);
    }
    pair_areas_with_ledgers();

    const int count = static_cast<int>(attr_records.size());
    if (count == last_record_count) return false;
    last_record_count = count;
    return true;
}

// An attribute number survives only when one file gave both its areas and its ledger record. Between
// files every attribute number has both (or the maps are empty), so without a mesh selection, which may
// take areas of earlier files away, only the numbers this file gave something new are looked at.
void KsPolygonMaker::pair_areas_with_ledgers() {
    const bool paired_before = area_links.size() == paired_count_ + fresh_areas_.size() &&
                               attr_records.size() == paired_count_ + fresh_records_.size();
    if (paired_before && mesh_rects.empty()) {
        for (const int attr_no : fresh_areas_) {
            if (attr_records.count(attr_no)) continue;
            area_serials.erase(attr_no);
            area_links.erase(attr_no);
        }
        for (const int attr_no : fresh_records_)
            if (!area_links.count(attr_no)) attr_records.erase(attr_no);
    } else {
        for (auto it = area_links.begin(); it != area_links.end();) {
            if (attr_records.count(it->first)) {
                ++it;
            } else {
                area_serials.erase(it->first);
                it = area_links.erase(it);
            }
        }
        for (auto it = attr_records.begin(); it != attr_records.end();)
            it = area_links.count(it->first) ? std::next(it) : attr_records.erase(it);
    }
    fresh_areas_.clear();
    fresh_records_.clear();
    paired_count_ = area_links.size();
}

void KsPolygonMaker::store_attr_record(int attr_no, std::string&& text) {
    const auto [it, added] = attr_records.insert_or_assign(attr_no, std::move(text));
    if (added) fresh_records_.push_back(attr_no);
}

void KsPolygonMaker::read_link(AreaLineSource& in, int line_count) { read_link_records(in, line_count, links); }

void KsPolygonMaker::open_files(const std::vector<std::string>& paths) {
    LinkPrefetch prefetch(paths);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        links_ahead_ = prefetch.take(i);
        open(paths[i]);
    }
}

// As the file's link records would have gone in one by one: a key already held takes the later ring.
void KsPolygonMaker::take_links(std::map<LinkRef, Ring>& read) {
    links.merge(read);
    for (auto& [key, ring] : read) links[key] = std::move(ring);
}

void KsPolygonMaker::read_area(AreaLineSource& in, int line_count) {
    int lines_read = 0;
    while (lines_read < line_count) {
        const std::string_view line = in.read_limited();
        if (line.substr(0, 1) != "A") throw std::string(kAreaCodeFailure);
        const int attr_no = attr_no_field(in, line, 35, "read_area");
        const int k = int_field(in, line, 45, 6);
        // The serial is cut before the continuation lines are read: the line is gone after them.
        const int serial = int_field(in, line, 25, 8);
        const std::string_view joined = in.read_entries(k, kReferenceWidth);
        std::vector<LinkRef> list;
        list.reserve(static_cast<std::size_t>(std::max(k, 0)));
        for (int j = 0; j < k; ++j) {
            const std::size_t at = kReferenceWidth * static_cast<std::size_t>(j);
            const std::string_view mesh = in.field(joined, at, 6);
            const int number = int_field(in, joined, at + 6, 6);
            const int code = int_field(in, joined, at + 12, 2);
            if (code == 1) continue;
            list.push_back({std::string(mesh), number < 0 ? -number : number, number >= 0});
        }
        auto it = area_links.lower_bound(attr_no);
        if (it == area_links.end() || it->first != attr_no) {
            it = area_links.emplace_hint(it, attr_no, std::vector<std::vector<LinkRef>>());
            fresh_areas_.push_back(attr_no);
        }
        std::vector<std::vector<LinkRef>>& lists = it->second;
        const bool repeated =
            std::any_of(lists.begin(), lists.end(), [&](const std::vector<LinkRef>& l) { return same_links(l, list); });
        if (!repeated) {
            lists.push_back(std::move(list));
            area_serials[attr_no].push_back(serial);
        }
        lines_read += 1 + continuation_lines(k);
    }
    if (!mesh_rects.empty()) apply_mesh_selection();
}

// apply_mesh_selection is defined with the other searches of the makers (MakerSearches.cpp).

void KsPolygonMaker::read_attr(AreaLineSource& in, int line_count) {
    int lines_read = 0;
    while (lines_read < line_count) {
        std::string text;
        if (!in.read_whole(text)) throw std::string(kAttrEofFailure);
        if (text.substr(0, 2) != "DA") throw std::string(kAttrCodeFailure);
        const int m = int_field(in, text, 13, 3);
        std::string more;
        for (int i = 1; i < m; ++i) {
            if (!in.read_whole(more)) throw std::string(kAttrEofFailure);
            text += more;
        }
        const int attr_no = attr_no_field(in, text, 3, "read_attr");
        if (selected_attrs.empty() || selected_attrs.count(attr_no)) store_attr_record(attr_no, std::move(text));
        lines_read += std::max(m, 1);
    }
}

int KsPolygonMaker::repair_polygon(int, AreaPolygon&) { return 1; }

// The shapefile and the table of a job are put in place together: save_shape leaves its files pending
// and save_dbf commits all three.
void KsPolygonMaker::save_shape(const std::string& path) {
    if (polygons.empty()) return;
    pending_output = std::make_unique<OutputFiles>();
    save_polygons_logged(polygons, path, *pending_output, log);
}


void KsPolygonMaker::save_dbf(const std::string& path) {
    if (polygons.empty()) return;
    std::unique_ptr<OutputFiles> out = std::move(pending_output);
    if (!out) out = std::make_unique<OutputFiles>();
    write_attr_table(path, data_id(), attr_records, *out);
    out->commit();
}

void KsPolygonMaker::save_mesh(const std::string& path) {
    if (mesh_rects.empty()) return;
    std::vector<AreaPolygon> rects;
    for (const Ring& r : mesh_rects) {
        AreaPolygon p;
        p.rings.push_back(r);
        p.rings.back().add_point(r.points.front());
        rects.push_back(std::move(p));
    }
    OutputFiles out;
    ShpData data;
    data.set_polygons(rects);
    data.save(path, out);

    BinaryFile& table = out.create(remove_extension(path) + ".dbf", "File open failure. KsPolygonMaker::save_mesh()",
                                   "File write failure. KsPolygonMaker::save_mesh()");
    DbfHeader header(static_cast<std::int32_t>(mesh_codes.size()));
    header.add_field(FieldSpec{"MESH", 'C', 12, 0});
    header.write(table);
    for (const std::string& code : mesh_codes) {
        std::string rec = " ";
        rec.append(code.size() < 12 ? 12 - code.size() : 0, ' ');
        rec += code;
        table.write(rec);
    }
    table.put_byte(0x1A);
    out.commit();
}

}  // namespace ostrand
