// The attribute-table job: the table rows into the pair (through the temporary database for the
// ledger-joined row), one run of Brunhale for the dBASE table.
#include <exception>

#include "app/FileListJobSteps.h"
#include "app/FileListJobs.h"
#include "app/JobRowGuard.h"
#include "app/TableOnMap.h"
#include "convert/attr/AttrLoader.h"
#include "convert/attr/AttrWriters.h"
#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFiles.h"
#include "platform/ui/UiService.h"

namespace velmora::jobs {

namespace {

constexpr const char* kProcedure = "MakeAttr";
// The row whose table is joined with its ledger.
constexpr int kLedgerJoinedRow = 10;

bool attrFailed(const std::exception* pending = nullptr) {
    ConversionState& s = conversionState();
    return failed(kProcedure, {&s.FilHFileNo, &s.FilDFileNo, &s.FilZFileNo}, pending);
}

bool writeLedgerJoined(const JobSettings& job) {
    if (!ModAttr::MakeAttrDb()) return attrFailed();
    const std::string path = conversionState().AppFolder + ModAttr::kAttrDbName;
    db::Database db = db::Database::open(path);
    for (const std::string& file : job.files)
        if (!ModAttr::SetAttrTextToTbl(db, file)) return attrFailed();
    if (!ModAttr::MakeAttrFileData_Toku(db)) {
        ui::message("表データ変換中にエラーが発生しました。ログファイルを参照してください。", {}, ui::Icon::Exclamation);
        return attrFailed();
    }
    db.closeToDelete();
    db::removeFile(path);
    return true;
}

bool writeStreamed(const JobSettings& job) {
    if (!ModAttr::MakeShapeAttrFileData_ini()) return attrFailed();
    for (const std::string& file : job.files)
        if (!ModAttr::MakeAttrFileData(file)) return attrFailed();
    return true;
}

bool convert(frmDataSet& dialog, const JobSettings& job) {
    ConversionState& s = conversionState();
    connectProgress(dialog);
    s.FilHFileNo.closeQuietly();
    s.FilDFileNo.closeQuietly();
    shapedesc::openPair();
    openJobLog();
    s.OutputPath = job.output;

    if (!(s.SelectedIndex == kLedgerJoinedRow ? writeLedgerJoined(job) : writeStreamed(job))) return false;
    if (!runShapeWriter({&s.FilHFileNo, &s.FilDFileNo}, "DBFﾌｧｲﾙ出力中・・・", "DBFﾌｧｲﾙの作成に失敗しました。"))
        return attrFailed();

    yield();
    shapedesc::deletePair();
    yield();
    fillAndHideProgress();
    endJobLog();
    askToAddToMap(kAddTableQuestion, {s.OutputPath}, MapAddition::Table);
    return true;
}

}  // namespace

bool MakeAttr(frmDataSet& dialog) {
    ConversionState& s = conversionState();
    JobRowGuard row(layerRow(s.AttrLayers, s.SelectedIndex));
    const JobSettings job = readSettings(dialog);
    // The job asks nothing before it writes: the table the map reads is refused, never overwritten.
    if (tableOnMap(shapedesc::tableBaseName(job.output) + ".dbf")) {
        ui::message("既にマップに追加されているDBFファイルは上書きできません。", "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
        return false;
    }
    try {
        return convert(dialog, job);
    } catch (const std::exception& e) {
        return attrFailed(&e);
    }
}

}  // namespace velmora::jobs
