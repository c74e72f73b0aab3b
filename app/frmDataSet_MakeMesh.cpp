// The mesh job: the mesh converter writes and runs its own pairs; the job keeps the log and the closing
// question.
#include <exception>

#include "convert/core/ConversionLog.h"
#include "app/FileListJobSteps.h"
#include "app/FileListJobs.h"
#include "app/JobRowGuard.h"
#include "app/MeshConversion.h"
#include "app/OutputChecks.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace velmora::jobs {

namespace {

constexpr const char* kProcedure = "MakeMesh";

bool convert(frmDataSet& dialog, const JobSettings& job) {
    ConversionState& s = conversionState();
    connectProgress(dialog);
    openJobLog();
    s.OutputPath = job.output;
    modCommon::PutLogFileMsg(0, text::toCp932("メッシュデータ"));

    const bool fourWay = isFourWayMesh(layerRow(s.MeshLayers, s.SelectedIndex));
    // No mesh selection in the file-list job: every record is kept.
    const std::vector<std::string> everyMesh;
    MeshConversion& mesh = meshConversion();
    const bool converted = fourWay ? mesh.TokusyuMakeShape(job.files, s.OutputPath, everyMesh)
                                   : mesh.MakeShapeMESHFileData(job.files, s.OutputPath, everyMesh);
    if (!converted) {
        ui::message(meshFailureText("メッシュデータ変換中にエラーが発生しました。ログファイルを参照してください。"), {},
                    ui::Icon::Exclamation);
        hideProgress();
        modCommon::PutLogFileMsg(kFreeLogLine, modCommon::logTimeText(modCommon::logNow()));
        modCommon::PutLogFileMsg(kFreeLogLine, text::toCp932("エラーにより途中中断しました"));
        s.LogFileNo.close();
        return false;
    }

    hideProgress();
    endJobLog();
    askToAddToMap(kAddShapefileQuestion, fourWay ? fourWayMeshOutputs(s.OutputPath) : std::vector{s.OutputPath},
                  MapAddition::Layers);
    return true;
}

}  // namespace

bool MakeMesh(frmDataSet& dialog) {
    ConversionState& s = conversionState();
    JobRowGuard row(layerRow(s.MeshLayers, s.SelectedIndex));
    const JobSettings job = readSettings(dialog);
    if (modCommon::ChkOutPutFilePath(job.output, 0, 0) == -1) return false;
    try {
        return convert(dialog, job);
    } catch (const std::exception& e) {
        // The run-time failure of the mesh job closes the log and the input file and leaves the progress
        // display as it is. The box first: it leaves its cause in the open log.
        showProcedureError(kProcedure, e);
        s.LogFileNo.closeQuietly();
        s.InFileNo.closeQuietly();
        return false;
    }
}

}  // namespace velmora::jobs
