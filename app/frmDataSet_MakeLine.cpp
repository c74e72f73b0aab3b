// The line job: every input file into the temporary line database, then the line writer of the item
// (which runs Brunhale itself).
#include <exception>

#include "convert/core/ConversionLog.h"
#include "app/FileListJobSteps.h"
#include "app/FileListJobs.h"
#include "app/JobRowGuard.h"
#include "app/OutputChecks.h"
#include "convert/line/LineDb.h"
#include "convert/line/LineLoader.h"
#include "convert/line/LineWriters.h"
#include "convert/line/RoadLinkWriter.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFiles.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace velmora::jobs {

namespace {

constexpr const char* kProcedure = "MakeLine";

bool writerFailed() {
    ui::message("ラインデータ変換中にエラーが発生しました。ログファイルを参照してください。", {}, ui::Icon::Information);
    return failed(kProcedure, {});
}

bool convert(frmDataSet& dialog, const JobSettings& job) {
    ConversionState& s = conversionState();
    db::Database db = db::Database::open(ModLine::LineDbPath());
    s.LinkIdxCounter = {0, 0};
    connectProgress(dialog);
    for (const std::string& path : job.files)
        if (!ModLine::SetLineTextToTbl(db, path)) return failed(kProcedure, {});

    s.OutputPath = job.output;
    modCommon::PutLogFileMsg(0, text::toCp932("ラインデータ"));
    if (s.SelectedIndex == ModLine::kRoadRow) {
        bool goOn = false;
        if (!ModLine::MakeShapeLineFileData_Doro(db, goOn)) return writerFailed();
        // The user declined to write roads without their ledger.
        if (!goOn) return failed(kProcedure, {});
    } else if (!ModLine::MakeShapeLineFileData(db)) {
        return writerFailed();
    }

    fillAndHideProgress();
    endJobLog();
    db.closeToDelete();
    db::removeFile(ModLine::LineDbPath());
    askToAddToMap(kAddShapefileQuestion, {s.OutputPath}, MapAddition::Layers);
    return true;
}

}  // namespace

bool MakeLine(frmDataSet& dialog) {
    ConversionState& s = conversionState();
    JobRowGuard row(layerRow(s.LineLayers, s.SelectedIndex));
    const JobSettings job = readSettings(dialog);
    if (modCommon::ChkOutPutFilePath(job.output, job.pointOption, job.lineOption) == -1) return false;
    try {
        // The log first: an item without catalogue rows is refused with its cause in it.
        openJobLog();
    } catch (const std::exception& e) {
        return failed(kProcedure, {}, &e);
    }
    if (!ModLine::MakeLineDb()) return failed(kProcedure, {});
    try {
        return convert(dialog, job);
    } catch (const std::exception& e) {
        return failed(kProcedure, {}, &e);
    }
}

}  // namespace velmora::jobs
