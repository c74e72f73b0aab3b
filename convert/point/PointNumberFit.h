#pragma once
// Numbers of a point output that read as numbers but are wider than their dBASE field as the field holds
// them ("1e9", or a delimited file's long number): the shape writer would refuse the whole output for one
// such value. It is written empty instead and the first one of each item logged with its record, as the
// attribute-table writers do (ModAttr::NumberFit).
#include <algorithm>
#include <string>
#include <string_view>

#include "convert/core/LayerDef.h"

namespace ModPoint {

// A new output: the first overflow of each item is logged again. The header block writers call it.
void startNumberFit();

// Whether item k is numeric and its value does not fit the item's field.
bool overflowingNumber(const velmora::LayerDef& layer, int k, std::string_view value);
// Logs the overflowing value of item k with its record (CP932), once per item and output.
void logOverflow(const velmora::LayerDef& layer, int k, std::string_view value, const std::string& record);
// The record of the input file being read (InFileNo) as the log names it: its file and line.
std::string inputRecord();

// Empties the values of the written items first .. last (one value per written item, in order; values
// after them, such as a key, stay) that do not fit; `record()` names the record, made only when needed.
template <class Values, class Record>
void fitNumbers(const velmora::LayerDef& layer, int first, int last, Values& values, Record&& record) {
    std::size_t v = 0;
    for (int k = first; k <= std::min<int>(last, layer.ItemCount) && v < values.size(); ++k) {
        if (!layer.ItemOutput.at(static_cast<std::size_t>(k))) continue;
        if (overflowingNumber(layer, k, values[v])) {
            logOverflow(layer, k, values[v], record());
            values[v] = {};
        }
        ++v;
    }
}

}  // namespace ModPoint
