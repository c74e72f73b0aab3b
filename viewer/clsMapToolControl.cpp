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
#include "viewer/MapToolSelection.h"
#include "viewer/ThemeTree.h"
#include "viewer/clsIdentifyTool.h"
#include "viewer/clsPanTool.h"
#include "viewer/clsZoomInTool.h"
#include "viewer/clsZoomOutTool.h"

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

clsMapToolControl::clsMapToolControl() : tools_(std::make_unique<viewer::MapToolSelection>()) {}

clsMapToolControl::~clsMapToolControl() = default;

void clsMapToolControl::setMapControl(map::MapView* map) {
    map_ = map;
    tools_->MapControl(map);
}

int clsMapToolControl::CurrentTool() const { return tools_->ToolType(); }

void clsMapToolControl::setCurrentTool(int toolType) {
    std::unique_ptr<viewer::MapTool> tool;
    switch (toolType) {
    case maptool::ZoomIn: tool = std::make_unique<clsZoomInTool>(); break;
    case maptool::ZoomOut: tool = std::make_unique<clsZoomOutTool>(); break;
    case maptool::Pan: tool = std::make_unique<clsPanTool>(); break;
    case maptool::Identify:
        if (selection_) tool = std::make_unique<clsIdentifyTool>(*selection_);
        break;
    default: break;
    }
    tools_->CurrentTool(std::move(tool));
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
