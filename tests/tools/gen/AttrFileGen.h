#pragma once
// Attribute-table input files for tests and benchmarks: the "H" header line, "T" table rows with their
// columns at catalogue byte positions, and "DT" ledger rows. Lines are CP932 bytes; files end every line
// with CR LF.
#include <string>
#include <string_view>
#include <vector>

namespace velmora::gen {

// Header line fields at their fixed columns (values are UTF-8; each is blank-padded or cut to its width).
struct AttrHeader {
    std::string field2;    // columns 4-13
    std::string dataCode;  // columns 14-23; the usual place of the data item's header key
    std::string field4;    // columns 24-25
    std::string year;      // columns 26-29
    std::string number = "1";  // columns 30-33, right-aligned
    long recordCount = 0;      // columns 34-41, right-aligned
};

// One column of a "T" row: 1-based byte start and byte width, as in the catalogue. Numbers are
// right-aligned in their width, texts left-aligned.
struct AttrGenColumn {
    int start = 1;
    int width = 1;
    bool numeric = false;
};

std::string attrHeaderLine(const AttrHeader& h);
// A table row: the kind in columns 1-3, each value (UTF-8) at its column; the gaps are blanks. A value
// longer than its width is cut on a character boundary.
std::string attrTRow(const std::vector<AttrGenColumn>& columns, const std::vector<std::string>& values,
                     std::string_view kind = "T");
// A ledger row: "DT", the attribute number in columns 4-13, the line count in 14-16 and the title from
// column 17, padded to 20 bytes.
std::string attrDtRow(std::string_view attributeNumber, std::string_view lineCount, std::string_view title);

// Writes CP932 lines, each ending with CR LF.
void writeLines(const std::string& path, const std::vector<std::string>& lines);

// A large file: `rows` "T" rows with deterministic values drawn from `seed`. With `ledger`, columns 0
// and 1 must be numeric, and every "T" row is followed by a "DT" row whose attribute number is column 0's
// digits followed by column 1 zero-filled to three digits (the ledger key of the joined table).
struct AttrBulkOptions {
    AttrHeader header;
    std::vector<AttrGenColumn> columns;
    long rows = 0;
    unsigned seed = 1;
    bool ledger = false;
};
void writeBulkAttrFile(const std::string& path, const AttrBulkOptions& options);

}  // namespace velmora::gen
