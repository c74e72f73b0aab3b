#pragma once
// The .dbf of one output: fields "C" and "N" as declared, the Shift-JIS language driver byte, values
// written as the pair gives them.
#include <shapefil.h>

#include <string>
#include <string_view>
#include <vector>

#include "brunhale/PairFormat.h"
#include "brunhale/SizeLimits.h"
#include "brunhale/TrackedFiles.h"

namespace velmora::brunhale {

// dBASE language driver id of Shift-JIS (code page 932).
inline constexpr int ShiftJisLanguageDriver = 0x13;

// What goes into one cell. Text is cut to the width where a character ends. A number is written as it
// stands, right-aligned (a number in exponent form is laid out as plain decimal first, a fraction in a field
// of no decimals rounded half to even); an empty or non-numeric value is NULL; a number wider than the field,
// or beyond the range of any number, does not fit.
enum class Cell { Value, Null, TooWide };
Cell dbfCell(const FieldDef& field, std::string_view value, std::string& cell);

class TableOutput {
public:
    // path: UTF-8 path of the .dbf to create.
    TableOutput(const std::string& path, const std::vector<FieldDef>& fields, TrackedFiles& files);
    ~TableOutput();
    TableOutput(const TableOutput&) = delete;
    TableOutput& operator=(const TableOutput&) = delete;

    // One row from the text after "DBFITEM," (hasValues false: the line had no comma, every cell empty).
    // Extra values are ignored, missing ones are empty. line names the pair line in error messages.
    void writeRow(std::string_view valuesText, bool hasValues, long line);
    void close();

private:
    void appendFlagOnlyRecords();

    DBFHandle handle_ = nullptr;
    std::string path_;
    const std::vector<FieldDef>& fields_;
    int row_ = 0;
    SizeBudget budget_;
    std::uint64_t recordBytes_ = 1;
    std::vector<std::string_view> values_;
    std::string cell_;
};

}  // namespace velmora::brunhale
