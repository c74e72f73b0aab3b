#pragma once
// Point files of the data set for tests and benchmarks, all from one layer description: the catalogue row,
// fixed-column files (header line and "P" records, items at their catalogue byte positions), comma- and
// tab-separated files with the rows of their item layout file, and the same points as a UTF-8 CSV in
// degrees with its .csvt for ogr2ogr. Points are drawn from a seed, one at a time, so files of millions of
// points are written without holding them; every point's mesh code is the one its coordinates lie in.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "convert/core/LayerDef.h"

namespace velmora::gen {

// What an item holds: a value of its own, or the point's X or Y (delimited files take their coordinates
// from the columns of the items flagged X and Y in the item layout file).
enum class PointRole { Value, X, Y };

struct PointGenItem {
    std::string name;  // UTF-8
    std::string type;  // "Integer", "Long", "Text", "Text1", "Text2", "Text3"
    int width = 1;     // bytes
    bool output = true;
    PointRole role = PointRole::Value;
    std::string spec;  // the item layout's sub-field spec (field 10)
    std::string value; // when not empty, the value of every point
    int start = 0;     // 1-based byte of a fixed-column record; set by pointLayer
};

// An item of its own value; the item holding X or Y (a Long of 8 bytes, not written).
PointGenItem valueItem(std::string name, std::string type, int width, bool output = true, std::string spec = {});
PointGenItem coordinateItem(std::string name, PointRole role);

struct PointGenLayer {
    std::string name;       // UTF-8
    std::string headerKey;  // written into the data-code columns of the header line
    std::vector<PointGenItem> items;
};

// Lays the items out: X at bytes 10-17, Y at 18-25 (the record's coordinate columns), every other item
// after the one before it from byte 26 on.
PointGenLayer pointLayer(const std::string& name, const std::string& headerKey, std::vector<PointGenItem> items);
// X and Y (not written), two double-byte texts and two numbers.
PointGenLayer standardPointLayer(const std::string& name = "発電所", const std::string& headerKey = "P03");
// The port layer's shape: `items` items (at most 593) of 4 bytes, every third a text, the rest numbers.
PointGenLayer portLayer(int items = 593, const std::string& headerKey = "C02");
// A land-price layer (row 8's name) in the column layout of 2001: items 1 to 59 alternate texts and numbers,
// the yearly items 60 on are numbers; `items` items of 4 bytes.
PointGenLayer landPriceLayer(int items = 277, const std::string& headerKey = "L01");
// The land-price layer of delimited files: X and Y in arc-seconds (columns 1 and 2), a name, a class cut by
// an "M" spec from column 4, a price, the data year `year` in column 6 (where the year check finds it
// after a first field that is not 6 characters long), then `more` numbers.
PointGenLayer landPriceCsvLayer(const std::string& year, int more = 4);

// A catalogue row of the point table for the layer (texts as CP932, as the catalogue loader stores them).
void fillPointLayerRow(LayerDef& row, const PointGenLayer& layer);

struct PointFileOptions {
    long points = 10;
    unsigned seed = 1;
    long first = 0;  // index of the first point: files of overlapping ranges share their points
    std::string year = "2008";  // the data year in the header line
    std::optional<std::string> headerKey;  // another item's key: a file of another data item
    // Every k-th point (counting from 1; 0 never): a blank Y, an X of "9999999", a mesh code of letters.
    long blankYEvery = 0;
    long invalidXEvery = 0;
    long badMeshEvery = 0;
    // After every k-th point: a blank line, a line of another record kind.
    long blankLineEvery = 0;
    long otherLineEvery = 0;
    // Delimited files: text values in quotation marks; coordinates in arc-seconds with their tenths (as the
    // land-price files hold them) instead of degrees.
    bool quoted = false;
    bool arcSeconds = false;
};

struct GenPoint {
    std::string mesh;  // 6 characters
    long x = 0, y = 0; // 1/36000 degree
    bool blankY = false, invalidX = false;
    std::vector<std::string> values;  // UTF-8, one per item (coordinate items hold the coordinate text)
};

// Point `index` of the options' sequence, as every writer below writes it.
GenPoint genPoint(const PointGenLayer& layer, const PointFileOptions& options, long index);
// A coordinate in arc-seconds with its tenth ("486000.5").
std::string arcSecondsText(long units);
// A coordinate in degrees as the converters write it (six decimals at most, no trailing zeros).
std::string degreesText(long units);
// The second-level mesh code of a point.
int meshCodeOf(long x, long y);

// The common header line: the key in the data-code columns, the record count in columns 34-41.
std::string pointHeaderLine(const std::string& headerKey, long records, const std::string& year = "2008");
// A "P" record: mesh code, X, Y and the items at their bytes (numbers right-aligned); CP932.
std::string pointRecord(const PointGenLayer& layer, const GenPoint& point);

void writeFixedPointFile(const std::string& path, const PointGenLayer& layer, const PointFileOptions& options);
// A heading line of the item names, then one line per point: item n in column n; coordinates in degrees.
void writeDelimitedPointFile(const std::string& path, const PointGenLayer& layer, const PointFileOptions& options,
                             char separator);
// The item layout rows of the layer (CP932): item n's source column n, its spec, the X and Y flags.
std::vector<std::string> csvLayoutRows(const PointGenLayer& layer);
// The item layout file: its heading line and the rows of the layers.
void writeCsvLayoutFile(const std::string& path, const std::vector<PointGenLayer>& layers);
// The same points for ogr2ogr: UTF-8, columns X and Y in degrees and the written items, and the .csvt
// beside it (path with "t" appended) giving each column's type. Points with blank or invalid coordinates
// are left out, as the converters leave them out.
void writeOgrCsv(const std::string& path, const PointGenLayer& layer, const PointFileOptions& options);

}  // namespace velmora::gen
