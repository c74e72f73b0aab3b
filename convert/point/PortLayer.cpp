#include "convert/point/PortLayer.h"

#include <span>
#include <vector>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionProgress.h"
#include "convert/point/PointFieldBlock.h"
#include "convert/point/PointHeader.h"
#include "convert/point/PointNumberFit.h"
#include "convert/point/PointRecords.h"
#include "convert/point/PointWriters.h"
#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/ui/UiService.h"

namespace ModPoint {

using namespace velmora;

namespace {

constexpr std::int16_t kEndLine = 99;

std::string tableSuffix(int k) { return "_" + std::to_string(k); }
int firstItemOfTable(int k) { return kPortBasicItems + 1 + kPortTableItems * k; }
int lastItemOfTable(int k) { return firstItemOfTable(k) + kPortTableItems - 1; }

void yield() { ui::service().yield(); }

void resetProgress() {
    progress::setValue(0);
    progress::setCaption("");
}

// Step 9 of the driver: every file the job holds open is closed; outputs and intermediate files stay.
bool portFailed(const std::exception* pending = nullptr) {
    if (pending) ui::showError(*pending, "Error: ModPoint (ModPoint MakePoint_Kouwan)");
    ConversionState& s = conversionState();
    for (WriterSlot& slot : KouwanFileNo()) slot.closeQuietly();
    s.FilHFileNo.closeQuietly();
    s.FilDFileNo.closeQuietly();
    s.LogFileNo.closeQuietly();
    resetProgress();
    return false;
}

bool writePoints(const std::string& path) {
    if (conversionState().MeshRangeCount == -1) return MakeShapePointFileData(path);
    bool written = false;
    if (!MakeShapePointFileData_ALL(path, written)) return false;
    if (!written) {
        ui::message("選択されたメッシュコードに該当するデータがありませんでした。", "ﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
        return false;
    }
    return true;
}

// The ten runs of Brunhale: the shapefile over the pair, then each table's header file moved onto the
// pair's header name.
bool writeOutputs() {
    if (!shapedesc::runShapeWriterOnPair(shapedesc::PairDeletion::Never)) return false;
    yield();
    shapedesc::deleteDescriptionFile(shapedesc::HeaderSuffix);
    yield();
    for (int k = 0; k < kPortTables; ++k) {
        shapedesc::moveOntoHeaderFile(tableSuffix(k));
        if (!shapedesc::runShapeWriterOnPair(shapedesc::PairDeletion::Never, "S属性ﾃﾞｰﾀﾌｧｲﾙ作成に失敗しました。"))
            return false;
        shapedesc::deleteDescriptionFile(shapedesc::HeaderSuffix);
        yield();
    }
    return true;
}

}  // namespace

std::array<WriterSlot, kPortTables>& KouwanFileNo() {
    static std::array<WriterSlot, kPortTables> files;
    return files;
}

bool MakePoint_Kouwan(const std::string& path, bool& made) {
    made = false;
    try {
        ConversionState& s = conversionState();
        for (int k = 0; k < kPortTables; ++k) shapedesc::openDescriptionFile(KouwanFileNo()[k], tableSuffix(k));
        if (!MakeShapePointFileData_ini_Kouwan() || !writePoints(path)) return portFailed();

        shapedesc::closePair();
        for (WriterSlot& slot : KouwanFileNo()) slot.close();
        progress::setCaption("Shapeﾌｧｲﾙ出力中・・・");
        yield();
        if (!writeOutputs()) return portFailed();

        shapedesc::deleteDescriptionFile(shapedesc::CoordinateSuffix);
        yield();
        resetProgress();
        modCommon::PutLogFileMsg(kEndLine, "");
        s.LogFileNo.close();
        made = true;
        return true;
    } catch (const std::exception& e) {
        return portFailed(&e);
    }
}

bool MakeShapePointFileData_ini_Kouwan() {
    try {
        ConversionState& s = conversionState();
        const LayerDef& layer = selectedPointLayer();
        const std::string base = shapedesc::shapeBaseName(s.OutputPath);
        text::LineWriter& h = s.FilHFileNo.file();
        shapedesc::writeMakeFileName(h, base);
        shapedesc::writeShapeType(h, shapedesc::Kind::Point, s.DatumCode);
        for (int k = 0; k < kPortTables; ++k) {
            text::LineWriter& t = KouwanFileNo()[k].file();
            shapedesc::writeMakeFileName(t, base + "_S" + std::to_string(kFirstPortTableNumber + k));
            shapedesc::writeShapeType(t, shapedesc::Kind::Table, s.DatumCode);
        }
        startNumberFit();
        if (!writeFieldBlock(h, layer, 1, kPortBasicItems, true)) return false;
        for (int k = 0; k < kPortTables; ++k)
            if (!writeFieldBlock(KouwanFileNo()[k].file(), layer, firstItemOfTable(k), lastItemOfTable(k), true))
                return false;
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint MakeShapePointFileData_ini_Kouwan)");
        return false;
    }
}

bool MakeShapeDbfData_Kouwan(std::string_view line, std::int32_t id) {
    try {
        const LayerDef& layer = selectedPointLayer();
        const std::string key = std::to_string(id);
        // Each group gives one field per written item and the key; a group with no written item gives the
        // key alone.
        std::vector<std::string_view> values;
        writeKeyedValues(conversionState().FilHFileNo.file(), layer, line, 1, kPortBasicItems, key, values);
        for (int k = 0; k < kPortTables; ++k)
            writeKeyedValues(KouwanFileNo()[k].file(), layer, line, firstItemOfTable(k), lastItemOfTable(k), key, values);
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModPoint (ModPoint MakeShapeDbfData_Kouwan)");
        return false;
    }
}

}  // namespace ModPoint
