#pragma once
// Writer of small shapefiles for the map's tests (every kind, null shapes, holes, CP932 text and numeric
// fields, a .prj, names in upper case, header-only files) and of the nationwide mesh-cell layer that the
// map's tests and benchmark draw.
#include <string>
#include <vector>

namespace velmora::datagen {

struct GenShape {
    // Each part a list of x, y points; no parts is a null shape. A point is one part of one point; a
    // multipoint is one part of its points; polygon rings are given closed or not (they are closed).
    std::vector<std::vector<std::pair<double, double>>> parts;
};

struct GenField {
    std::string name;  // UTF-8, written as CP932
    char type = 'C';   // 'C', 'N', 'F', 'D', 'L'
    int width = 10;
    int decimals = 0;
};

struct GenShapeFile {
    int shpType = 5;  // shapelib's SHPT_* code: 1 point, 3 line, 5 polygon, 8 multipoint (and Z, M variants)
    std::vector<GenShape> shapes;
    std::vector<GenField> fields;
    std::vector<std::vector<std::string>> rows;  // UTF-8 values, one row per shape; text fields go as CP932
    bool dbf = true;
    bool prj = false;
    // The three files named ".SHP", ".SHX", ".DBF" (and ".PRJ").
    bool upperCase = false;
};

// Writes <base>.shp/.shx (and .dbf, .prj) and returns the .shp path. Throws std::runtime_error on failure.
std::string writeShapeFile(const std::string& base, const GenShapeFile& file);

// A rectangle ring (closed, clockwise as shapefiles want outer rings).
std::vector<std::pair<double, double>> rectangleRing(double left, double bottom, double right, double top);

// The nationwide layer of `cells` third-level mesh cells (45" x 30"), placed in blocks inside the
// first-level meshes along Japan's arc (122-154 E, 20-46 N), with the fields MESHCODE (C 8) and VALUE
// (N 6). Returns the .shp path.
std::string writeMeshCellLayer(const std::string& base, long cells);

}  // namespace velmora::datagen
