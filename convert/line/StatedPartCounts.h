#pragma once
// What the counts line (line 2) of a line or area-structure file states against what the file holds.
// Its counts are lines, record lines and their continuation lines together, of the file's parts: nodes
// (count 2), links (count 3), lines or areas (count 4), and the ledgers of nodes, links and lines or areas
// (counts 5 to 7, taken together: a part holds whatever ledger kinds the item has). A file cut short holds
// fewer lines of a part than stated; the loaders tally each record with the lines its reader took and,
// once the file has been read to its end, note every part that fell short (modCommon::ChkStatedLineCount).
// A file that holds more than it states is not told: counts of records only, as some files give, still
// pass.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "convert/line/LineLoaderSteps.h"

namespace ModLine {

class StatedPartCounts {
public:
    // The seven counts of the counts line as they stand (HedCountsStated).
    explicit StatedPartCounts(const std::array<std::int32_t, 7>& stated);

    // Dispatch through `record`, tallying each line with the lines its reader took from the input file.
    RecordDispatch counting(RecordDispatch record);

    // Adds the lines of one record to its part. A line of no record kind (a further line of a ledger
    // record) belongs to the part of the record before it.
    void add(std::string_view kind, long lines);

    // Notes every part of `path` that holds fewer lines than stated.
    void check(const std::string& path) const;

private:
    enum Part { Nodes, Links, LinesOrAreas, Ledgers, None };
    static Part partOf(std::string_view kind);

    std::array<long, 4> stated_{};
    std::array<long, 4> read_{};
    Part last_ = None;
};

}  // namespace ModLine
