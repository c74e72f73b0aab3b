#include "viewer/AddThemeDialog.h"

#include <QString>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/map/MapView.h"
#include "platform/ui/UiService.h"
#include "viewer/MapWindowServices.h"

namespace velmora::viewer {

namespace {

const char* const kShapeFilter = "シェープ ファイル (*.shp)";
const char* const kTableFilter = "属性 ファイル (*.dbf)";

std::string fileNameOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// Adds the shapefile as the map's top layer under a name no other layer has; gives its name.
std::string addLayerFile(MapWindowServices& window, const std::string& path) {
    auto layer = std::make_shared<map::MapLayer>(path);
    layer->setName(window.layerName(layer->name()));
    window.map().addLayer(layer);
    return window.map().layer(0)->name();
}

}  // namespace

bool isLayerFile(const std::string& path) {
    const QString name = QString::fromStdString(fileNameOf(path));
    return name.size() > 4 && name.endsWith(QLatin1String(".shp"), Qt::CaseInsensitive);
}

void SetFullExtentMargin(map::MapView& map) {
    const map::MapRect r = map.fullExtent();
    if (r.isEmpty()) return;
    const double m = (r.right - r.left) * 0.05;
    map.setFullExtent(map::MapRect(r.left - m, r.right + m, r.bottom - m, r.top + m));
}

void AddLayer_DialogShow(MapWindowServices& window, int addThemeFilter, std::string& lastThemePath) {
    std::vector<std::string> paths;
    try {
        ui::FileDialogRequest request;
        request.title = "テーマの追加";
        request.folder = lastThemePath.empty() ? window.programFolder()
                                               : std::filesystem::path(lastThemePath).parent_path().string();
        request.filter = addThemeFilter == 2 ? std::string(kTableFilter) + ";;" + kShapeFilter
                                             : std::string(kShapeFilter) + ";;" + kTableFilter;
        request.multiple = true;
        request.mustExist = true;
        paths = ui::service().openFiles(request);
    } catch (const std::exception&) {
        return;
    }
    if (paths.empty()) return;
    try {
        map::MapView& mapView = window.map();
        lastThemePath = paths.front();
        if (paths.size() == 1) {
            const std::string& path = paths.front();
            if (!isLayerFile(path)) {
                window.addThemeNode(path, fileNameOf(path), false);
                return;
            }
            const std::string name = addLayerFile(window, path);
            SetFullExtentMargin(mapView);
            if (mapView.layerCount() == 1) mapView.setExtent(mapView.fullExtent());
            mapView.refresh();
            ui::service().yield();
            window.addThemeNode(path, name, true);
            return;
        }
        const int layersBefore = mapView.layerCount();
        for (const std::string& path : paths) {
            lastThemePath = path;
            if (isLayerFile(path))
                window.addThemeNode(path, addLayerFile(window, path), true);
            else
                window.addThemeNode(path, fileNameOf(path), false);
        }
        SetFullExtentMargin(mapView);
        if (layersBefore == 0) mapView.setExtent(mapView.fullExtent());
        mapView.refresh();
    } catch (const std::exception& e) {
        ui::showError(e, "Error: frmMapMain (AddLayer_DialogShow)");
    }
}

}  // namespace velmora::viewer
