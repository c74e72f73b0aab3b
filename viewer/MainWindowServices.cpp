#include "viewer/MainWindowServices.h"

#include <QSignalBlocker>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "convert/core/ConversionState.h"
#include "platform/map/MapView.h"
#include "viewer/LayerNames.h"
#include "viewer/ThemeTree.h"
#include "viewer/frmMapMain.h"

namespace velmora::viewer {

map::MapView& MainWindowServices::map() { return *w_.MainMap; }

std::string MainWindowServices::programFolder() const { return velmora::programFolder(); }

SelectedNode MainWindowServices::selectedNode() const { return readSelectedNode(w_.tvwThemeList); }

std::string MainWindowServices::layerName(const std::string& base) {
    return modCommon::getLayerName(w_.MainMap, base);
}

void MainWindowServices::addThemeNode(const std::string& path, const std::string& text, bool layer) {
    modCommon::ThemeLst_Set(w_.tvwThemeList, path, text, layer ? "SH" : "DB");
}

void MainWindowServices::renewLayerIcon(const std::string& layerName, int left, int top) {
    const QString name = QString::fromStdString(layerName);
    w_.ImageList4.swatches.erase(name);
    w_.ImageList4.swatches[name] = modCommon::layerSwatch(w_, layerName, left, top);
    // Icons are set with the tree's signals blocked: no check mark changes, none reaches the map.
    const QSignalBlocker blocker(w_.tvwThemeList);
    for (QTreeWidgetItemIterator it(w_.tvwThemeList); *it; ++it)
        if ((*it)->text(0) == name && isLayerNode(*it)) (*it)->setIcon(0, nodeIcon(*it, w_.ImageList4));
}

}  // namespace velmora::viewer
