#pragma once
// A tree of ticked and bold nodes without any widget: the mesh tree of the nationwide job dialog and the
// catchment tree are built, ticked and read through it, so their cascades and selections are tested
// without Qt. TreeWidgetAdapter.h shows one in a QTreeWidget.
//
// Nodes are numbered in the order they were added; a node's children keep that order. Every node has a
// unique key. Each change of a tick or a bold mark is remembered until takeChanges(), so a view redraws
// only what changed.
#include <string>
#include <unordered_map>
#include <vector>

namespace velmora {

class TreeModel {
public:
    static constexpr int kNoNode = -1;

    struct Node {
        std::string key;
        std::string text;  // UTF-8
        int parent = kNoNode;
        std::vector<int> children;
        bool ticked = false;
        bool bold = false;
    };

    // Adds a node under parent (kNoNode: a top node) and gives its number. A key already in the tree is
    // run-time error 35602 "Key is not unique in collection"; the tree then stays as it was.
    int add(int parent, const std::string& key, const std::string& text);

    std::size_t size() const { return nodes_.size(); }
    bool empty() const { return nodes_.empty(); }
    const Node& node(int n) const;
    // The node of a key, or kNoNode.
    int find(const std::string& key) const;
    // The first node added: the root of a tree with one top node. An empty tree is run-time error 35600
    // "Index out of bounds", as reading the first node of an empty tree view is.
    int root() const;

    void setTicked(int n, bool ticked);
    void setBold(int n, bool bold);

    // The nodes whose tick or bold mark changed since the last call, in the order of their first change.
    std::vector<int> takeChanges();
    void clear();

private:
    Node& at(int n);
    void changed(int n);

    std::vector<Node> nodes_;
    std::unordered_map<std::string, int> byKey_;
    std::vector<int> changes_;
    std::vector<bool> pending_;
};

}  // namespace velmora
