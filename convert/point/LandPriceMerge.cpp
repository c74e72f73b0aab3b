#include "convert/point/LandPriceMerge.h"

#include <algorithm>
#include <span>

#include "convert/core/ConversionProgress.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/core/RunningNumber.h"
#include "convert/point/LandPriceFixed.h"
#include "convert/point/PointDb.h"
#include "convert/point/PointHeader.h"
#include "convert/point/PointNumberFit.h"
#include "convert/point/PointProgress.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFiles.h"
#include "platform/db/Names.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace ModPoint {

using namespace velmora;

namespace {

std::string itemColumn(const LayerDef& layer, int k) {
    return db::quoteName(text::fromCp932(layer.ItemName.at(static_cast<std::size_t>(k))));
}

// The number of distinct locations: X, Y and items 1 to 5.
std::string locationCountSql(const LayerDef& layer) {
    std::string columns = db::quoteName(kXField) + ", " + db::quoteName(kYField);
    for (int k = 1; k <= std::min<int>(kLastPointTableItem, layer.ItemCount); ++k) columns += ", " + itemColumn(layer, k);
    return "SELECT COUNT(*) FROM (SELECT 1 FROM " + db::quoteName(kPointTable) + " GROUP BY " + columns + ")";
}

// Every location in the order of its first record, with the rowid of its attribute rows. The loaders add
// one row to each of the three tables per record, so rows of one record share their rowid, and the first
// attribute rows at a location's coordinates are those of the first record loaded at them (MIN(rowid) over
// X and Y alone):
//   SELECT loc.X, loc.Y, loc.items 1-5, xy.r FROM
//     (SELECT X, Y, items 1-5, MIN(rowid) AS first FROM ポイントデータ GROUP BY X, Y, items 1-5) AS loc
//     JOIN (SELECT X, Y, MIN(rowid) AS r FROM ポイントデータ GROUP BY X, Y) AS xy ON xy.X = loc.X AND xy.Y = loc.Y
//   ORDER BY loc.first
// The attributes are read by rowid (attributeRowSql) rather than joined in: sorting the joined rows would
// sort every attribute of every location, where these rows are a few columns wide.
std::string mergedLocationsSql(const LayerDef& layer) {
    const std::string x = db::quoteName(kXField), y = db::quoteName(kYField);
    std::string items;
    for (int k = 1; k <= std::min<int>(kLastPointTableItem, layer.ItemCount); ++k) items += ", " + itemColumn(layer, k);
    std::string columns = "loc." + x + ", loc." + y;
    for (int k = 1; k <= std::min<int>(kLastPointTableItem, layer.ItemCount); ++k) columns += ", loc." + itemColumn(layer, k);
    const std::string points = db::quoteName(kPointTable);
    return "SELECT " + columns + ", xy.\"$r\" FROM (SELECT " + x + ", " + y + items + ", MIN(rowid) AS \"$first\" FROM " +
           points + " GROUP BY " + x + ", " + y + items + ") AS loc JOIN (SELECT " + x + ", " + y +
           ", MIN(rowid) AS \"$r\" FROM " + points + " GROUP BY " + x + ", " + y + ") AS xy ON xy." + x + " = loc." + x +
           " AND xy." + y + " = loc." + y + " ORDER BY loc.\"$first\"";
}

// The row of an attribute table at a rowid: the rowid, then items first .. min(last, ItemCount).
std::string attributeRowSql(const LayerDef& layer, const char* table, int first, int last) {
    std::string columns = "rowid";
    for (int k = first; k <= std::min<int>(last, layer.ItemCount); ++k) columns += ", " + itemColumn(layer, k);
    return "SELECT " + columns + " FROM " + db::quoteName(table) + " WHERE rowid = ?";
}

// One value line of items first .. last (written items only), with the key when one is given; location
// `id` names the record of a number too wide for its field.
void writeItems(text::LineWriter& out, const LayerDef& layer, const MergedLocation& location, int first, int last,
                std::int32_t id, const std::string* key) {
    std::vector<std::string> values;
    for (int k = first; k <= std::min<int>(last, layer.ItemCount); ++k)
        if (layer.ItemOutput.at(static_cast<std::size_t>(k))) values.push_back(location.item(k));
    fitNumbers(layer, first, last, values, [id] { return text::toCp932("レコード：") + std::to_string(id); });
    if (key) values.push_back(*key);
    shapedesc::writeDbfItem(out, std::span<const std::string>(values));
}

// Loads a fixed-column file after its header check; false after a message. A file of another item is
// logged and skipped.
bool loadFixedColumnFile(db::Database& database, const std::string& file) {
    const InputStart start = openPointInput(file);
    if (start == InputStart::Failed) return false;
    return start == InputStart::Skipped || SetPointTextToTbl1(database, file);
}

// Degrees of stored coordinates in 1/36000 degree.
bool fixedColumnDegrees(const db::Query& row, int column, double& degrees) {
    return ModPolygon::XYtoData(static_cast<double>(row.asLong(column)), degrees);
}

// The database, the loading, one record block per location that has rows in both attribute tables. False
// after a message, or without one when nothing was loaded.
bool writeLocations(db::Database& database, const std::vector<std::string>& files, bool split,
                    const LandPriceMergeInput& input) {
    // The merge looks nothing up by coordinates (mergedLocationsSql), so the tables go without indexes;
    // the rows are appended and read in a few passes: a small cache, no memory mapping.
    if (!MakePointDb(IndexTiming::Omitted, input.coordinates)) return false;
    database = db::Database::open(PointDbPath());
    database.query("PRAGMA mmap_size=0").next();
    database.query("PRAGMA cache_size=-8192").next();
    for (const std::string& file : files)
        if (!text::trimBlanks(file).empty() && !input.load(database, file)) return false;
    ConversionState& s = conversionState();
    const LayerDef& layer = selectedPointLayer();
    db::Query count = database.query(locationCountSql(layer));
    count.next();
    const std::int32_t n = count.asLong(0);
    if (n == 0) return false;
    showWriterProgress(n);
    db::Query locations = database.query(mergedLocationsSql(layer));
    db::Query attr1 = database.query(attributeRowSql(layer, kAttrTable1, kLastPointTableItem + 1, kLastAttrTable1Item));
    db::Query attr2 =
        database.query(attributeRowSql(layer, kAttrTable2, kLastAttrTable1Item + 1, static_cast<int>(LayerDef::MaxItem)));
    const int rowColumn = 2 + std::min<int>(kLastPointTableItem, layer.ItemCount);
    text::LineWriter& h = s.FilHFileNo.file();
    text::LineWriter& d = s.FilDFileNo.file();
    std::int32_t id = 1;
    while (locations.next()) {
        // A location without both attribute rows is passed over, as an inner join would leave it out.
        const std::int64_t row = locations.asDouble(rowColumn);
        if (!attr1.bind(1, row).next() || !attr2.bind(1, row).next()) continue;
        double dx = 0, dy = 0;
        if (!input.degrees(locations, 0, dx) || !input.degrees(locations, 1, dy)) return false;
        shapedesc::writeLinkIdx(d, id);
        shapedesc::writeLinkData(d, dx, dy);
        shapedesc::writeLinkNo(h, id);
        const MergedLocation location(locations, attr1, attr2);
        if (!(split ? MakeShapeDbfData_Chika2(location, id) : MakeShapeDbfData_Chika3(location, id))) return false;
        ModLine::incremented(id);
        progress::step();
    }
    return true;
}

void dropDatabase(db::Database& database) {
    try {
        database.closeToDelete();
        db::removeFile(PointDbPath());
    } catch (...) {
    }
}

}  // namespace

