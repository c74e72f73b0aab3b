#include "viewer/clsMapToolControl.h"

#include <QString>
#include <exception>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/errors/RunTimeError.h"
#include "platform/map/MapView.h"
#include "platform/ui/UiService.h"
#include "viewer/LayerNames.h"
#include "viewer/ThemeTree.h"

using namespace velmora;

namespace {

// An existing file (not a folder) whose path holds the extension in any letter case.
bool acceptable(const std::string& path, const char* extension) {
    if (path.empty() || !QString::fromStdString(path).contains(QLatin1String(extension), Qt::CaseInsensitive))
        return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

void requireSet(const void* object) {
    if (!object) throw RunTimeError(91, "Object variable or With block variable not set");
}

}  // namespace

void clsMapToolControl::setCurrentTool(int toolType) {
    currentTool_ = toolType;
    if (toolType == maptool::None && map_) map_->setMousePointer(map::pointer::Arrow);
}

bool clsMapToolControl::AddLayer(const std::string& AddLayerName, QTreeWidget* tvw) {
    try {
        if (!acceptable(AddLayerName, ".shp")) return false;
        requireSet(map_);
        auto layer = std::make_shared<map::MapLayer>(AddLayerName);
        layer->setName(modCommon::getLayerName(map_, layer->name()));
        map_->addLayer(layer);
        map_->refresh();
        QTreeWidget* tree = tvw ? tvw : tree_;
        requireSet(tree);
        modCommon::ThemeLst_Set(tree, AddLayerName, map_->layer(0)->name(), "SH");
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: clsMapToolControl (AddLayer)");
        return false;
    }
}

bool clsMapToolControl::AddTable(const std::string& AddTableName) {
    try {
        if (!acceptable(AddTableName, ".dbf")) return false;
        requireSet(tree_);
        modCommon::ThemeLst_Set(tree_, AddTableName, std::filesystem::path(AddTableName).filename().string(), "DB");
        return true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: clsMapToolControl (AddTable)");
        return false;
    }
}
