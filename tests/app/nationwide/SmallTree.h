#pragma once
// Small mesh trees for the tests: prefectures with their meshes in tree order, built into a TreeModel as
// DataView.csv would build them, and clicks as the user makes them (tick or untick, then the cascade).
#include <string>
#include <utility>
#include <vector>

#include "app/MeshTree.h"
#include "app/TreeModel.h"

namespace velmora::testsupport {

struct SmallPrefecture {
    std::string code;
    std::vector<std::string> meshes;
};

inline TreeModel smallTree(const std::vector<SmallPrefecture>& prefectures) {
    TreeModel tree;
    const int root = tree.add(TreeModel::kNoNode, kMeshTreeRootKey, "全国");
    for (const SmallPrefecture& p : prefectures) {
        const int node = tree.add(root, kPrefectureKeyPrefix + p.code, p.code + "   県" + p.code);
        for (const std::string& m : p.meshes) tree.add(node, kMeshKeyPrefix + m, m + "   " + m);
    }
    return tree;
}

// A click on the node of a key: "t" the root, "r01" a prefecture, "IDX533945" a mesh.
inline void click(TreeModel& tree, const std::string& key) {
    const int n = tree.find(key);
    if (n == TreeModel::kNoNode) throw std::invalid_argument("no node " + key);
    tree.setTicked(n, !tree.node(n).ticked);
    meshTreeNodeCheck(tree, n);
}

// The ticked and the bold keys, in tree order.
inline std::pair<std::vector<std::string>, std::vector<std::string>> marks(const TreeModel& tree) {
    std::pair<std::vector<std::string>, std::vector<std::string>> m;
    for (std::size_t i = 0; i < tree.size(); ++i) {
        const TreeModel::Node& node = tree.node(static_cast<int>(i));
        if (node.ticked) m.first.push_back(node.key);
        if (node.bold) m.second.push_back(node.key);
    }
    return m;
}

}  // namespace velmora::testsupport
