// The file-list area job: polygons by the area-polygon library (when the user wanted them), then the
// attached outputs through the area-structure converters, as the boxes are ticked.
#include <exception>

#include "app/AreaJobSteps.h"
#include "app/FileListJobSteps.h"
#include "app/FileListJobs.h"
#include "app/JobRowGuard.h"
#include "app/OstrandLibrary.h"
#include "app/OutputChecks.h"
#include "convert/core/ConversionState.h"

namespace velmora::jobs {

namespace {

constexpr const char* kProcedure = "MakePolygon";
constexpr int kLakesRow = 9;
constexpr int kCatchmentRow = 10;
// Area rows past the catchments have no data item in the library.
constexpr int kLastLibraryRow = kCatchmentRow;

// The library's status. Rows whose library item narrows by meshes get the empty mesh list: the whole file.
std::int16_t runLibrary(const JobSettings& job) {
    ConversionState& s = conversionState();
    OstrandLibrary& library = ostrandLibrary();
    PolygonCountArray counts{};
    const std::string files = joinInputFiles(job.files);
    std::int16_t status;
    if (s.SelectedIndex == kCatchmentRow)
        status = library.MakeSyusuiV6(s.CatchmentSelection, files, s.OutputPath, s.LogFilePath, counts);
    else
        status = library.Ostrand(static_cast<std::int16_t>(s.SelectedIndex == kLakesRow ? 10 : s.SelectedIndex), files,
                                 s.OutputPath, s.LogFilePath, "", counts);
    s.PolygonCounts = counts;
    return status;
}

bool convert(frmDataSet& dialog, const JobSettings& job) {
    ConversionState& s = conversionState();
    s.OutputPath = job.output;
    if (s.PolygonMakeMode == 1) {
        prepareLibraryLog(job.files);
        if (s.SelectedIndex <= kLastLibraryRow && !offerPolygons(runLibrary(job), s.OutputPath))
            return failed(kProcedure, {});
    }
    connectProgress(dialog);
    if (!makeAttachedOutputs(job.files, {job.pointOption == 1, job.lineOption == 1, false, ui::Icon::Exclamation}))
        return failed(kProcedure, {});
    endAreaJob();
    return true;
}

}  // namespace

bool MakePolygon(frmDataSet& dialog) {
    ConversionState& s = conversionState();
    JobRowGuard row(layerRow(s.PolygonLayers, s.SelectedIndex));
    const JobSettings job = readSettings(dialog);
    if (s.PolygonMakeMode == 1 && refuseCommaPaths(job.files)) return false;
    if (modCommon::ChkOutPutFilePath(job.output, job.pointOption, job.lineOption) == -1) return false;
    try {
        return convert(dialog, job);
    } catch (const std::exception& e) {
        return failed(kProcedure, {}, &e);
    }
}

}  // namespace velmora::jobs
