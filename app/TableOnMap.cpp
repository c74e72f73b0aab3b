#include "app/TableOnMap.h"

#include "app/CheckLayer.h"
#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "platform/ui/UiService.h"
#include "viewer/frmMapMain.h"

namespace velmora {

bool tableOnMap(const std::string& table) {
    const MapLayerFiles* map = modCommon::mainMap();
    if (!map) return false;
    const std::string written = modCommon::normalFilePath(table);
    for (const std::string& layer : map->layerFiles())
        if (!layer.empty() && modCommon::normalFilePath(shapedesc::shapeBaseName(layer) + ".dbf") == written)
            return true;
    for (const std::string& t : map->tableFiles())
        if (!t.empty() && modCommon::normalFilePath(t) == written) return true;
    return false;
}

bool refusePortTablesOnMap(const std::string& outputPath) {
    const std::string base = shapedesc::shapeBaseName(outputPath);
    for (int n = 53; n <= 61; ++n) {
        const std::string suffix = "_S" + std::to_string(n);
        if (!tableOnMap(base + suffix + ".dbf")) continue;
        ui::message("既にマップに追加されている属性ファイル(" + suffix + ")は上書きできません。", "ｴﾗｰﾒｯｾｰｼﾞ",
                    ui::Icon::Exclamation);
        return true;
    }
    return false;
}

}  // namespace velmora
