#pragma once
// The reader of the area ledger record "DA": a character cursor over the raw CP932 record line that
// places the items of the selected area data item one after another from column 17, by their byte
// widths turned into character steps.
#include <string>
#include <string_view>
#include <vector>

#include "convert/core/LayerDef.h"

namespace velmora::db {
class Appender;
}

namespace velmora::ModPolygon {

class AreaLedgerReader {
public:
    // The items of area row `row` of the catalogue, decoded once (a reader serves a whole file).
    AreaLedgerReader(int row, const LayerDef& layer);

    // SetTextToTbl_Area: appends one ledger row. A record whose attribute number is already loaded is
    // dropped silently (true); any other run-time error shows the reader's box and gives false.
    bool read(std::string_view line, velmora::db::Appender& ledger) const;

private:
    enum class Derived { None, Division, DistrictNumber, PrefectureCode, MunicipalityCode };
    struct Item {
        std::string field;  // UTF-8
        bool text;          // the type name is exactly "Text"
        Derived derived;
        int width;          // bytes
    };
    void readItems(std::string_view line, velmora::db::Appender& ledger) const;

    int row_;
    std::vector<Item> items_;
};

}  // namespace velmora::ModPolygon
