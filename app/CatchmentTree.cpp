#include "app/CatchmentTree.h"

#include "app/Catalogue.h"
#include "app/MeshTree.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/LineReader.h"

namespace velmora {

namespace {

void needFields(const catalogue::Fields& fields, std::size_t n) {
    if (fields.size() < n) throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
}

}  // namespace

void loadCatchmentTree(TreeModel& tree, const std::string& path) {
    text::LineReader file(path);
    const int root = tree.add(TreeModel::kNoNode, kCatchmentTreeRootKey, "全国");
    int region = TreeModel::kNoNode;
    std::string regionName;
    for (std::string raw; file.next(raw);) {
        if (raw.empty()) continue;
        const std::string line = text::fromCp932(raw);
        const catalogue::Fields fields = catalogue::splitFields(line);
        if (!text::isNumeric(fields[0])) throw RunTimeError(err::TypeMismatch, "Type mismatch");
        const double kind = text::toDouble(fields[0]);
        if (kind == 1) {
            needFields(fields, 2);
            regionName = std::string(fields[1]);
            region = tree.add(root, kRegionKeyPrefix + regionName, regionName + "   ");
        } else if (kind == 2) {
            needFields(fields, 4);
            if (region == TreeModel::kNoNode || fields[1] != regionName) continue;
            tree.add(region, kCatchmentKeyPrefix + std::string(fields[2]),
                     std::string(fields[2]) + "   " + std::string(fields[3]));
        }
    }
}

void catchmentTreeNodeCheck(TreeModel& tree, int n) {
    // Unticking clears the same marks in both trees.
    if (!tree.node(n).ticked) {
        meshTreeNodeCheck(tree, n);
        return;
    }
    const int root = tree.root();
    const TreeModel::Node& node = tree.node(n);
    if (!node.children.empty()) {
        tree.setBold(n, true);
        for (int child : node.children) {
            tree.setTicked(child, true);
            if (n == root) tree.setBold(child, true);
            for (int grandchild : tree.node(child).children) tree.setTicked(grandchild, true);
        }
    }
    if (n != root) {
        tree.setBold(node.parent, true);
        tree.setBold(root, true);
    }
}

std::string catchmentSelection(const TreeModel& tree) {
    std::string selection;
    if (tree.empty()) return selection;
    for (int region : tree.node(tree.root()).children) {
        if (!tree.node(region).bold) continue;
        for (int catchment : tree.node(region).children) {
            const TreeModel::Node& c = tree.node(catchment);
            if (!c.ticked) continue;
            if (!selection.empty()) selection += ',';
            // Characters 4 to 9 of the key: the code's first six.
            selection += c.key.substr(3, 6);
        }
    }
    return selection;
}

}  // namespace velmora
