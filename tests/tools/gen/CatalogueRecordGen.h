#pragma once
// Fixed-column records laid out from a catalogue row: every item at its byte start and width, holding a
// sample value that fits it (texts of double-byte characters, numbers within the item's digits). Any data
// item that has catalogue rows gets input records in its own layout this way; the record itself is put
// together by attrTRow, which places values at byte columns for every kind of record.
#include <string>
#include <string_view>
#include <vector>

#include "convert/core/LayerDef.h"
#include "tests/tools/gen/AttrFileGen.h"

namespace velmora::gen {

// An item whose type name contains "Text" holds text; every other item a number.
bool isTextItemType(std::string_view typeName);

// The columns of items first..last of a catalogue row, in item order.
template <std::size_t N>
std::vector<AttrGenColumn> catalogueColumns(const BasicLayerDef<N>& row, int first, int last) {
    std::vector<AttrGenColumn> columns;
    for (int i = first; i <= last; ++i) {
        const auto k = static_cast<std::size_t>(i);
        columns.push_back({row.ItemStart.at(k), row.ItemWidth.at(k), !isTextItemType(row.ItemType.at(k))});
    }
    return columns;
}

// One sample value (UTF-8) per column for record `record` (from 1). Values differ from record to record
// and from column to column; a text of one byte is a letter, a wider one begins with double-byte
// characters; a number has at most as many digits as its width, and no more than four.
std::vector<std::string> sampleValues(const std::vector<AttrGenColumn>& columns, int record);

}  // namespace velmora::gen
