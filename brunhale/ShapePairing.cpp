#include "brunhale/ShapePairing.h"

#include <string>

#include "brunhale/Failure.h"
#include "brunhale/ShapefileOutput.h"

namespace velmora::brunhale {

void ShapeItem::take(const RecordBlock& rec) {
    line = rec.line;
    id = rec.id;
    points = rec.points;
    partStarts.assign(rec.partStarts.begin(), rec.partStarts.end());
}

ShapePairing::ShapePairing(ShapeKind kind, CoordinateFileReader& coords, ShapefileOutput& shp)
    : kind_(kind), coords_(coords), shp_(shp) {}

// Record blocks and vertex lists are paired by walking both files in order: a block takes the next vertex
// list when the ids agree, otherwise its shape is null (a mesh cell whose ring was written under the id of
// an earlier record; every station carries id 1 and so pairs in turn).
void ShapePairing::write(const ShapeItem& s) {
    if (!coords_.hasList() || coords_.nextId() != s.id) {
        shp_.writeNull();
        return;
    }
    const long listLine = coords_.nextLine();
    coords_.takeList(xs_, ys_);
    if (kind_ == ShapeKind::Point) {
        if (xs_.empty()) shp_.writeNull();
        else if (xs_.size() == 1) shp_.writePoint(xs_[0], ys_[0]);
        else malformedAt(CoordinateFileName, listLine, "point " + std::to_string(s.id) + " has " + std::to_string(xs_.size()) + " vertices");
        return;
    }
    if (static_cast<int>(xs_.size()) != s.points)
        malformedAt(HeaderFileName, s.line,
                    "PARTS_POINTS of " + std::to_string(s.id) + " gives " + std::to_string(s.points) +
                        " points, its vertex list (" + CoordinateFileName + " line " + std::to_string(listLine) +
                        ") has " + std::to_string(xs_.size()));
    if (xs_.empty()) shp_.writeNull();
    else shp_.writeParts(s.partStarts, xs_, ys_);
}

void ShapePairing::checkNoListLeft() const {
    if (coords_.hasList())
        malformedAt(CoordinateFileName, coords_.nextLine(),
                    "vertex list " + std::to_string(coords_.nextId()) + " has no record block");
}

}  // namespace velmora::brunhale
