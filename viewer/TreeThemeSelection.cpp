#include "viewer/TreeThemeSelection.h"

#include <QTreeWidget>

#include "viewer/ThemeTree.h"

namespace velmora::viewer {

std::optional<SelectedTheme> TreeThemeSelection::selectedTheme() const {
    QTreeWidgetItem* node = tree_->currentItem();
    if (!node || !node->isSelected() || !node->parent()) return std::nullopt;
    return SelectedTheme{isLayerNode(node), node->text(0).toStdString(), nodePath(node)};
}

QPoint TreeThemeSelection::windowTopLeft() const { return window_->frameGeometry().topLeft(); }

}  // namespace velmora::viewer
