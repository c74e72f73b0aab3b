#pragma once
// The attached outputs of an area data item, written from the loaded work database through the
// intermediate shape description and Brunhale: the boundary lines (base + "_L", one line per distinct
// link) and the representative points (base + "_P", one point per area with a ledger row, carrying the
// ledger). Each writer owns the pair for its run and deletes it at its end.
#include <functional>
#include <string>

namespace velmora::db {
class Database;
}

namespace velmora::ModPolygon {

// What a writer does with the shapefile it wrote, before it deletes the pair: the job procedure passes
// the application's question whether to add it to the map. Converters know nothing of the map, so
// without an offer nothing is asked.
using MapOffer = std::function<void(const std::string& shapefilePath)>;

// True: the writer ran to its end (also when Brunhale failed, with its message, or when a selection held
// no data, with the no-data message); the job goes on. False: it stopped after its error box, or, for the
// whole-database writers, without a message when the database holds no link or area at all.
bool MakeShapeArcFileData(velmora::db::Database& db, const MapOffer& offerToMap = {});
bool MakeShapeArcFileData_Select(velmora::db::Database& db, const MapOffer& offerToMap = {});
bool MakeShapePolygon_PointFileData(velmora::db::Database& db, const MapOffer& offerToMap = {});
bool MakeShapePolygon_PointFileData_Select(velmora::db::Database& db, const MapOffer& offerToMap = {});

// The boundary lines' LINKIDX field is 6 wide unless the job's running link number passed 999999.
int LinkIdxFieldWidth();

}  // namespace velmora::ModPolygon
