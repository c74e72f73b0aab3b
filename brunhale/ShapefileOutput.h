#pragma once
// The .shp and .shx of one output, written through shapelib under a temporary base name.
#include <shapefil.h>

#include <string>
#include <vector>

#include "brunhale/PairFormat.h"
#include "brunhale/SizeLimits.h"
#include "brunhale/TrackedFiles.h"

namespace velmora::brunhale {

class ShapefileOutput {
public:
    // base: UTF-8 path without extension; kind: 1, 3, 4 or 7.
    ShapefileOutput(const std::string& base, ShapeKind kind, TrackedFiles& files);
    ~ShapefileOutput();
    ShapefileOutput(const ShapefileOutput&) = delete;
    ShapefileOutput& operator=(const ShapefileOutput&) = delete;

    void writeNull();
    void writePoint(double x, double y);
    // A polyline or polygon; partStarts holds the 0-based first vertex of each part.
    void writeParts(const std::vector<int>& partStarts, std::vector<double>& xs, std::vector<double>& ys);
    // Closes both files; throws Failure(NotWritable) when anything failed to be written.
    void close();

private:
    void write(SHPObject* object, std::uint64_t bytes);

    SHPHandle handle_ = nullptr;
    int type_;
    std::string path_;
    SizeBudget budget_;
};

}  // namespace velmora::brunhale
