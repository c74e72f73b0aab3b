#include "viewer/MapExport.h"

#include "platform/map/MapView.h"
#include "platform/ui/UiService.h"

namespace velmora::viewer {

void ExportMapImage(map::MapView& map, int kind, std::string& lastExportPath, const std::string& programFolder) {
    ui::FileDialogRequest request;
    request.folder = lastExportPath.empty() ? programFolder : lastExportPath;
    if (kind == map::exportKind::Bitmap) {
        request.defaultSuffix = "bmp";
        request.filter = "Windows Bitmap (*.bmp)";
    }
    request.mustExist = false;
    const std::optional<std::string> chosen = ui::service().saveFile(request);
    if (!chosen) return;
    lastExportPath = *chosen;
    if (lastExportPath.empty()) {
        ui::message("No filename specified. Map was not exported.", "Export Error", ui::Icon::Exclamation);
        return;
    }
    map.exportMap(kind, lastExportPath, 2.0);
}

}  // namespace velmora::viewer
