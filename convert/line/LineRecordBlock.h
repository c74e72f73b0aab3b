#pragma once
// The record block of one line shape in the header file (OutPutLineHedFile), with the ledger lookup that
// gives its attribute values.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/db/Query.h"

namespace velmora::db {
class Database;
}

namespace ModLine {

// The ledger of the selected line layer (台帳データ; リンク台帳データ for the road item) and the names of
// the layer's flagged items, whose fields it reads. The rows are read once, in one pass, when the writer
// starts: a look-up per shape (an index seek and a table seek each) cost a tenth of a road job, and every
// shape of a whole-file writer looks its row up.
class LineLedger {
public:
    explicit LineLedger(velmora::db::Database& db);

    // The values of a DBFITEM line for an attribute number: the ledger row's 属性番号 and the flagged
    // items' values (the first row when several share the number); without a row, one empty value per
    // declared field. An empty attribute number (a link stored without one) has no row. The views hold
    // until the next call.
    void valuesOf(std::string_view attributeNumber, std::vector<std::string_view>& values);

private:
    void readRows(velmora::db::Database& db);
    void valuesFromQuery(double key, std::vector<std::string_view>& values);

    velmora::db::Query query_;  // the look-up by number, for a ledger whose rows were not read in advance
    std::vector<std::string> flaggedItems_;  // UTF-8 field names
    // Their columns (属性番号 first), found when the first row is read: a missing field fails there.
    std::vector<int> columns_;
    // The rows read in advance: per attribute number the first row's values, one after another in text_
    // (row r's value i ends at ends_[r * (flagged items + 1) + i]).
    bool read_ = false;
    bool missingField_ = false;  // a flagged item the table lacks: a number with a row fails as before
    std::unordered_map<double, std::uint32_t> rowOf_;
    std::string text_;
    std::vector<std::uint64_t> ends_;
    std::vector<std::string> queried_;  // the values of the look-up by number, which the views show
};

// Writes LINKNO, BOX (the box converted to degrees), PARTS_POINTS, PARTIDX and DBFITEM into FilHFileNo.
// The box is in the database's integer units. False after a run-time error (the box titled "Error: ModLine (ModLine OutPutLineHedFile)").
bool OutPutLineHedFile(LineLedger& ledger, std::string_view id, std::int16_t pointCount, std::string_view attributeNumber,
                       std::int64_t minX, std::int64_t minY, std::int64_t maxX, std::int64_t maxY, std::int16_t partCount,
                       std::string_view partIndexText);

}  // namespace ModLine
