#pragma once
// The record block of one line shape in the header file (OutPutLineHedFile), with the ledger lookup that
// gives its attribute values.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/Query.h"

namespace velmora::db {
class Database;
}

namespace ModLine {

// The ledger of the selected line layer (台帳データ; リンク台帳データ for the road item) with its query
// prepared once per writer, and the names of the layer's flagged items, whose fields it reads.
class LineLedger {
public:
    explicit LineLedger(velmora::db::Database& db);

    // The values of a DBFITEM line for an attribute number: the ledger row's 属性番号 and the flagged
    // items' values (the first row when several share the number); without a row, one empty value per
    // declared field. An empty attribute number (a link stored without one) has no row.
    void valuesOf(std::string_view attributeNumber, std::vector<std::string>& values);

private:
    velmora::db::Query query_;
    std::vector<std::string> flaggedItems_;  // UTF-8 field names
    // Their columns (属性番号 first), found when the first row is read: a missing field fails there.
    std::vector<int> columns_;
};

// Writes LINKNO, BOX (the box converted to degrees), PARTS_POINTS, PARTIDX and DBFITEM into FilHFileNo.
// The box is in the database's integer units. False after a run-time error (the box titled "Error: ModLine (ModLine OutPutLineHedFile)").
bool OutPutLineHedFile(LineLedger& ledger, std::string_view id, std::int16_t pointCount, std::string_view attributeNumber,
                       std::int64_t minX, std::int64_t minY, std::int64_t maxX, std::int64_t maxY, std::int16_t partCount,
                       std::string_view partIndexText);

}  // namespace ModLine
