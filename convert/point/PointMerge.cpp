#include "convert/point/PointMerge.h"

#include <cstdint>
#include <span>

#include "convert/core/ConversionProgress.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/core/RunningNumber.h"
#include "convert/point/PointDb.h"
#include "convert/point/PointHeader.h"
#include "convert/point/PointProgress.h"
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

// The distinct rows in the order of their first load, with their count on every row:
//   SELECT X, Y, items..., COUNT(*) OVER () FROM
//     (SELECT X, Y, items..., MIN(rowid) AS first FROM ポイントデータ GROUP BY X, Y, items...) ORDER BY first
std::string distinctRowsSql(const LayerDef& layer) {
    std::string columns = db::quoteName(kXField) + ", " + db::quoteName(kYField);
    for (int i = 1; i <= layer.ItemCount; ++i)
        columns += ", " + db::quoteName(text::fromCp932(layer.ItemName.at(static_cast<std::size_t>(i))));
    return "SELECT " + columns + ", COUNT(*) OVER () FROM (SELECT " + columns +
           ", MIN(rowid) AS \"$first\" FROM " + db::quoteName(kPointTable) + " GROUP BY " + columns +
           ") ORDER BY \"$first\"";
}

// Loads the listed files; false after a message.
bool loadFiles(db::Database& database, const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        if (text::trimBlanks(file).empty()) continue;
        const InputStart start = openPointInput(file);
        if (start == InputStart::Failed) return false;
        if (start == InputStart::Ready && !SetPointTextToTbl2(database, file)) return false;
    }
    return true;
}

// One record block per distinct row; false after XYtoData's message.
bool writeRows(db::Database& database) {
    ConversionState& s = conversionState();
    const LayerDef& layer = selectedPointLayer();
    db::Query rows = database.query(distinctRowsSql(layer));
    if (!rows.next()) return false;
    const int countColumn = rows.columnCount() - 1;
    showWriterProgress(rows.asDouble(countColumn));

    // Columns 0 and 1 are the coordinates; item k is column k + 1.
    std::vector<int> written;
    for (int i = 1; i <= layer.ItemCount; ++i)
        if (layer.ItemOutput.at(static_cast<std::size_t>(i))) written.push_back(i + 1);
    text::LineWriter& h = s.FilHFileNo.file();
    text::LineWriter& d = s.FilDFileNo.file();
    std::vector<std::string> values(written.size());
    std::int32_t id = 1;
    do {
        double x = 0, y = 0;
        if (!ModPolygon::XYtoData(rows.asDouble(0), x) || !ModPolygon::XYtoData(rows.asDouble(1), y)) return false;
        shapedesc::writeLinkIdx(d, id);
        shapedesc::writeLinkData(d, x, y);
        shapedesc::writeLinkNo(h, id);
        for (std::size_t v = 0; v < written.size(); ++v) values[v] = rows.asText(written[v]);
        shapedesc::writeDbfItem(h, std::span<const std::string>(values));
        ModLine::incremented(id);
        progress::step();
    } while (rows.next());
    return true;
}

}  // namespace

bool MakePoint_Multi(const std::vector<std::string>& files) {
    ConversionState& s = conversionState();
    db::Database database;
    try {
        if (!MakePointDb()) return false;
        database = db::Database::open(PointDbPath());
        if (!loadFiles(database, files)) {
            s.InFileNo.closeQuietly();
            return false;
        }
        const bool ok = writeRows(database);
        database.close();
        db::removeFile(PointDbPath());
        return ok;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint MakePoint_Multi)");
        s.InFileNo.closeQuietly();
        try {
            database.close();
            db::removeFile(PointDbPath());
        } catch (...) {
        }
        return false;
    }
}

}  // namespace ModPoint