std::string MergedLocation::item(int k) const {
    // The location's columns 0 and 1 are the coordinates; the attribute rows begin with their rowid.
    if (k <= kLastPointTableItem) return location_.asText(k + 1);
    if (k <= kLastAttrTable1Item) return attr1_.asText(k - kLastPointTableItem);
    return attr2_.asText(k - kLastAttrTable1Item);
}

bool MakeShapeDbfData_Chika2(const MergedLocation& location, std::int32_t id) {
    try {
        ConversionState& s = conversionState();
        const LayerDef& layer = selectedPointLayer();
        const std::string key = std::to_string(id);
        writeItems(s.FilHFileNo.file(), layer, location, 1, kLandPriceBasicItems, id, &key);
        writeItems(s.FilZFileNo.file(), layer, location, kLandPriceBasicItems + 1, kFirstTableLastItem, id, &key);
        if (layer.ItemCount > kFirstTableLastItem)
            writeItems(s.FilZ2FileNo.file(), layer, location, kFirstTableLastItem + 1, layer.ItemCount, id, &key);
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint MakeShapeDbfData_Chika2)");
        return false;
    }
}

bool MakeShapeDbfData_Chika3(const MergedLocation& location, std::int32_t id) {
    try {
        const LayerDef& layer = selectedPointLayer();
        writeItems(conversionState().FilHFileNo.file(), layer, location, 1, layer.ItemCount, id, nullptr);
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint MakeShapeDbfData_Chika3)");
        return false;
    }
}

bool mergeLandPriceFiles(const std::vector<std::string>& files, bool split, const char* procedure,
                         const LandPriceMergeInput& input) {
    ConversionState& s = conversionState();
    db::Database database;
    try {
        bool ok = writeLocations(database, files, split, input);
        s.InFileNo.closeQuietly();
        if (ok && !split) {
            shapedesc::closePair();
            progress::setCaption("Shapeﾌｧｲﾙ出力中・・・");
            ui::service().yield();
            ok = shapedesc::runShapeWriterOnPair(shapedesc::PairDeletion::Never);
            if (ok) ui::service().yield();
        }
        if (!split && !ok) shapedesc::closePair();
        dropDatabase(database);
        return ok;
    } catch (const std::exception& e) {
        ui::showError(e, std::string("Error: ModPoint (ModPoint ") + procedure + ")");
        s.InFileNo.closeQuietly();
        if (!split) shapedesc::closePair();
        dropDatabase(database);
        return false;
    }
}

bool MakePoint_Chika2(const std::vector<std::string>& files) {
    return mergeLandPriceFiles(files, true, "MakePoint_Chika2", {Coordinates::Whole, loadFixedColumnFile, fixedColumnDegrees});
}

bool MakePoint_Chika3(const std::vector<std::string>& files) {
    return mergeLandPriceFiles(files, false, "MakePoint_Chika3", {Coordinates::Whole, loadFixedColumnFile, fixedColumnDegrees});
}

}  // namespace ModPoint
