#include "polygon/core/ShpData.h"

#include <algorithm>
#include <cstring>

#include "polygon/core/SimpleRings.h"
#include "polygon/core/TextUtil.h"
#include "polygon/core/WrittenRings.h"

namespace ostrand {

namespace {

const char* const kOpenFailure = "File open failur. ShpData::save()";
const char* const kWriteFailure = "File write failure. ShpData::save()";

template <class T>
T read_le(std::istream& in) {
    unsigned char b[sizeof(T)];
    in.read(reinterpret_cast<char*>(b), sizeof(T));
    std::uint64_t u = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) u |= static_cast<std::uint64_t>(b[i]) << (8 * i);
    T v;
    if constexpr (sizeof(T) == 8) {
        std::memcpy(&v, &u, 8);
    } else {
        const std::uint32_t w = static_cast<std::uint32_t>(u);
        std::memcpy(&v, &w, 4);
    }
    return v;
}

constexpr std::int64_t kInt32Max = 2147483647;

// The points of all rings, counted in 64 bits.
std::int64_t points_of_rings(const std::vector<Ring>& rings) {
    std::int64_t points = 0;
    for (const Ring& r : rings) points += static_cast<std::int64_t>(r.points.size());
    return points;
}

// The bytes of a record's content after its shape type, appended to `bytes`.
void append_poly_content(std::string& bytes, const BBox& box, std::int32_t num_parts, std::int32_t num_points,
                         const std::vector<Ring>& rings) {
    append_le_double(bytes, box.xmin);
    append_le_double(bytes, box.ymin);
    append_le_double(bytes, box.xmax);
    append_le_double(bytes, box.ymax);
    append_le32(bytes, num_parts);
    append_le32(bytes, num_points);
    std::int32_t start = 0;
    for (const Ring& r : rings) {
        append_le32(bytes, start);
        start += static_cast<std::int32_t>(r.points.size());
    }
    for (const Ring& r : rings)
        for (const Point& p : r.points) {
            append_le_double(bytes, p.x);
            append_le_double(bytes, p.y);
        }
}

// Widens the header's box and measures over the records', starting from the first record's, as update does.
void widen_header(ShpHeader& header, const ShpRecord& r) {
    header.xmin = std::min(header.xmin, r.box.xmin);
    header.ymin = std::min(header.ymin, r.box.ymin);
    header.xmax = std::max(header.xmax, r.box.xmax);
    header.ymax = std::max(header.ymax, r.box.ymax);
    header.zmin = std::min(header.zmin, r.zmin);
    header.zmax = std::max(header.zmax, r.zmax);
    header.mmin = std::min(header.mmin, r.mmin);
    header.mmax = std::max(header.mmax, r.mmax);
}

void start_header(ShpHeader& header, const ShpRecord& first) {
    header.xmin = first.box.xmin;
    header.ymin = first.box.ymin;
    header.xmax = first.box.xmax;
    header.ymax = first.box.ymax;
    header.zmin = first.zmin;
    header.zmax = first.zmax;
    header.mmin = first.mmin;
    header.mmax = first.mmax;
}

}  // namespace

void check_shapefile_limits(std::int64_t parts, std::int64_t points, std::size_t record_index,
                            std::int64_t& file_words) {
    const std::string record = sjis("レコード番号：") + std::to_string(record_index) + " ";
    const std::string cannot = sjis("がShapeファイルの上限を超えるため保存できません。");
    if (points > kInt32Max || parts > kInt32Max)
        throw ShapefileLimitExceeded{record + sjis("点の数(") + std::to_string(points) + ")" + cannot};
    const std::int64_t content = 22 + 2 * parts + 8 * points;
    if (content > kInt32Max)
        throw ShapefileLimitExceeded{record + sjis("レコードの長さ(") + std::to_string(content) + sjis("ワード)") + cannot};
    file_words += 4 + content;
    if (file_words > kInt32Max)
        throw ShapefileLimitExceeded{record + sjis("までのファイルの長さ(") + std::to_string(file_words) +
                                     sjis("ワード)") + cannot};
}

void ShpHeader::write(BinaryFile& out) const {
    out.put_be32(file_code);
    for (std::int32_t u : unused) out.put_be32(u);
    out.put_be32(file_length);
    out.put_le32(version);
    out.put_le32(shape_type);
    for (double d : {xmin, ymin, xmax, ymax, zmin, zmax, mmin, mmax}) out.put_le_double(d);
}

void ShpPoly::update() {
    box = rings_bbox(rings);
    num_parts = static_cast<std::int32_t>(rings.size());
    num_points = static_cast<std::int32_t>(points_of_rings(rings));
    content_length = 22 + 2 * num_parts + 8 * num_points;
}

void ShpPoly::write(BinaryFile& out) const {
    std::string bytes;
    append_poly_content(bytes, box, num_parts, num_points, rings);
    out.write(bytes);
}

void ShpPoly::read(std::istream& in) {
    box.xmin = read_le<double>(in);
    box.ymin = read_le<double>(in);
    box.xmax = read_le<double>(in);
    box.ymax = read_le<double>(in);
    num_parts = read_le<std::int32_t>(in);
    num_points = read_le<std::int32_t>(in);
    std::vector<std::int32_t> starts;
    for (std::int32_t i = 0; i < num_parts && in; ++i) starts.push_back(read_le<std::int32_t>(in));
    rings.clear();
    for (std::size_t i = 0; i < starts.size() && in; ++i) {
        const std::int32_t end = i + 1 < starts.size() ? starts[i + 1] : num_points;
        Ring r;
        for (std::int32_t k = starts[i]; k < end && in; ++k) {
            Point p;
            p.x = read_le<double>(in);
            p.y = read_le<double>(in);
            r.add_point(p);
        }
        rings.push_back(std::move(r));
    }
}

