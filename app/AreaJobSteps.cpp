#include "app/AreaJobSteps.h"

#include <filesystem>

#include "app/CheckLayer.h"
#include "app/FileListJobSteps.h"
#include "app/OutputPath.h"
#include "brunhale/ProjectionFile.h"
#include "convert/area/AreaShapeWriters.h"
#include "convert/area/PolygonDb.h"
#include "convert/area/PolygonLoader.h"
#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "platform/db/Database.h"
#include "platform/text/Cp932.h"

namespace velmora::jobs {

namespace {

// One attached output: its suffix, the texts of its refusal, log line and failure, and its writers.
struct AttachedKind {
    const char* suffix;
    const char* onMapRefusal;
    const char* logLabel;
    const char* failure;
    bool (*whole)(db::Database&, const ModPolygon::MapOffer&);
    bool (*select)(db::Database&, const ModPolygon::MapOffer&);
};

const AttachedKind kPoints{"_P.shp", "既にマップに追加されているシェープファイル(_p)は上書きできません。", "代表点データ",
                           "代表点データ変換中にエラーが発生しました。ログファイルを参照してください。",
                           &ModPolygon::MakeShapePolygon_PointFileData,
                           &ModPolygon::MakeShapePolygon_PointFileData_Select};
const AttachedKind kLines{"_L.shp", "既にマップに追加されているシェープファイル(_l)は上書きできません。", "線データ",
                          "線データ変換中にエラーが発生しました。ログファイルを参照してください。",
                          &ModPolygon::MakeShapeArcFileData, &ModPolygon::MakeShapeArcFileData_Select};

// The library writes no .prj: the one the datum choice asks for goes beside its polygons, in the shape
// writer's bytes, and an earlier one goes when none is wanted, as the shape writer does for its outputs.
void writePolygonProjection(const std::string& outputPath) {
    const std::string prj = outputBase(outputPath, DataKind::Area) + ".prj";
    const int datum = conversionState().DatumCode;
    if (brunhale::projectionWkt(datum).empty()) std::filesystem::remove(prj);
    else brunhale::writeProjectionFile(prj, datum);
}

// False: the writer failed (its box shown) and the job must end.
bool writeAttached(db::Database& db, const AttachedKind& kind, const AttachedOutputs& o) {
    if (modCommon::checkLayer(modCommon::mainMap(), outputBase(conversionState().OutputPath, DataKind::Area) + kind.suffix)) {
        ui::message(kind.onMapRefusal, "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
        return true;
    }
    modCommon::PutLogFileMsg(0, text::toCp932(kind.logLabel));
    const ModPolygon::MapOffer offer = [](const std::string& shapefile) {
        askToAddToMap(kAddShapefileQuestion, {shapefile}, MapAddition::Layers);
    };
    if ((o.selection ? kind.select : kind.whole)(db, offer)) return true;
    ui::message(kind.failure, {}, o.failureIcon);
    return false;
}

// The library writes no log when it refuses its input before it starts (its box has said why): the job's
// log, created empty for it, then gets the end of the job and the files.
void keepLibraryRefusalInLog(std::int16_t status) {
    ConversionState& s = conversionState();
    std::error_code ec;
    if (s.LogFilePath.empty() || std::filesystem::file_size(s.LogFilePath, ec) != 0 || ec) return;
    std::string line = "ポリゴンデータの作成を中止しました（状態 " + std::to_string(status) + "）。入力ファイル：";
    for (const std::string& f : s.JobInputFiles) line += " " + f;
    try {
        modCommon::openLogFile(text::LineWriter::Mode::Append);
        modCommon::PutLogFileMsg(modCommon::kFreeLogLine, modCommon::logBytes(line));
        s.LogFileNo.close();
    } catch (const std::exception&) {
        s.LogFileNo.closeQuietly();
    }
}

}  // namespace

bool refuseCommaPaths(const std::vector<std::string>& files) {
    for (const std::string& f : files) {
        if (f.find(',') == std::string::npos) continue;
        ui::message("ファイル名またはフォルダ名に「,」を含む入力ファイルからはポリゴンを作成できません。\r" + f,
                    "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
        return true;
    }
    return false;
}

std::string joinInputFiles(const std::vector<std::string>& files) {
    std::string list;
    for (const std::string& f : files) {
        if (f.empty()) continue;
        if (!list.empty()) list += ',';
        list += f;
    }
    return list;
}

void prepareLibraryLog(const std::vector<std::string>& files) {
    openJobLog();
    // The library reads the files itself: what the converters' reader refuses (no regular file, a line
    // too long or not CP932) is refused here, while the log is open for the cause.
    for (const std::string& f : files)
        if (!f.empty()) modCommon::ChkInputText(f);
    conversionState().LogFileNo.close();
}

bool offerPolygons(std::int16_t status, const std::string& outputPath) {
    if (status != 0) {
        keepLibraryRefusalInLog(status);
        return false;
    }
    writePolygonProjection(outputPath);
    const auto& counts = conversionState().PolygonCounts;
    const std::string text = "全ポリゴンデータ = " + std::to_string(counts[0]) + "　中　ポリゴンデータ = " +
                             std::to_string(counts[1]) + " 件作成されました。\r" + kAddShapefileQuestion;
    askToAddToMap(text.c_str(), {outputPath}, MapAddition::Layers);
    return true;
}

bool makeAttachedOutputs(const std::vector<std::string>& files, const AttachedOutputs& o) {
    if (!o.points && !o.lines) return true;
    ConversionState& s = conversionState();
    if (s.PolygonMakeMode != 1) s.LogFilePath = modCommon::makeLogFilePath();
    modCommon::openLogFile(text::LineWriter::Mode::Append);
    modCommon::ChkSelectedItemRows();
    modCommon::PutLogFileMsg(16, text::toCp932("面データ"));
    if (!ModPolygon::MakePolygonDb()) return false;
    db::Database db = db::Database::open(ModPolygon::PolygonDbPath());
    s.LinkIdxCounter = {0, 0};
    for (const std::string& f : files)
        if (!f.empty() && !ModPolygon::PolySetTextToTbl(db, f)) return false;
    if (o.points && !writeAttached(db, kPoints, o)) return false;
    if (o.lines && !writeAttached(db, kLines, o)) return false;
    endJobLog();
    db.closeToDelete();
    std::filesystem::remove(ModPolygon::PolygonDbPath());
    return true;
}

void endAreaJob() {
    hideProgress();
    shapedesc::deletePair();
}

}  // namespace velmora::jobs
