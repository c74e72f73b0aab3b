#include "app/CheckLayer.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "platform/ui/UiService.h"
#include "viewer/frmMapMain.h"

namespace velmora::modCommon {

namespace fs = std::filesystem;

std::string normalFilePath(const std::string& path) {
    const fs::path absolute = fs::absolute(fs::path(path));
    std::error_code ec;
    // Symbolic links are resolved as far as the path exists; the rest is normalised by its text.
    fs::path normal = fs::weakly_canonical(absolute, ec);
    if (ec) normal = absolute.lexically_normal();
    return normal.string();
}

bool checkLayer(const MapLayerFiles* map, const std::string& path) {
    try {
        if (path.empty() || !map) return false;
        const std::string wanted = normalFilePath(path);
        for (const std::string& layer : map->layerFiles())
            if (!layer.empty() && normalFilePath(layer) == wanted) return true;
        return false;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: modMbCommon (checkLayer)");
        return false;
    }
}

const MapLayerFiles* mainMap() {
    const frmMapMain* w = frmMapMain::instance();
    return w ? w->LayerFiles : nullptr;
}

}  // namespace velmora::modCommon