void ShpData::clear() {
    header.xmin = header.ymin = header.xmax = header.ymax = 0;
    header.zmin = header.zmax = header.mmin = header.mmax = 0;
    header.file_length = 50;
    records.clear();
}

void ShpData::set_polygons(const std::vector<AreaPolygon>& polygons) {
    clear();
    header.shape_type = kShapeTypePolygon;
    records.reserve(polygons.size());
    std::int64_t file_words = 50;
    for (const AreaPolygon& polygon : polygons) {
        auto rec = std::make_unique<ShpPolygon>();
        rec->shape_type = kShapeTypePolygon;
        rec->offset = 50;
        rec->rings = simple_rings(polygon.rings);
        try {
            check_shapefile_limits(static_cast<std::int64_t>(rec->rings.size()), points_of_rings(rec->rings),
                                   records.size(), file_words);
        } catch (const ShapefileLimitExceeded&) {
            clear();
            throw;
        }
        rec->update();
        records.push_back(std::move(rec));
    }
    update();
}

void ShpData::update() {
    if (records.empty()) {
        clear();
        return;
    }
    std::int32_t offset = 50;
    header.file_length = 50;
    for (std::size_t i = 0; i < records.size(); ++i) {
        ShpRecord& r = *records[i];
        r.record_number = static_cast<std::int32_t>(i + 1);
        r.update();
        r.offset = offset;
        offset += r.content_length + 4;
        header.file_length += r.content_length + 4;
    }
    start_header(header, *records.front());
    for (const auto& r : records) widen_header(header, *r);
}

void ShpData::write_record(const ShpRecord& record, BinaryFile& shp, BinaryFile& shx) {
    shp.put_be32(record.record_number);
    shp.put_be32(record.content_length);
    shp.put_le32(record.shape_type);
    record.write(shp);
    shx.put_be32(record.offset);
    shx.put_be32(record.content_length);
}

void ShpData::save(const std::string& path) {
    OutputFiles out;
    save(path, out);
    out.commit();
}

void ShpData::save(const std::string& path, OutputFiles& out) {
    const std::string base = remove_extension(path);
    BinaryFile& shp = out.create(base + kShpExtension, kOpenFailure, kWriteFailure);
    BinaryFile& shx = out.create(base + kShxExtension, kOpenFailure, kWriteFailure);
    update();
    header.write(shp);
    const std::int32_t main_length = header.file_length;
    header.file_length = 50 + 4 * static_cast<std::int32_t>(records.size());
    header.write(shx);
    header.file_length = main_length;
    for (const auto& r : records) write_record(*r, shp, shx);
}

void ShpData::save_polygons(const std::vector<AreaPolygon>& polygons, const std::string& path, OutputFiles& out) {
    // The headers need every record's length and box first. Only a polygon with a ring to cut into loops
    // (rare) has its written rings made, and made again when it is written.
    ShpHeader header;
    header.shape_type = kShapeTypePolygon;
    std::vector<ShpPolygon> placed(polygons.size());  // box, counts and place of each record; no rings
    std::vector<char> cut(polygons.size(), 0);
    std::vector<Ring> loops;
    std::int64_t file_words = 50;
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        const std::vector<Ring>& rings = written_rings(polygons[i].rings, loops);
        cut[i] = &rings != &polygons[i].rings;
        const std::int64_t points = points_of_rings(rings);
        check_shapefile_limits(static_cast<std::int64_t>(rings.size()), points, i, file_words);
        ShpPolygon& r = placed[i];
        r.record_number = static_cast<std::int32_t>(i + 1);
        r.box = rings_bbox(rings);
        r.num_parts = static_cast<std::int32_t>(rings.size());
        r.num_points = static_cast<std::int32_t>(points);
        r.content_length = 22 + 2 * r.num_parts + 8 * r.num_points;
        r.offset = header.file_length;
        header.file_length += r.content_length + 4;
    }
    if (!placed.empty()) {
        start_header(header, placed.front());
        for (const ShpPolygon& r : placed) widen_header(header, r);
    }

    const std::string base = remove_extension(path);
    BinaryFile& shp = out.create(base + kShpExtension, kOpenFailure, kWriteFailure);
    BinaryFile& shx = out.create(base + kShxExtension, kOpenFailure, kWriteFailure);
    header.write(shp);
    ShpHeader index_header = header;
    index_header.file_length = 50 + 4 * static_cast<std::int32_t>(placed.size());
    index_header.write(shx);
    std::string bytes;
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        const ShpPolygon& r = placed[i];
        bytes.clear();
        append_be32(bytes, r.record_number);
        append_be32(bytes, r.content_length);
        append_le32(bytes, r.shape_type);
        append_poly_content(bytes, r.box, r.num_parts, r.num_points,
                            cut[i] ? written_rings(polygons[i].rings, loops) : polygons[i].rings);
        shp.write(bytes);
        shx.put_be32(r.offset);
        shx.put_be32(r.content_length);
    }
}

}  // namespace ostrand
