// The nationwide point job: the selection as MeshRanges, then the whole file (root ticked) or the records
// of the selected meshes into the pair the job opened, and one run of Brunhale; the port row goes to the
// port converter, which writes its nine tables and runs the writer itself.
#include <exception>

#include "app/FileListJobSteps.h"
#include "app/JobRowGuard.h"
#include "app/NationwideJobs.h"
#include "app/OutputChecks.h"
#include "app/PointConversion.h"
#include "app/TableOnMap.h"
#include "app/frmDataSetALL.h"
#include "convert/core/ConversionState.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "platform/ui/UiService.h"

namespace velmora::nationwide {

namespace {

constexpr int kPortRow = 1;

bool pointFailed(const std::exception* pending = nullptr) {
    ConversionState& s = conversionState();
    return jobs::failedTitled(errorTitle("(frmDataSetALL MakePoint)"), {&s.FilHFileNo, &s.FilDFileNo}, pending);
}

bool convertPort(const std::string& input) {
    ui::message("港湾データは属性データ属性データのフィールド数が、２５６フィールドを超えている為\r\n"
                "基礎データと年別情報毎に分割して作成します。",
                "ﾒｯｯｾｰｼﾞ", ui::Icon::Information);
    bool completed = false;
    pointConversion().MakePoint_Kouwan(input, completed);
    // The port converter has closed its files, ended the log and told the user of a failure.
    if (!completed) return false;
    jobs::askToAddToMap(jobs::kAddShapefileQuestion, {conversionState().OutputPath}, jobs::MapAddition::Layers);
    return true;
}

bool convertPoints(const std::string& input) {
    ConversionState& s = conversionState();
    PointConversion& point = pointConversion();
    if (!point.MakeShapePointFileData_ini()) return pointFailed();
    if (s.MeshRangeCount == -1) {
        if (!point.MakeShapePointFileData(input)) return pointFailed();
    } else {
        bool written = false;
        if (!point.MakeShapePointFileData_ALL(input, written)) return pointFailed();
        if (!written) {
            ui::message("選択されたメッシュコードに該当するデータがありませんでした。", "ﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
            return pointFailed();
        }
    }
    if (!jobs::runShapeWriter({&s.FilHFileNo, &s.FilDFileNo}, "Shapeﾌｧｲﾙ出力中・・・", shapedesc::ShapeFailureMessage))
        return pointFailed();
    shapedesc::deletePair();
    jobs::yield();
    jobs::fillAndHideProgress();
    jobs::endJobLog();
    jobs::askToAddToMap(jobs::kAddShapefileQuestion, {s.OutputPath}, jobs::MapAddition::Layers);
    return true;
}

}  // namespace

bool MakePoint(frmDataSetALL& dialog) {
    ConversionState& s = conversionState();
    JobRowGuard row(layerRow(s.PointLayers, s.SelectedIndex));
    const jobs::JobSettings job = readSettings(dialog);
    try {
        if (modCommon::ChkOutPutFilePath(job.output, job.pointOption, job.lineOption) == -1) return false;
        s.FilHFileNo.closeQuietly();
        s.FilDFileNo.closeQuietly();
        connectProgress(dialog);
        if (!dialog.SetSelectMesh()) return false;
        if (s.MeshRangeCount == 0) {
            refuseEmptySelection("ﾒｯｾｰｼﾞ");
            return false;
        }
        // The port converter overwrites its nine tables without asking: one the map reads is refused.
        if (s.SelectedIndex == kPortRow && refusePortTablesOnMap(job.output)) return false;
        shapedesc::openPair();
        jobs::openJobLog();
        s.OutputPath = job.output;
        return s.SelectedIndex == kPortRow ? convertPort(job.files.front()) : convertPoints(job.files.front());
    } catch (const std::exception& e) {
        return pointFailed(&e);
    }
}

}  // namespace velmora::nationwide
