#pragma once
// Several fixed-column land-price files merged through the point work database: one point per distinct
// row of coordinates and items 1 to 5, in the order of first load, its other items from the first rows of
// 属性データ1 and 属性データ2 at the same coordinates.
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::db {
class Query;
}

namespace ModPoint {

// The value of item k of a merged location as stored (empty for Null): items 1 to 5 from the merged row,
// 6 to 200 from the 属性データ1 row, the rest from the 属性データ2 row; each read by its name.
class MergedLocation {
public:
    MergedLocation(const velmora::db::Query& point, const velmora::db::Query& attr1, const velmora::db::Query& attr2)
        : point_(point), attr1_(attr1), attr2_(attr2) {}
    std::string item(int k) const;

private:
    const velmora::db::Query& point_;
    const velmora::db::Query& attr1_;
    const velmora::db::Query& attr2_;
};

// The split value lines of a merged location (the ranges of the split header blocks), each with the id.
bool MakeShapeDbfData_Chika2(const MergedLocation& location, std::int32_t id);
// The one value line of a merged location in an unsplit output (written items, no id).
bool MakeShapeDbfData_Chika3(const MergedLocation& location, std::int32_t id);

// Several files into the split outputs (the job runs the shape writer), or into one shapefile, for which
// the driver runs the shape writer itself. A file of another data item is logged and skipped. False after a
// message, and without one when no location was loaded.
bool MakePoint_Chika2(const std::vector<std::string>& files);
bool MakePoint_Chika3(const std::vector<std::string>& files);

}  // namespace ModPoint
