#include "viewer/SelectedNode.h"

#include <QTreeWidget>

#include "viewer/ThemeTree.h"

namespace velmora::viewer {

SelectedNode readSelectedNode(const QTreeWidget* tree) {
    const QTreeWidgetItem* node = tree->currentItem();
    if (!node || !node->isSelected()) return {};
    if (!node->parent()) return {SelectedNode::Kind::Root, node->text(0).toStdString(), ""};
    const SelectedNode::Kind kind = isLayerNode(node) ? SelectedNode::Kind::Layer : SelectedNode::Kind::Table;
    return {kind, node->text(0).toStdString(), nodePath(node)};
}

}  // namespace velmora::viewer
