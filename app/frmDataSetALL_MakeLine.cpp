// The nationwide line job: the input file into the temporary line database, then the line writer of
// every line (root ticked) or the selection writer over StartMeshWhere; the railway row also writes its
// stations. The writers run Brunhale themselves.
#include <exception>
#include <string>

#include "app/FileListJobSteps.h"
#include "app/JobRowGuard.h"
#include "app/NationwideJobs.h"
#include "app/OutputChecks.h"
#include "app/frmDataSetALL.h"
#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "convert/line/LineDb.h"
#include "convert/line/LineLoader.h"
#include "convert/line/LineWriters.h"
#include "convert/line/StationWriters.h"
#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFiles.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace velmora::nationwide {

namespace {

// The job's end after a failure: the log and the input file closed, the database closed and deleted.
bool lineFailed(db::Database& db, const std::exception* pending = nullptr) {
    ConversionState& s = conversionState();
    // The box first: it leaves its cause in the open log.
    if (pending) ui::showError(*pending, errorTitle("(MakeLine)"));
    s.LogFileNo.closeQuietly();
    s.InFileNo.closeQuietly();
    db.closeToDelete();
    db::removeFile(ModLine::LineDbPath());
    jobs::hideProgress();
    return false;
}

bool lineWriterFailed(db::Database& db) {
    ui::message("ラインデータ変換中にエラーが発生しました。ログファイルを参照してください。", "ｴﾗｰﾒｯｾｰｼﾞ",
                ui::Icon::Exclamation);
    return lineFailed(db);
}

// The lines are written: the user may still add them alone.
bool linesOnly(db::Database& db) {
    jobs::askToAddToMap("変換されたシェープファイル（鉄道ラインデータのみ）をマップに追加しますか？",
                        {conversionState().OutputPath}, jobs::MapAddition::Layers);
    return lineFailed(db);
}

bool stationWriterFailed(db::Database& db) {
    ui::message("駅名データ変換中にエラーが発生しました。ログファイルを参照してください。", "ｴﾗｰﾒｯｾｰｼﾞ",
                ui::Icon::Exclamation);
    return linesOnly(db);
}

bool succeeded(db::Database& db) {
    ConversionState& s = conversionState();
    jobs::fillAndHideProgress();
    modCommon::PutLogFileMsg(99, "");
    db.closeToDelete();
    s.LogFileNo.close();
    std::vector<std::string> outputs{s.OutputPath};
    if (s.SelectedIndex == ModLine::kRailwayRow) outputs.push_back(shapedesc::shapeBaseName(s.OutputPath) + "_駅名.shp");
    jobs::askToAddToMap(jobs::kAddShapefileQuestion, outputs, jobs::MapAddition::Layers);
    db::removeFile(ModLine::LineDbPath());
    return true;
}

bool convert(db::Database& db, const jobs::JobSettings& job) {
    ConversionState& s = conversionState();
    const bool railway = s.SelectedIndex == ModLine::kRailwayRow;
    if (!ModLine::SetLineTextToTbl(db, job.files.front())) return lineFailed(db);
    s.OutputPath = job.output;
    modCommon::PutLogFileMsg(0, text::toCp932("ラインデータ"));

    if (s.MeshRangeCount == -1) {
        if (!ModLine::MakeShapeLineFileData(db)) return lineWriterFailed(db);
        if (railway && !ModLine::MakeShapeLine_PointFileData(db)) return stationWriterFailed(db);
        return succeeded(db);
    }
    bool written = false;
    if (!ModLine::MakeShapeLineFileData_Select(db, written)) return lineWriterFailed(db);
    // The selection writer has told the user that nothing matched.
    if (!written) return lineFailed(db);
    if (railway) {
        bool stations = false;
        if (!ModLine::MakeShapeLine_PointFileData_Select(db, stations)) return stationWriterFailed(db);
        if (!stations) return linesOnly(db);
    }
    return succeeded(db);
}

}  // namespace

bool MakeLine(frmDataSetALL& dialog) {
    ConversionState& s = conversionState();
    JobRowGuard row(layerRow(s.LineLayers, s.SelectedIndex));
    const jobs::JobSettings job = readSettings(dialog);
    if (modCommon::ChkOutPutFilePath(job.output, job.pointOption, job.lineOption) == -1) return false;
    if (!ModLine::MakeLineDb()) return false;
    db::Database db;
    try {
        db = db::Database::open(ModLine::LineDbPath());
        s.LinkIdxCounter = {0, 0};
        connectProgress(dialog);
        jobs::openJobLog();
        // The log stays open for the dialog to close, the empty database on disk for the next job.
        if (!dialog.SetSelectMeshLine()) return false;
        if (s.MeshRangeCount == 0) {
            refuseEmptySelection("ﾒｯｾｰｼﾞ");
            return false;
        }
        return convert(db, job);
    } catch (const std::exception& e) {
        return lineFailed(db, &e);
    }
}

}  // namespace velmora::nationwide
