#pragma once
// The .shp/.shx half of a run: pairs record blocks with the vertex lists of the coordinate file (read
// ahead by a CoordinateFeed) and writes each shape. It needs nothing of a record block but its id, line,
// point count and part starts, so it runs in a RecordWorker of its own beside the table.
#include <cstdint>
#include <vector>

#include "brunhale/CoordinateFeed.h"
#include "brunhale/PairFormat.h"

namespace velmora::brunhale {

class ShapefileOutput;

// What the shape of one record block needs of it.
struct ShapeItem {
    long line = 0;
    std::int64_t id = 0;
    int points = 0;
    std::vector<int> partStarts;
    void take(const RecordBlock& rec);
};

class ShapePairing {
public:
    // coords has read its first line; it and shp are the pairing's alone from here on.
    ShapePairing(ShapeKind kind, CoordinateFileReader& coords, ShapefileOutput& shp);
    // The shape of the next record block.
    void write(const ShapeItem& item);
    // Once every record block was written: fails for a vertex list that no record block took.
    void checkNoListLeft() const;

private:
    const ShapeKind kind_;
    CoordinateFeed coords_;
    ShapefileOutput& shp_;
    std::vector<double> xs_, ys_;
};

}  // namespace velmora::brunhale
