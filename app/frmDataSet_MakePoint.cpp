// The point job: the point converters write into the pair the job opened; the job runs Brunhale for the
// ordinary layers and the split land-price outputs, the land-price converters of one table and the port
// converter run it themselves.
#include <exception>
#include <string_view>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionRoutines.h"
#include "app/TableOnMap.h"
#include "app/FileListJobSteps.h"
#include "app/FileListJobs.h"
#include "app/JobRowGuard.h"
#include "app/OutputChecks.h"
#include "app/PointConversion.h"
#include "convert/core/ConversionProgress.h"
#include "convert/point/PortLayer.h"
#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace velmora::jobs {

namespace {

namespace FileFormat = modCommon::FileFormat;

constexpr const char* kProcedure = "MakePoint";
using ModPoint::kPortRow;
constexpr const char* kShapeCaption = "Shapeﾌｧｲﾙ出力中・・・";
constexpr const char* kTableFailure = "属性ﾃﾞｰﾀﾌｧｲﾙ作成に失敗しました。";
// A land-price layer of more items than this writes its last items into a second split table.
constexpr int kFirstTableItems = 313;

bool isLandPriceRow(int row) { return row == 8 || row == 9; }

bool pointFailed(const std::exception* pending = nullptr) {
    ConversionState& s = conversionState();
    return failed(kProcedure, {&s.FilHFileNo, &s.FilDFileNo, &s.FilZFileNo, &s.FilZ2FileNo}, pending);
}

// Input of no usable format converts nothing: a missing file (ChkFileFormat has said so) or a file with
// both commas and tabs ends the job instead of writing an empty output as a success.
bool usableFormat(std::int16_t format) {
    if (format == FileFormat::Unknown) return false;
    if (format == FileFormat::Mixed) {
        ui::message("ファイルの形式が正しくありません。", "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Critical);
        return false;
    }
    return true;
}

bool blank(std::string_view path) { return path.find_first_not_of(' ') == std::string_view::npos; }

bool runOnPair(const char* failureMessage = shapedesc::ShapeFailureMessage) {
    ConversionState& s = conversionState();
    return runShapeWriter({&s.FilHFileNo, &s.FilDFileNo, &s.FilZFileNo, &s.FilZ2FileNo}, kShapeCaption,
                          failureMessage);
}

bool convertOrdinary(const JobSettings& job) {
    ConversionState& s = conversionState();
    PointConversion& point = pointConversion();
    if (!point.MakeShapePointFileData_ini()) return false;
    bool converted = true;
    if (job.files.size() == 1) {
        // ChkMakePoint_FileType has read the format of the one file (and said when it is missing).
        const std::string& file = job.files.front();
        if (!usableFormat(s.InputFileFormat)) return false;
        std::int32_t pointNumber = 1;
        converted = s.InputFileFormat == FileFormat::Fixed ? point.MakeShapePointFileData(file)
                                                           : point.MakeShapePointFileCSV(file, pointNumber);
    } else {
        std::vector<std::int16_t> formats;
        for (const std::string& file : job.files) formats.push_back(modCommon::ChkFileFormat(file));
        for (std::size_t i = 0; i + 1 < formats.size(); ++i) {
            if (formats[i] != formats[i + 1]) {
                const char* text = "ファイル形式の違うデータを同時に変換はできません";
                ui::message(text, "", ui::Icon::Exclamation);
                modCommon::PutLogFileMsg(kFreeLogLine, text::toCp932(text));
                return false;
            }
        }
        s.InputFileFormat = formats.front();
        if (!usableFormat(s.InputFileFormat)) return false;
        if (s.InputFileFormat == FileFormat::Fixed) {
            converted = point.MakePoint_Multi(job.files);
        } else {
            // One output of the files: the points are numbered on from file to file.
            std::int32_t pointNumber = 1;
            for (const std::string& file : job.files)
                if (!(converted = point.MakeShapePointFileCSV(file, pointNumber))) break;
        }
    }
    return converted && runOnPair();
}

// The port row converts one file as the nationwide job does; MakePoint_Kouwan runs the writer, ends the
// log and closes it itself.
bool convertPort(const JobSettings& job) {
    ConversionState& s = conversionState();
    if (!usableFormat(s.InputFileFormat)) return false;
    s.MeshRangeCount = -1;
    bool completed = false;
    return pointConversion().MakePoint_Kouwan(job.files.front(), completed) && completed;
}

// Split output: the point shapefile, the "_Z" table and, for more than 313 items, the "_Z2" table.
bool convertLandPriceSplit(const JobSettings& job, const LayerDef& row) {
    ConversionState& s = conversionState();
    PointConversion& point = pointConversion();
    // The split tables lie beside the output; one that the map shows would be overwritten.
    const std::string base = shapedesc::shapeBaseName(job.output);
    for (const char* table : {"_Z", "_Z2"}) {
        if (tableOnMap(base + table + ".dbf")) {
            ui::message(std::string("既にマップに追加されている属性ファイル(") + table + ")は上書きできません。", "ｴﾗｰﾒｯｾｰｼﾞ",
                        ui::Icon::Exclamation);
            return false;
        }
    }
    shapedesc::openDescriptionFile(s.FilZFileNo, "_Z");
    const bool several = job.files.size() > 1;
    const std::string& file = job.files.front();
    bool converted = false;
    if (s.InputFileFormat == FileFormat::Fixed)
        converted = point.MakePoint_Chika_SetIniData() && point.MakeShapePointFileData_ini_Chika() &&
                    (several ? point.MakePoint_Chika2(job.files) : blank(file) || point.MakePoint_Chika(file));
    else
        converted = several ? point.MakePoint_ChikaCSV2(job.files) : blank(file) || point.MakePoint_ChikaCSV(file);
    if (!converted) return false;

    if (!runOnPair()) return false;
    yield();
    shapedesc::deleteDescriptionFile(shapedesc::HeaderSuffix);
    yield();
    shapedesc::moveOntoHeaderFile("_Z");
    if (!runOnPair(kTableFailure)) return false;
    shapedesc::deleteDescriptionFile(shapedesc::HeaderSuffix);
    yield();
    if (row.ItemCount > kFirstTableItems) {
        shapedesc::moveOntoHeaderFile("_Z2");
        if (!runOnPair(kTableFailure)) return false;
    }
    return true;
}

// One table: the converters of several files and of one CSV file run the writer themselves.
bool convertLandPriceWhole(const JobSettings& job) {
    ConversionState& s = conversionState();
    PointConversion& point = pointConversion();
    const bool several = job.files.size() > 1;
    if (s.InputFileFormat == FileFormat::Fixed) {
        if (!point.MakePoint_Chika_SetIniData() || !point.MakeShapePointFileData_ini()) return false;
        if (several) return point.MakePoint_Chika3(job.files);
        return point.MakeShapePointFileData(job.files.front()) && runOnPair();
    }
    return several ? point.MakePoint_ChikaCSV3(job.files) : point.MakePoint_ChikaCSV4(job.files.front());
}

bool convertLandPrice(const JobSettings& job, const LayerDef& row) {
    if (!usableFormat(conversionState().InputFileFormat)) return false;
    const std::string question =
        text::fromCp932(row.Name) +
        "データは属性データのフィールド数が、２５６フィールドを超えています。属性データを分割して出力しますか？\r"
        "分割する場合は「はい」を、分割しない場合は「いいえ」を選択してください。";
    const bool split = ui::message(question, "確認ﾒｯｾｰｼﾞ", ui::Icon::Question, ui::Buttons::YesNo) == ui::Answer::Yes;
    return split ? convertLandPriceSplit(job, row) : convertLandPriceWhole(job);
}

// The port output is split into the shapefile and nine tables beside it (_S53 .. _S61). The user is told
// so, and the job stops when one of those tables is shown on the map: the job would overwrite it.
bool announcePortTables(const std::string& output) {
    ui::message("港湾データは属性データ属性データのフィールド数が、２５６フィールドを超えている為\r\n"
                "基礎データと年別情報毎に分割して作成します。",
                "ﾒｯｯｾｰｼﾞ", ui::Icon::Information);
    return !refusePortTablesOnMap(output);
}

bool convert(frmDataSet& dialog, const JobSettings& job) {
    ConversionState& s = conversionState();
    const LayerDef& row = layerRow(s.PointLayers, s.SelectedIndex);
    connectProgress(dialog);
    for (WriterSlot* slot : {&s.FilHFileNo, &s.FilDFileNo, &s.FilZFileNo, &s.FilZ2FileNo}) slot->closeQuietly();
    shapedesc::openPair();
    s.OutputPath = job.output;

    const bool converted = isLandPriceRow(s.SelectedIndex) ? convertLandPrice(job, row)
                           : s.SelectedIndex == kPortRow   ? convertPort(job)
                                                           : convertOrdinary(job);
    if (!converted) return pointFailed();

    shapedesc::deletePair();
    yield();
    fillAndHideProgress();
    // The port converter has ended and closed the log.
    if (s.LogFileNo.isOpen()) endJobLog();
    askToAddToMap(kAddShapefileQuestion, {s.OutputPath}, MapAddition::Layers);
    return true;
}

}  // namespace

bool MakePoint(frmDataSet& dialog) {
    ConversionState& s = conversionState();
    JobRowGuard row(layerRow(s.PointLayers, s.SelectedIndex));
    const JobSettings job = readSettings(dialog);
    // One table of hundreds of fields would come of several port files: one file at a time.
    if (s.SelectedIndex == kPortRow && job.files.size() > 1) {
        ui::message("港湾データは１ファイルずつ変換してください。", "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
        return false;
    }
    if (modCommon::ChkOutPutFilePath(job.output, job.pointOption, job.lineOption) == -1) return false;
    if (s.SelectedIndex == kPortRow && !announcePortTables(job.output)) return false;
    try {
        // The log first: the checks of the input files leave their causes in it.
        openJobLog();
        PointConversion& point = pointConversion();
        if (!point.ChkMakePoint_FileType(job.files)) return pointFailed();
        if (isLandPriceRow(s.SelectedIndex) && !point.ChkMakePoint_FileYear(job.files)) return pointFailed();
        // Items of delimited files come from their item layout files, which their readers check.
        if (s.InputFileFormat == FileFormat::Fixed) modCommon::ChkSelectedItemRows();
        return convert(dialog, job);
    } catch (const std::exception& e) {
        return pointFailed(&e);
    }
}

}  // namespace velmora::jobs
