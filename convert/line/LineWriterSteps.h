#pragma once
// Steps the line, road-link and station writers share: the header block of a line layer, the progress
// display of a writer, the end of a writer (close, run Brunhale, delete the pair), a selection condition,
// and the running box of a shape.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "convert/core/ConversionState.h"
#include "convert/core/ConversionProgress.h"
#include "convert/line/LinkVertexStore.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "platform/db/Database.h"
#include "platform/db/Query.h"
#include "platform/errors/RunTimeError.h"
#include "platform/ui/UiService.h"

namespace velmora::text {
class LineWriter;
}

namespace ModLine {

// Opens the pair (FilHFileNo, FilDFileNo) and writes the header block of the selected line layer:
// MAKEFILE_NAME with the output's base, SHAPE_TYPE with `kind` and the datum code, the field count, the
// field 属性番号 (N, 10) and one field per flagged item. False after the type-name message.
bool WriteLineHeaderBlock(int kind);
// The same block for any layer row: MAKEFILE_NAME with `baseUtf8`, SHAPE_TYPE with `kind`, the field
// count, the key field 属性番号 of type `keyLetter` and width 10, one field per flagged item of `layer`.
bool WriteItemHeaderBlock(const velmora::LayerDef& layer, const std::string& baseUtf8, int kind,
                          std::string_view keyLetter);

// The display of a writer going over n rows: maximum n + n × 0.1, value 0, the caption; yield; bar and
// label visible; yield.
void BeginWriterProgress(std::size_t n, const std::string& captionUtf8);
// The display of a selection condition that found nothing: maximum 1, value 0, the caption; yield;
// visible; value 1; yield.
void ShowEmptyConditionProgress(const std::string& captionUtf8);
// "<caption>(i/n)" of condition i of n.
std::string ConditionCaption(const std::string& captionUtf8, long i, long n);

// Closes whichever file of the pair is open, on a failure path.
void ClosePairQuietly();

// The end of a writer: close the pair, "Shapeﾌｧｲﾙ作成中・・・", yield, run Brunhale (its failure message
// on a non-zero exit code), delete the pair, yield. True when Brunhale succeeded. The station writers
// yield once more between the run and the deletion. A pair of no record is refused as nothing to write
// unless `empty` lets it be written (the stations, of which none may have a ledger row).
enum class YieldAfterRun { No, Yes };
bool FinishWriter(YieldAfterRun yieldAfterRun = YieldAfterRun::No,
                  velmora::shapedesc::EmptyOutput empty = velmora::shapedesc::EmptyOutput::Refused);
// The end of a selection writer: FinishWriter when it wrote a shape, else FinishEmptySelection and true.
bool FinishSelection(bool written, YieldAfterRun yieldAfterRun = YieldAfterRun::No);
// The end of a selection writer that wrote nothing: close the pair, "選択されたメッシュコードに該当する
// データがありませんでした。", delete the pair, yield.
void FinishEmptySelection();

// A condition of StartMeshWhere ("起点メッシュコード = F" or "起点メッシュコード >= F AND 起点メッシュコード
// <= L") as the range of mesh codes it selects. The codes are bound into the writers' queries, never
// spliced; a condition of any other form is run-time error 3075.
struct MeshCondition {
    std::int64_t from = 0, to = 0;
};
MeshCondition ParseStartMeshWhere(std::string_view condition);
// The same for a condition on another mesh-code field (代表点メッシュコード of RepMeshWhere).
MeshCondition ParseMeshWhere(std::string_view condition, std::string_view fieldUtf8);

// Every distinct link of リンクデータ (equal in its eight fields), under the smallest LinkIdx of its copies
// as LinkIdx2, ordered by the grouped fields: a link loaded from several files is one shape.
inline constexpr const char* kDistinctLinksQuery =
    "SELECT 起点メッシュコード, 起点番号, 終点メッシュコード, 終点番号, リンク一連番号, リンク台帳の有無, "
    "リンク属性番号, リンク構成中間点数, Min(LinkIdx) AS LinkIdx2 FROM リンクデータ "
    "GROUP BY 起点メッシュコード, 起点番号, 終点メッシュコード, 終点番号, リンク一連番号, リンク台帳の有無, "
    "リンク属性番号, リンク構成中間点数 "
    "ORDER BY 起点メッシュコード, 起点番号, 終点メッシュコード, 終点番号, リンク一連番号, リンク台帳の有無, "
    "リンク属性番号, リンク構成中間点数";

// The link a line's reference names: by its start mesh and the absolute serial number, the first row
// loaded. Both fields are in one index (LineDb), so the look-up costs the same whatever the file's size.
// The loader numbers links in the order it appends them, so the smallest LinkIdx is the first row; the
// index ends in LinkIdx, and answers the query alone, already in that order.
inline constexpr const char* kLinkOfReferenceQuery =
    "SELECT LinkIdx FROM リンクデータ WHERE 起点メッシュコード = ? AND リンク一連番号 = ? ORDER BY LinkIdx";

// A line's references in reference order. A record numbers its references itself, so no two of one
// LinkIdx share a number; the index holds the fields read and answers the query alone.
inline constexpr const char* kReferencesOfLineQuery =
    "SELECT メッシュコード, 番号 FROM ラインリンクデータ WHERE LinkIdx = ? ORDER BY リンク番号";

// The running box of a shape in the database's integer units.
struct RunningBox {
    std::int64_t minX = 99999999, minY = 99999999, maxX = 0, maxY = 0;
    void add(std::int64_t x, std::int64_t y) {
        if (x < minX) minX = x;
        if (y < minY) minY = y;
        if (x > maxX) maxX = x;
        if (y > maxY) maxY = y;
    }
};

// "BOX," of the running box, in degrees.
void WriteBox(velmora::text::LineWriter& h, const RunningBox& box);

// The points of one link at a time (the database's LinkVertexStore), in reading order, as LINKDATA lines
// of the coordinate file.
class LinkVertices {
public:
    explicit LinkVertices(velmora::db::Database& db);
    // Takes the link; false when it has no points.
    bool find(std::int32_t linkIdx);
    // Writes the points of the link found, counting them into `points` and the box.
    void write(velmora::text::LineWriter& d, RunningBox& box, std::int16_t& points);

private:
    const LinkVertexStore& store_;
    std::int32_t linkIdx_ = 0;
};

// A writer's body: a run-time error closes the pair, shows its box under `title` and gives false.
template <class Body>
bool RunWriterTitled(const std::string& title, Body&& body) {
    try {
        return body();
    } catch (const velmora::RunTimeError& e) {
        ClosePairQuietly();
        velmora::ui::showRunTimeError(e, title);
        return false;
    }
}
// The same under the line module's title "Error: ModLine (ModLine <procedure>)".
template <class Body>
bool RunWriter(const char* procedure, Body&& body) {
    return RunWriterTitled(std::string("Error: ModLine (ModLine ") + procedure + ")", std::forward<Body>(body));
}
// B: the rows of a writer, with its progress display; `write(row, shapeWritten)` gives false when the
// writer must stop. `written` becomes true after the first shape written.
template <class Rows, class Write>
bool WriteRows(const Rows& rows, const std::string& captionUtf8, Write&& write, bool& written) {
    BeginWriterProgress(rows.size(), captionUtf8);
    for (const auto& row : rows) {
        bool shape = false;
        if (!write(row, shape)) return false;
        if (shape) written = true;
        velmora::progress::step();
    }
    return true;
}

// The loop of a selection writer: for each condition i of StartMeshWhere, its range bound into `q`
// (whose two parameters are the lowest and highest 起点メッシュコード), the rows read by `read(q)` and
// written as by WriteRows under the caption "<caption>(i/n)".
template <class Read, class Write>
bool WriteSelection(velmora::db::Query& q, const std::string& captionUtf8, Read&& read, Write&& write, bool& written) {
    auto& s = velmora::conversionState();
    for (std::int32_t i = 1; i <= s.MeshRangeCount; ++i) {
        const MeshCondition c = ParseStartMeshWhere(s.StartMeshWhere.at(static_cast<std::size_t>(i)));
        q.bind(1, c.from).bind(2, c.to);
        const auto rows = read(q);
        const std::string caption = ConditionCaption(captionUtf8, i, s.MeshRangeCount);
        if (rows.empty()) ShowEmptyConditionProgress(caption);
        else if (!WriteRows(rows, caption, write, written)) return false;
    }
    return true;
}

}  // namespace ModLine
