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

// The distinct locations in the order of first load: X, Y and items 1 to 5.
std::string locationsSql(const LayerDef& layer) {
    std::string columns = db::quoteName(kXField) + ", " + db::quoteName(kYField);
    for (int k = 1; k <= std::min<int>(kLastPointTableItem, layer.ItemCount); ++k) columns += ", " + itemColumn(layer, k);
    return "SELECT " + columns + " FROM " + db::quoteName(kPointTable) + " GROUP BY " + columns +
           " ORDER BY MIN(rowid)";
}

std::string lookupSql(const char* table) {
    return std::string("SELECT * FROM ") + db::quoteName(table) + " WHERE " + db::quoteName(kXField) + " = ?1 AND " +
           db::quoteName(kYField) + " = ?2 ORDER BY rowid";
}

// One value line of items first .. last (written items only), with the key when one is given.
void writeItems(text::LineWriter& out, const LayerDef& layer, const MergedLocation& location, int first, int last,
                const std::string* key) {
    std::vector<std::string> values;
    for (int k = first; k <= std::min<int>(last, layer.ItemCount); ++k)
        if (layer.ItemOutput.at(static_cast<std::size_t>(k))) values.push_back(location.item(k));
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
    if (!MakePointDb(IndexTiming::WithTable, input.coordinates)) return false;
    database = db::Database::open(PointDbPath());
    for (const std::string& file : files)
        if (!text::trimBlanks(file).empty() && !input.load(database, file)) return false;
    ConversionState& s = conversionState();
    const LayerDef& layer = selectedPointLayer();
    db::Query count = database.query("SELECT COUNT(*) FROM (" + locationsSql(layer) + ")");
    count.next();
    const std::int32_t n = count.asLong(0);
    if (n == 0) return false;
    showWriterProgress(n);
    db::Query locations = database.query(locationsSql(layer));
    db::Query attr1 = database.query(lookupSql(kAttrTable1));
    db::Query attr2 = database.query(lookupSql(kAttrTable2));
    text::LineWriter& h = s.FilHFileNo.file();
    text::LineWriter& d = s.FilDFileNo.file();
    std::int32_t id = 1;
    while (locations.next()) {
        for (db::Query* q : {&attr1, &attr2}) {
            // Bound as stored: whole numbers or reals by the table's coordinate fields.
            if (input.coordinates == Coordinates::Real) q->bind(1, locations.asDouble(0)).bind(2, locations.asDouble(1));
            else q->bind(1, locations.asLong(0)).bind(2, locations.asLong(1));
        }
        if (attr1.next() && attr2.next()) {
            double dx = 0, dy = 0;
            if (!input.degrees(locations, 0, dx) || !input.degrees(locations, 1, dy)) return false;
            shapedesc::writeLinkIdx(d, id);
            shapedesc::writeLinkData(d, dx, dy);
            shapedesc::writeLinkNo(h, id);
            const MergedLocation location(locations, attr1, attr2);
            if (!(split ? MakeShapeDbfData_Chika2(location, id) : MakeShapeDbfData_Chika3(location, id))) return false;
            ModLine::incremented(id);
        }
        progress::step();
    }
    return true;
}

void dropDatabase(db::Database& database) {
    try {
        database.close();
        db::removeFile(PointDbPath());
    } catch (...) {
    }
}

}  // namespace

std::string MergedLocation::item(int k) const {
    const LayerDef& layer = selectedPointLayer();
    const db::Query& row = k <= kLastPointTableItem ? point_ : k <= kLastAttrTable1Item ? attr1_ : attr2_;
    return row.asText(text::fromCp932(layer.ItemName.at(static_cast<std::size_t>(k))));
}

bool MakeShapeDbfData_Chika2(const MergedLocation& location, std::int32_t id) {
    try {
        ConversionState& s = conversionState();
        const LayerDef& layer = selectedPointLayer();
        const std::string key = std::to_string(id);
        writeItems(s.FilHFileNo.file(), layer, location, 1, kLandPriceBasicItems, &key);
        writeItems(s.FilZFileNo.file(), layer, location, kLandPriceBasicItems + 1, kFirstTableLastItem, &key);
        if (layer.ItemCount > kFirstTableLastItem)
            writeItems(s.FilZ2FileNo.file(), layer, location, kFirstTableLastItem + 1, layer.ItemCount, &key);
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint MakeShapeDbfData_Chika2)");
        return false;
    }
}

bool MakeShapeDbfData_Chika3(const MergedLocation& location, std::int32_t) {
    try {
        const LayerDef& layer = selectedPointLayer();
        writeItems(conversionState().FilHFileNo.file(), layer, location, 1, layer.ItemCount, nullptr);
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
