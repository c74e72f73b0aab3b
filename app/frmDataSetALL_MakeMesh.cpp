// The nationwide mesh job: the ticked mesh codes straight from the tree (none for the whole country) go
// to the mesh converter, which writes and runs its own pairs; the job keeps the log and the closing
// question.
#include <exception>

#include "app/FileListJobSteps.h"
#include "app/JobRowGuard.h"
#include "app/MeshConversion.h"
#include "app/MeshSelection.h"
#include "app/NationwideJobs.h"
#include "app/OutputChecks.h"
#include "app/frmDataSetALL.h"
#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace velmora::nationwide {

namespace {

bool convert(frmDataSetALL& dialog, const jobs::JobSettings& job) {
    ConversionState& s = conversionState();
    connectProgress(dialog);
    jobs::openJobLog();
    s.OutputPath = job.output;
    modCommon::PutLogFileMsg(0, text::toCp932("メッシュデータ"));

    std::vector<std::string> codes = tickedMeshKeys(dialog.meshTree());
    if (codes.empty()) {
        // The log stays open, holding its start line, for the dialog to close.
        refuseEmptySelection("ｴﾗｰﾒｯｾｰｼﾞ");
        return false;
    }
    if (rootTicked(dialog.meshTree())) codes.clear();

    const bool fourWay = isFourWayMesh(layerRow(s.MeshLayers, s.SelectedIndex));
    MeshConversion& mesh = meshConversion();
    const bool converted = fourWay ? mesh.TokusyuMakeShape(job.files, s.OutputPath, codes)
                                   : mesh.MakeShapeMESHFileData(job.files, s.OutputPath, codes);
    if (!converted) {
        ui::message(meshFailureText(fourWay ? "メッシュデータ変換中にエラーが発生しました。ログファイルを参照してください。"
                                            : "メッシュデータ変換中にエラーが発生しました。ログァイルを参照してください。"),
                    "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
        jobs::hideProgress();
        modCommon::PutLogFileMsg(jobs::kFreeLogLine, modCommon::logTimeText(modCommon::logNow()));
        modCommon::PutLogFileMsg(jobs::kFreeLogLine, text::toCp932("エラーにより途中中断しました"));
        s.LogFileNo.close();
        return false;
    }

    jobs::hideProgress();
    jobs::endJobLog();
    jobs::askToAddToMap(jobs::kAddShapefileQuestion,
                        fourWay ? fourWayMeshOutputs(s.OutputPath) : std::vector{s.OutputPath},
                        jobs::MapAddition::Layers);
    return true;
}

}  // namespace

bool MakeMesh(frmDataSetALL& dialog) {
    ConversionState& s = conversionState();
    JobRowGuard row(layerRow(s.MeshLayers, s.SelectedIndex));
    const jobs::JobSettings job = readSettings(dialog);
    if (modCommon::ChkOutPutFilePath(job.output, 0, 0) == -1) return false;
    try {
        return convert(dialog, job);
    } catch (const std::exception& e) {
        // The progress display stays as it was. The box first: it leaves its cause in the open log.
        ui::showError(e, errorTitle("(MakeMesh)"));
        s.LogFileNo.closeQuietly();
        s.InFileNo.closeQuietly();
        return false;
    }
}

}  // namespace velmora::nationwide
