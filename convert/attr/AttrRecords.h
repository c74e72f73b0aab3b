#pragma once
// The records of an attribute-table file, cut out of raw CP932 lines: the item kinds, the "DT" ledger row
// and the ledger key that joins a table row to its ledger rows. Record kinds and the header line are cut
// by ModLine::RecordKind and ModLine::CutHeader, which every fixed-column file shares.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ModAttr {

// An item type name that holds "Text" (case-sensitive) names a text item; every other item is numeric.
bool isTextItem(std::string_view typeName);

// One "DT" ledger row. Character positions: the layer code 1-3 as it stands, the attribute number 4-13
// and the line count 14-16 (both must read as numbers), the title 17-36 with its blanks removed (no
// title when that leaves nothing).
struct LedgerRow {
    std::string layerCode;
    double attributeNumber = 0;
    std::int32_t lineCount = 0;
    std::optional<std::string> title;
};
// Throws velmora::RunTimeError (13 Type mismatch, 6 Overflow) for a number that does not convert.
LedgerRow parseLedgerRow(std::string_view line);

// The ledger key of a table row: item 1's value as text directly followed by item 2's value with at
// least three digits, zero-filled on the left (12 and 5 give 12005). A key that does not read as a number
// throws RunTimeError 13: it is never handed to the database as text.
double ledgerKey(std::string_view item1, std::string_view item2);

}  // namespace ModAttr
