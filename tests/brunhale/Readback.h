#pragma once
// Reads outputs back with shapelib, independently of how Brunhale wrote them.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::testsupport {

struct ShapeRead {
    int type = 0;  // SHPT_*
    std::vector<int> partStarts;
    std::vector<std::pair<double, double>> vertices;
};

struct ShapefileRead {
    int type = 0;
    std::vector<ShapeRead> shapes;
};

// base + ".shp" / ".shx"; throws when they cannot be opened.
ShapefileRead readShapefile(const std::string& base);

struct FieldRead {
    std::string name;  // UTF-8
    char type = 0;
    int width = 0;
    int decimals = 0;
    bool operator==(const FieldRead&) const = default;
};

struct TableRead {
    std::vector<FieldRead> fields;
    // Cells as stored (UTF-8, trailing blanks of text removed by shapelib), nullopt for NULL.
    std::vector<std::vector<std::optional<std::string>>> rows;
    int languageDriver = -1;  // byte 29 of the file
    std::vector<std::string> rawCells;  // every cell's bytes exactly as on disk, row by row
};

TableRead readTable(const std::string& dbfPath);

}  // namespace velmora::testsupport
