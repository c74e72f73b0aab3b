#include "convert/line/LineWriterSteps.h"

#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/core/ConversionProgress.h"
#include "convert/core/RunningNumber.h"
#include "platform/db/Query.h"
#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/db/DbErrors.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace ModLine {

using velmora::conversionState;
namespace sd = velmora::shapedesc;
namespace ui = velmora::ui;

bool WriteLineHeaderBlock(int kind) {
    auto& s = conversionState();
    return WriteItemHeaderBlock(velmora::layerRow(s.LineLayers, s.SelectedIndex), sd::shapeBaseName(s.OutputPath),
                                kind, "N");
}

bool WriteItemHeaderBlock(const velmora::LayerDef& layer, const std::string& baseUtf8, int kind,
                          std::string_view keyLetter) {
    auto& s = conversionState();
    sd::openPair();
    velmora::text::LineWriter& h = s.FilHFileNo.file();
    sd::writeMakeFileName(h, baseUtf8);
    sd::writeShapeType(h, kind, s.DatumCode);
    long flagged = 0;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(layer.ItemCount); ++i)
        if (layer.ItemOutput.at(i)) ++flagged;
    sd::writeFieldCount(h, flagged + 1);
    sd::writeFieldName(h, velmora::text::toCp932("属性番号"), keyLetter, 10);
    for (std::size_t i = 1; i <= static_cast<std::size_t>(layer.ItemCount); ++i) {
        if (!layer.ItemOutput.at(i)) continue;
        std::string letter;
        if (!velmora::ModPolygon::SetTextToShpeidx(layer.ItemType.at(i), letter)) return false;
        sd::writeFieldName(h, layer.ItemName.at(i), letter, layer.ItemWidth.at(i));
    }
    return true;
}

void BeginWriterProgress(std::size_t n, const std::string& captionUtf8) {
    const double rows = static_cast<double>(n);
    velmora::progress::setMaximum(rows + rows * 0.1);
    velmora::progress::setCaption(captionUtf8);
    ui::service().yield();
    velmora::progress::setVisible(true);
    ui::service().yield();
}

void ShowEmptyConditionProgress(const std::string& captionUtf8) {
    velmora::progress::setMaximum(1);
    velmora::progress::setCaption(captionUtf8);
    ui::service().yield();
    velmora::progress::setVisible(true);
    velmora::progress::setValue(1);
    ui::service().yield();
}

std::string ConditionCaption(const std::string& captionUtf8, long i, long n) {
    return captionUtf8 + "(" + std::to_string(i) + "/" + std::to_string(n) + ")";
}

void ClosePairQuietly() {
    conversionState().FilHFileNo.closeQuietly();
    conversionState().FilDFileNo.closeQuietly();
}

bool FinishWriter(YieldAfterRun yieldAfterRun, sd::EmptyOutput empty) {
    sd::closePair();
    velmora::progress::setCaption("Shapeﾌｧｲﾙ作成中・・・");
    ui::service().yield();
    // The pair goes whatever the outcome, after the failure message.
    const bool ok = sd::runShapeWriterOnPair(sd::PairDeletion::Never, sd::ShapeFailureMessage, empty);
    if (yieldAfterRun == YieldAfterRun::Yes) ui::service().yield();
    sd::deletePair();
    ui::service().yield();
    return ok;
}

bool FinishSelection(bool written, YieldAfterRun yieldAfterRun) {
    if (written) return FinishWriter(yieldAfterRun);
    FinishEmptySelection();
    return true;
}

void FinishEmptySelection() {
    sd::closePair();
    ui::message("選択されたメッシュコードに該当するデータがありませんでした。", "ﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
    sd::deletePair();
    ui::service().yield();
}

MeshCondition ParseStartMeshWhere(std::string_view condition) { return ParseMeshWhere(condition, "起点メッシュコード"); }

MeshCondition ParseMeshWhere(std::string_view condition, std::string_view fieldUtf8) {
    namespace text = velmora::text;
    auto refuse = [&]() -> MeshCondition {
        velmora::db::fail(velmora::db::err::SyntaxError,
                          "Syntax error in query expression '" + std::string(condition) + "'.");
    };
    auto code = [&](std::string_view t, std::int64_t& v) {
        t = text::trimBlanks(t);
        if (!text::isNumeric(t)) return false;
        v = text::cLng(t);
        return true;
    };
    const std::string_view field = fieldUtf8;
    auto afterOperator = [&](std::string_view t, std::string_view op, std::string_view& rest) {
        t = text::trimBlanks(t);
        if (t.substr(0, field.size()) != field) return false;
        t = text::trimBlanks(t.substr(field.size()));
        if (t.substr(0, op.size()) != op) return false;
        rest = t.substr(op.size());
        return true;
    };
    MeshCondition c;
    std::string_view rest;
    if (afterOperator(condition, "=", rest)) {
        if (!code(rest, c.from)) return refuse();
        c.to = c.from;
        return c;
    }
    const std::size_t andAt = condition.find(" AND ");
    std::string_view second;
    if (andAt == std::string_view::npos || !afterOperator(condition.substr(0, andAt), ">=", rest) ||
        !code(rest, c.from) || !afterOperator(condition.substr(andAt + 5), "<=", second) || !code(second, c.to))
        return refuse();
    return c;
}

void WriteBox(velmora::text::LineWriter& h, const RunningBox& box) {
    using velmora::ModPolygon::XYtoMillionths;
    sd::writeBox(h, sd::Millionths{XYtoMillionths(box.minX)}, sd::Millionths{XYtoMillionths(box.minY)},
                 sd::Millionths{XYtoMillionths(box.maxX)}, sd::Millionths{XYtoMillionths(box.maxY)});
}

LinkVertices::LinkVertices(velmora::db::Database& db) : store_(linkVertexStore(db)) {}

bool LinkVertices::find(std::int32_t linkIdx) {
    linkIdx_ = linkIdx;
    return store_.count(linkIdx) > 0;
}

void LinkVertices::write(velmora::text::LineWriter& d, RunningBox& box, std::int16_t& points) {
    using velmora::ModPolygon::XYtoMillionths;
    store_.forEach(linkIdx_, [&](LinkPoint p) {
        sd::writeLinkData(d, sd::Millionths{XYtoMillionths(p.x)}, sd::Millionths{XYtoMillionths(p.y)});
        incremented(points);
        box.add(p.x, p.y);
    });
}

}  // namespace ModLine
