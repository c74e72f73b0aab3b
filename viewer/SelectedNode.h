#pragma once
// The theme tree's selected node, read in one place for every command that acts on it: the property
// command needs to tell a root from no selection; the identify tool and the table command take only a
// layer or table node (ThemeSelection).
#include <string>

class QTreeWidget;

namespace velmora::viewer {

struct SelectedNode {
    enum class Kind { None, Root, Layer, Table } kind = Kind::None;
    std::string text;  // the node's text: a layer's name, a table's file name
    std::string path;  // the dBASE path the node stands for (a table node's own path)
};

SelectedNode readSelectedNode(const QTreeWidget* tree);

}  // namespace velmora::viewer
