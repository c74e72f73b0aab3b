#pragma once
// The steps of the line file loader that the area-structure loader takes as they are: storing a record's
// columns by their rules, and appending the node, link and referencing records ("S", "A") with their
// continuation lines. Each step throws RunTimeError; the reader that calls it shows the box under its
// own title.
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "convert/line/LineRecords.h"

namespace velmora::db {
class Appender;
class Database;
}  // namespace velmora::db

namespace ModLine {

class LinkVertexStore;

// A cut that reaches past the end of its line as the empty text, which the database stores as such and
// not as Null.
std::string_view AsStored(std::string_view cut);

// Stores the columns of a record line by their rules into the row being built.
void StoreColumns(velmora::db::Appender& a, std::string_view line, std::span<const RecordColumn> columns);

// A node record "N": one row of its columns, saved.
void AppendNodeRecord(std::string_view line, velmora::db::Appender& nodes);

// A link record "L": one row numbered by the next LinkIdxCounter(0), then its vertex lines read from
// InFileNo, their points into the store under the link's LinkIdx.
void AppendLinkRecord(std::string_view line, velmora::db::Appender& links, LinkVertexStore& vertices);

// A record followed by reference lines ("S" of line files, "A" of area-structure files): one row of
// `columns` numbered by the next LinkIdxCounter(1), then ceil(n/5) reference lines (n the leading number
// of `countColumn`) read from InFileNo, one row per reference.
void AppendReferencingRecord(std::string_view line, std::span<const RecordColumn> columns,
                             const RecordColumn& countColumn, velmora::db::Appender& rows,
                             velmora::db::Appender& references);

// The frame of loading one record file after its header check passed: the progress display up to
// `maximum` ("初期処理中・・・"), then every further line of InFileNo handed to `record` with its kind, in
// one transaction, one progress step per line; InFileNo closed, the display filled and hidden. False as
// soon as `record` gives false (InFileNo stays open for the job's failure path).
using RecordDispatch = std::function<bool(std::string_view kind, std::string_view line)>;
bool LoadRecordLines(velmora::db::Database& db, double maximum, const RecordDispatch& record);

// A reader's body: a run-time error shows its box under `title`, a record line among a record's
// continuation lines the format message, and either gives false. The row being built is never saved;
// rows saved before stay.
bool RunRecordReader(const std::string& title, const std::function<void()>& body);

}  // namespace ModLine
