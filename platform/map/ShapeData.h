#pragma once
// Every shape of a layer in memory, in flat arrays (a nationwide layer holds hundreds of thousands of
// small shapes, so no allocation per shape), with the bounding box of each shape and their index.
// Record n of the file is shape n, null shapes included (they have no parts and an empty box).
#include "platform/map/BoxIndex.h"
#include "platform/map/MapShape.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::map {

struct ShapeData {
    int shapeType = 0;
    std::vector<double> xy;                 // x, y of every point in file order
    std::vector<std::uint32_t> partStart;   // first point of each part; one more entry closes the last part
    std::vector<std::uint32_t> shapePart;   // first part of each shape; one more entry closes the last shape
    std::vector<MapRect> boxes;             // per shape
    MapRect extent;
    BoxIndex index;

    std::size_t count() const { return boxes.size(); }
    MapShape shape(std::size_t n) const;
    std::size_t memoryBytes() const;
};

// Reads the shapefile at exactly this path (its .shx found by companionFile). Throws RunTimeError 321
// "Invalid file format" naming the path when it is not a readable shapefile.
ShapeData readShapeFile(const std::string& path);

inline constexpr int InvalidFileFormat = 321;

}  // namespace velmora::map
