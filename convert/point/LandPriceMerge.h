#pragma once
// Several land-price files merged through the point work database: one point per distinct row of
// coordinates and items 1 to 5, in the order of first load, its other items from the 属性データ1 and
// 属性データ2 rows of the first record loaded at the same coordinates.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "convert/point/PointDb.h"

namespace velmora::db {
class Database;
class Query;
}

namespace ModPoint {

// The value of item k of a merged location as stored (empty for Null): items 1 to 5 of the location's own
// row of ポイントデータ, 6 to 200 of its 属性データ1 row, the rest of its 属性データ2 row, all in one row
// of the merge's query (X, Y, then every item in order).
class MergedLocation {
public:
    explicit MergedLocation(const velmora::db::Query& row) : row_(row) {}
    std::string item(int k) const;

private:
    const velmora::db::Query& row_;
};

// The split value lines of a merged location (the ranges of the split header blocks), each with the id.
bool MakeShapeDbfData_Chika2(const MergedLocation& location, std::int32_t id);
// The one value line of a merged location in an unsplit output (written items, no id).
bool MakeShapeDbfData_Chika3(const MergedLocation& location, std::int32_t id);

// How a merge loads its files and reads coordinates back: the type of the tables' X and Y fields, the
// loader of one file (false after a message), and the degrees of a stored coordinate (false after a box).
struct LandPriceMergeInput {
    Coordinates coordinates;
    std::function<bool(velmora::db::Database&, const std::string&)> load;
    std::function<bool(const velmora::db::Query&, int column, double& degrees)> degrees;
};
// The merge both kinds of land-price files share: loads the files (blank entries passed over), writes one
// point per location that has rows in both attribute tables into the split outputs or, with the shape
// writer run, into one shapefile; deletes the database. Errors show their box titled by `procedure`.
bool mergeLandPriceFiles(const std::vector<std::string>& files, bool split, const char* procedure,
                         const LandPriceMergeInput& input);

// Several files into the split outputs (the job runs the shape writer), or into one shapefile, for which
// the driver runs the shape writer itself. A file of another data item is logged and skipped. False after a
// message, and without one when no location was loaded.
bool MakePoint_Chika2(const std::vector<std::string>& files);
bool MakePoint_Chika3(const std::vector<std::string>& files);

}  // namespace ModPoint
