// The nationwide area job: polygons of the one input file by the area-polygon library, narrowed to the
// ticked meshes (when the user wanted polygons), then the attached outputs of the selection (or of the whole
// file when the root is ticked) through the area-structure converters.
#include <exception>

#include "app/AreaJobSteps.h"
#include "app/FileListJobSteps.h"
#include "app/JobRowGuard.h"
#include "app/MeshSelection.h"
#include "app/NationwideJobs.h"
#include "app/OstrandLibrary.h"
#include "app/OutputChecks.h"
#include "app/frmDataSetALL.h"
#include "convert/core/ConversionState.h"

namespace velmora::nationwide {

namespace {

bool polygonFailed(const std::exception* pending = nullptr) {
    return jobs::failedTitled(errorTitle("(MakePolygon)"), {}, pending);
}

bool convert(frmDataSetALL& dialog, const jobs::JobSettings& job) {
    ConversionState& s = conversionState();
    bool attached = job.pointOption == 1 || job.lineOption == 1;
    if (!dialog.SetSelectMeshPolygon(attached)) return false;
    // The root selects the whole country: the library gets the empty list.
    if (dialog.meshCodeList().empty() && !rootTicked(dialog.meshTree())) {
        refuseEmptySelection("ﾒｯｾｰｼﾞ");
        return false;
    }
    s.OutputPath = job.output;
    jobs::prepareLibraryLog(job.files);
    if (s.PolygonMakeMode == 1) {
        PolygonCountArray counts{};
        // The item number is the row, lakes included: the library narrows the lakes by meshes too.
        const std::int16_t status = ostrandLibrary().Ostrand(s.SelectedIndex, job.files.front(), s.OutputPath,
                                                             s.LogFilePath, dialog.meshCodeList(), counts);
        s.PolygonCounts = counts;
        if (!jobs::offerPolygons(status, s.OutputPath)) return polygonFailed();
    }
    if (attached) {
        connectProgress(dialog);
        if (!jobs::makeAttachedOutputs(job.files, {job.pointOption == 1, job.lineOption == 1,
                                                   s.MeshRangeCount != -1, ui::Icon::None}))
            return polygonFailed();
    }
    jobs::endAreaJob();
    return true;
}

}  // namespace

bool MakePolygon(frmDataSetALL& dialog) {
    ConversionState& s = conversionState();
    JobRowGuard row(layerRow(s.PolygonLayers, s.SelectedIndex));
    const jobs::JobSettings job = readSettings(dialog);
    if (s.PolygonMakeMode == 1 && jobs::refuseCommaPaths(job.files)) return false;
    if (modCommon::ChkOutPutFilePath(job.output, job.pointOption, job.lineOption) == -1) return false;
    try {
        return convert(dialog, job);
    } catch (const std::exception& e) {
        return polygonFailed(&e);
    }
}

}  // namespace velmora::nationwide
