#pragma once
// Numbers that read as numbers but cannot stand in their dBASE field: laid out as the field holds them
// ("1e5" is 100000) they are wider than the field, and the shape writer would refuse the whole table for
// one such value. The value is written empty instead, and the first one of each field is logged with its
// record, so the table is written and the user learns what was left out.
#include <set>
#include <string>
#include <string_view>

namespace ModAttr {

// A record of an input file as the log names it: "ファイル：<path> 行：<line>" (CP932; a path without a
// CP932 form is "?").
std::string recordInFile(const std::string& path, long line);

class NumberFit {
public:
    // Whether a numeric item's value would not fit a field of the given width.
    static bool overflows(std::string_view value, long width);
    // The empty value that takes the place of one that overflows; the first of each item is logged with
    // the item's name (CP932), the value and `record`, which names the record (CP932).
    std::string_view leaveOut(int item, std::string_view itemName, std::string_view value, const std::string& record);

private:
    std::set<int> logged_;
};

}  // namespace ModAttr
