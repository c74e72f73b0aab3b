#pragma once
// Generator of area files (CP932, CR LF) for the polygon library: a planar partition of a rectangular
// region into a grid of areas whose shared boundaries are links with many vertices, with the ledger
// records of any data item of the library, and switches for the defects the makers handle. Also the
// record formatters, for tests that write small files by hand.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "convert/core/LayerDef.h"

namespace velmora::datagen {

// ---- record formatters (one line each, without the line end) ----

// Right-aligned in `width` columns.
std::string fmt_int(long long v, int width);
// A coordinate in 1/36000 degree, right-aligned in 8 columns: whole units as integers, fractions with as
// many decimals as the columns hold.
std::string fmt_coord(double units);
std::string header_line(const std::string& data_code, long long record_lines);
// Counts of lines (record lines with their continuation lines) of each kind.
std::string counts_line(long long total, long long node_lines, long long link_lines, long long area_lines,
                        long long ledger_lines);
std::string node_line(const std::string& mesh, int serial, double x, double y);

struct GenLink {
    std::string mesh;                 // 6 characters
    int number = 0;
    std::vector<std::pair<double, double>> xy;  // units of 1/36000 degree
};
std::vector<std::string> link_lines(const GenLink& link);

struct GenRef {
    std::string mesh;
    int number = 0;  // negative: walked backwards
    int code = 0;    // 1: the reader leaves the reference out
};
struct GenArea {
    int serial = 0;
    long long attr_no = 0;
    std::vector<GenRef> refs;
};
std::vector<std::string> area_lines(const GenArea& area);

// The ledger record of a data item: its joined text laid out as the item's field map says (values at the
// field positions), cut into lines; the line count field holds their number.
std::vector<std::string> ledger_lines(int data_id, long long attr_no, int flag);

// One area file: header, counts and the record lines of each kind in reading order (CP932 bytes, CR LF).
void write_area_file(const std::string& path, const std::string& data_code, const std::vector<std::string>& node_part,
                     const std::vector<std::string>& link_part, const std::vector<std::string>& area_part,
                     const std::vector<std::string>& ledger_part);

// ---- the generator ----

struct AreaGenOptions {
    int data_id = 3;
    int cols = 4, rows = 3;          // grid of areas; cols * rows * 2 links, about
    int vertices_per_link = 12;      // vertices of each boundary link, its two nodes included
    int files = 1;                   // vertical strips; boundary links of two strips are in both files
    bool islands = false;            // rural items: a flag-2 island inside every other flag-1 cell
    double gap_degrees = 0;          // > 0: gap_links boundary links get their last vertex moved this far
    int gap_links = 0;
    int duplicate_areas = 0;         // area records repeated under their attribute number
    int zero_area_areas = 0;         // areas that walk one link out and back
    int skipped_references = 0;      // references with code 1 added to areas
    int missing_link_refs = 0;       // references to links that no file holds, added to areas
    std::string data_code;           // empty: the data item's own code; else another item's code
    double origin_x = 139.0 * 36000; // south-west corner, units of 1/36000 degree
    double origin_y = 35.5 * 36000;
    double cell_units = 0;           // 0: chosen from vertices_per_link
    std::uint32_t seed = 1;
};

struct AreaGenResult {
    std::vector<std::string> files;
    std::map<long long, std::string> ledgers;  // attribute number -> joined ledger text (CP932)
    long long links = 0, vertices = 0, areas = 0;
    std::vector<long long> zero_area_attrs;      // attribute numbers that cannot become polygons
    std::vector<long long> island_attrs;         // flag-2 areas that lie inside a flag-1 cell
};

// Writes base + "_1.txt" ... (or base + ".txt" for one file).
AreaGenResult generate_area_files(const std::string& base, const AreaGenOptions& options);

// The data code of a library data item (A12-60A for 3, N03-06A for 8, ...).
std::string area_data_code(int data_id);

// ---- area-structure files of the boundary-line and representative-point converter ----
//
// The same partition written for the main program's area loader: nodes and links with their ends,
// representative points inside their areas with their mesh code, and "DA" ledgers laid out from a
// catalogue row (items one after another from column 17 by their byte widths). The model holds every
// value as the loader stores it, so tests compare the loaded tables with it.

// One item of an area catalogue row.
struct AreaLedgerItemDef {
    std::string name;  // UTF-8
    std::string type;  // "Integer", "Long", "Text", "Text1", "Text2"
    int width = 0;     // bytes; derived items take none in the record
    bool output = true;
};

// The items of an area row as our catalogue describes them (rows 7 and 8 with their derived items).
std::vector<AreaLedgerItemDef> area_ledger_items(int row);
// The header key (data code) of an area row.
std::string area_row_header_key(int row);

struct AreaStructureOptions {
    AreaGenOptions grid;            // cols, rows, vertices_per_link, files, origin, cell_units, seed
    int row = 3;                    // area row whose ledger rules the records follow
    std::vector<AreaLedgerItemDef> items;  // empty: area_ledger_items(row)
    int header_row = -1;            // >= 0: the files carry the header key of this other area row
    bool blank_optional_fields = false;  // blank node attribute and counterpart, link attribute, some values
    int links_without_vertices = 0; // the first k links declare no vertex
    int areas_without_ledger = 0;   // the first k areas get no "DA" record
    int repeated_ledgers = 0;       // the first k "DA" records are written again with other values
    long long first_attribute = 1;  // attribute number of the first area
};

struct AreaNodeModel {
    std::string mesh;
    int serial = 0;
    long long x = 0, y = 0;
    std::optional<long long> attribute, pair_mesh, pair_number;
};
struct AreaLinkModel {
    std::string start_mesh, end_mesh;
    int start_number = 0, end_number = 0, serial = 0;
    std::optional<long long> attribute;
    std::vector<std::pair<long long, long long>> vertices;
};
struct AreaAreaModel {
    std::string mesh;  // mesh code of the representative point
    long long x = 0, y = 0;
    int serial = 0;
    long long attribute = 0;
    std::vector<GenRef> refs;  // code: the reference's flag
};
struct AreaLedgerModel {
    long long attribute = 0;
    int line_count = 1;
    std::vector<std::string> values;  // per item, as stored (UTF-8; empty: nothing stored)
    std::vector<std::string> lines;   // the record's lines (CP932)
};
struct AreaStructureFile {
    std::string path;
    std::vector<AreaNodeModel> nodes;
    std::vector<AreaLinkModel> links;
    std::vector<AreaAreaModel> areas;
    std::vector<AreaLedgerModel> ledgers;  // the loaded ones: a repeated record is written but not here
};
struct AreaStructureModel {
    int row = 0;
    std::string header_key;
    std::vector<AreaLedgerItemDef> items;
    std::vector<AreaStructureFile> files;
};

// Writes base + ".txt" (one file) or base + "_1.txt" ... and gives the model.
AreaStructureModel generate_area_structure_files(const std::string& base, const AreaStructureOptions& options);

// An area-table catalogue row that describes generated files: name and header key (UTF-8, stored as
// CP932) and the items in order, numbered from 1.
void fill_area_layer_row(LayerDef& row, const std::string& name, const std::string& header_key,
                         const std::vector<AreaLedgerItemDef>& items);

// The catalogue lines of the model's row: a "DataDBF.csv" line and the "DataDBFItem.csv" lines (CP932,
// without line ends), named `name` (UTF-8).
std::string area_catalogue_line(const AreaStructureModel& model, const std::string& name);
std::vector<std::string> area_catalogue_item_lines(const AreaStructureModel& model, const std::string& name);

}  // namespace velmora::datagen
