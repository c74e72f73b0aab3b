#pragma once
// The .shp and .shx of one output, written through shapelib under temporary names.
#include <shapefil.h>

#include <string>
#include <vector>

#include "brunhale/PairFormat.h"
#include "brunhale/SizeLimits.h"
#include "brunhale/TrackedFiles.h"

namespace velmora::brunhale {

// Every ring of a polygon ends where it starts: a ring that does not is closed by repeating its first
// vertex, as the shapefile format requires. partStarts holds the 0-based first vertex of each ring.
void closeRings(std::vector<int>& partStarts, std::vector<double>& xs, std::vector<double>& ys);

class ShapefileOutput {
public:
    // shpPath: UTF-8 path ending in ".shp" (the .shx goes beside it); kind: 1, 3, 4 or 7.
    ShapefileOutput(const std::string& shpPath, ShapeKind kind, TrackedFiles& files);
    ~ShapefileOutput();
    ShapefileOutput(const ShapefileOutput&) = delete;
    ShapefileOutput& operator=(const ShapefileOutput&) = delete;

    void writeNull();
    void writePoint(double x, double y);
    // A polyline or polygon (its rings closed first); partStarts holds the 0-based first vertex of each part.
    void writeParts(const std::vector<int>& partStarts, std::vector<double>& xs, std::vector<double>& ys);
    // Closes both files; throws Failure(NotWritable) when anything failed to be written.
    void close();

private:
    void write(SHPObject* object, std::uint64_t bytes);

    SHPHandle handle_ = nullptr;
    int type_;
    std::string path_;
    SizeBudget budget_;
    std::vector<int> partStarts_;
};

}  // namespace velmora::brunhale
