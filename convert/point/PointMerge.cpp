#include "convert/point/PointMerge.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "convert/core/ConversionProgress.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/core/RunningNumber.h"
#include "convert/point/PointDb.h"
#include "convert/point/PointDistinctRows.h"
#include "convert/point/PointHeader.h"
#include "convert/point/PointNumberFit.h"
#include "convert/point/PointProgress.h"
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

// The loaded rows in load order (rowid, coordinates, every item), or the one of a rowid.
std::string loadedRowsSql(const LayerDef& layer, bool oneRow) {
    std::string sql = "SELECT rowid, " + db::quoteName(kXField) + ", " + db::quoteName(kYField);
    for (int i = 1; i <= layer.ItemCount; ++i)
        sql += ", " + db::quoteName(text::fromCp932(layer.ItemName.at(static_cast<std::size_t>(i))));
    return sql + " FROM " + db::quoteName(kPointTable) + (oneRow ? " WHERE rowid = ?1" : " ORDER BY rowid");
}

// Loads the listed files; false after a message.
bool loadFiles(db::Database& database, const std::vector<std::string>& files, DistinctRows& distinct) {
    for (const std::string& file : files) {
        if (text::trimBlanks(file).empty()) continue;
        const InputStart start = openPointInput(file);
        if (start == InputStart::Failed) return false;
        if (start == InputStart::Ready && !SetPointTextToTbl2(database, file, &distinct)) return false;
    }
    return true;
}

// One record block per distinct row; false after XYtoData's message, or after the refusal of nothing to
// write when no row was loaded.
bool writeRows(db::Database& database, const DistinctRows& distinct) {
    if (distinct.count() == 0) return shapedesc::refuseNothingToWrite(), false;
    ConversionState& s = conversionState();
    const LayerDef& layer = selectedPointLayer();
    showWriterProgress(static_cast<double>(distinct.count()));
    // Columns 1 and 2 are the coordinates; item k is column k + 2.
    std::vector<int> written;
    for (int i = 1; i <= layer.ItemCount; ++i)
        if (layer.ItemOutput.at(static_cast<std::size_t>(i))) written.push_back(i + 2);
    text::LineWriter& h = s.FilHFileNo.file();
    text::LineWriter& d = s.FilDFileNo.file();
    std::vector<std::string> values(written.size());
    std::int32_t id = 1;
    db::Query rows = database.query(loadedRowsSql(layer, false));
    for (std::size_t r = 0; rows.next(); ++r) {
        if (!distinct.distinct().at(r)) continue;
        double x = 0, y = 0;
        if (!ModPolygon::XYtoData(rows.asDouble(1), x) || !ModPolygon::XYtoData(rows.asDouble(2), y)) return false;
        shapedesc::writeLinkIdx(d, id);
        shapedesc::writeLinkData(d, x, y);
        shapedesc::writeLinkNo(h, id);
        for (std::size_t v = 0; v < written.size(); ++v) values[v] = rows.asText(written[v]);
        fitNumbers(layer, 1, layer.ItemCount, values, [&] { return text::toCp932("レコード：") + std::to_string(id); });
        shapedesc::writeDbfItem(h, std::span<const std::string>(values));
        ModLine::incremented(id);
        progress::step();
    }
    return true;
}

}  // namespace

bool MakePoint_Multi(const std::vector<std::string>& files) {
    ConversionState& s = conversionState();
    db::Database database;
    try {
        if (!MakePointDb(IndexTiming::Omitted)) return false;
        database = db::Database::open(PointDbPath());
        // Rows are appended, read once in load order and a few again by rowid: neither a large page cache
        // nor mapping the whole file into memory gains anything, and both would count against the job.
        database.query("PRAGMA mmap_size=0").next();
        database.query("PRAGMA cache_size=-8192").next();
        const int lastColumn = 2 + selectedPointLayer().ItemCount;
        DistinctRows distinct(database.query(loadedRowsSql(selectedPointLayer(), true)), 1, lastColumn);
        if (!loadFiles(database, files, distinct)) {
            s.InFileNo.closeQuietly();
            return false;
        }
        const bool ok = writeRows(database, distinct);
        database.closeToDelete();
        db::removeFile(PointDbPath());
        return ok;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint MakePoint_Multi)");
        s.InFileNo.closeQuietly();
        try {
            database.closeToDelete();
            db::removeFile(PointDbPath());
        } catch (...) {
        }
        return false;
    }
}

}  // namespace ModPoint
