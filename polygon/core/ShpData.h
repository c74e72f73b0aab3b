#pragma once
// The polygon shapefile writer: a header and a list of records written as the main file (.shp) and its
// index (.shx), shape type 5, one record per polygon in the order given.
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "polygon/core/BinaryFile.h"
#include "polygon/core/Geometry.h"
#include "polygon/core/OutputFiles.h"

namespace ostrand {

inline const char* const kShpExtension = ".shp";
inline const char* const kShxExtension = ".shx";
inline constexpr std::int32_t kShapeTypePolygon = 5;

struct ShpHeader {
    std::int32_t file_code = 9994;
    std::int32_t unused[5] = {0, 0, 0, 0, 0};
    std::int32_t file_length = 50;  // 16-bit words
    std::int32_t version = 1000;
    std::int32_t shape_type = 0;
    double xmin = 0, ymin = 0, xmax = 0, ymax = 0, zmin = 0, zmax = 0, mmin = 0, mmax = 0;

    void write(BinaryFile& out) const;
};

class ShpRecord {
public:
    virtual ~ShpRecord() = default;
    virtual std::unique_ptr<ShpRecord> clone() const = 0;
    virtual BBox bbox() const { return box; }
    virtual std::int32_t part_count() const { return num_parts; }
    virtual std::int32_t point_count() const { return num_points; }
    // Recomputes box, counts and content length from the shape.
    virtual void update() = 0;
    virtual void read(std::istream& in) = 0;
    virtual void write(BinaryFile& out) const = 0;

    std::int32_t record_number = 0;
    std::int32_t content_length = 0;  // 16-bit words
    std::int32_t shape_type = kShapeTypePolygon;
    BBox box;
    double zmin = 0, zmax = 0, mmin = 0, mmax = 0;
    std::int32_t num_parts = 0;
    std::int32_t num_points = 0;
    std::int32_t offset = 50;  // 16-bit words, in the main file
};

// A multi-part record: one part per ring.
class ShpPoly : public ShpRecord {
public:
    ShpPoly() = default;
    ShpPoly(const ShpPoly&) = default;
    void update() override;
    void read(std::istream& in) override;
    void write(BinaryFile& out) const override;

    std::vector<Ring> rings;
};

class ShpPolygon : public ShpPoly {
public:
    std::unique_ptr<ShpRecord> clone() const override { return std::make_unique<ShpPolygon>(*this); }
};

// What set_polygons throws when the polygons do not fit the format's signed 32-bit fields: its text (CP932)
// says which record or the file, for the job's log and its failure box.
struct ShapefileLimitExceeded {
    std::string text;
};

// Checks one record of `parts` rings and `points` points, the record_index-th (from 0), against the
// 32-bit limits of the format (its point count, its content length in 16-bit words) and adds its words
// (content and record header) to file_words, which must stay within the limit of the file length. Throws
// ShapefileLimitExceeded.
void check_shapefile_limits(std::int64_t parts, std::int64_t points, std::size_t record_index,
                            std::int64_t& file_words);

class ShpData {
public:
    virtual ~ShpData() { clear(); }

    // Replaces the records by one polygon record per polygon, in order. Throws ShapefileLimitExceeded
    // (leaving no record) when they would not fit the format.
    void set_polygons(const std::vector<AreaPolygon>& polygons);
    // Numbers the records, places them in the main file and widens the header box over them.
    void update();
    void clear();
    // Writes remove_extension(path) + ".shp" and ".shx" and puts both in place together. Throws
    // "File open failur. ShpData::save()" when a file cannot be made and "File write failure.
    // ShpData::save()" when one cannot be written or put in place.
    void save(const std::string& path);
    // The same two files as part of a larger save, put in place by its commit.
    void save(const std::string& path, OutputFiles& out);
    static void write_record(const ShpRecord& record, BinaryFile& shp, BinaryFile& shx);
    // The files set_polygons and save(path, out) make of these polygons, written straight from their
    // rings instead of from a copy of them. Throws ShapefileLimitExceeded before any file is made.
    static void save_polygons(const std::vector<AreaPolygon>& polygons, const std::string& path, OutputFiles& out);

    ShpHeader header;
    std::vector<std::unique_ptr<ShpRecord>> records;
};

}  // namespace ostrand
