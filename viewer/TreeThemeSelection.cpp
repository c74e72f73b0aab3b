#include "viewer/TreeThemeSelection.h"

#include <QTreeWidget>

#include "viewer/SelectedNode.h"

namespace velmora::viewer {

std::optional<SelectedTheme> TreeThemeSelection::selectedTheme() const {
    const SelectedNode node = readSelectedNode(tree_);
    if (node.kind != SelectedNode::Kind::Layer && node.kind != SelectedNode::Kind::Table) return std::nullopt;
    return SelectedTheme{node.kind == SelectedNode::Kind::Layer, node.text, node.path};
}

QPoint TreeThemeSelection::windowTopLeft() const { return window_->frameGeometry().topLeft(); }

}  // namespace velmora::viewer
