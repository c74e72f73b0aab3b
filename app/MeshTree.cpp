#include "app/MeshTree.h"

#include <string_view>
#include <vector>

#include "platform/errors/RunTimeError.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/LineReader.h"

namespace velmora {

namespace {

std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (std::size_t at; (at = line.find(',', from)) != std::string::npos; from = at + 1)
        fields.push_back(line.substr(from, at - from));
    fields.push_back(line.substr(from));
    return fields;
}

void needFields(const std::vector<std::string>& fields, std::size_t n) {
    if (fields.size() < n) throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
}

}  // namespace

void loadMeshTree(TreeModel& tree, const std::string& path) {
    text::LineReader file(path);
    const int root = tree.add(TreeModel::kNoNode, kMeshTreeRootKey, "全国");
    int prefecture = TreeModel::kNoNode;
    std::string prefectureCode;
    for (std::string raw; file.next(raw);) {
        if (raw.empty()) continue;
        const std::vector<std::string> fields = splitFields(text::fromCp932(raw));
        needFields(fields, 2);
        if (!text::isNumeric(fields[0])) throw RunTimeError(err::TypeMismatch, "Type mismatch");
        const double kind = text::toDouble(fields[0]);
        if (kind == 1) {
            needFields(fields, 3);
            prefecture = tree.add(root, kPrefectureKeyPrefix + fields[1], fields[1] + "   " + fields[2]);
            prefectureCode = fields[1];
        } else if (kind == 2) {
            needFields(fields, 4);
            if (prefecture == TreeModel::kNoNode || fields[1] != prefectureCode) continue;
            tree.add(prefecture, kMeshKeyPrefix + fields[2], fields[2] + "   " + fields[3]);
        }
    }
}

void meshTreeNodeCheck(TreeModel& tree, int n) {
    const int root = tree.root();
    const TreeModel::Node& node = tree.node(n);
    if (node.ticked) {
        if (!node.children.empty()) {
            tree.setBold(n, true);
            for (int child : node.children) {
                tree.setTicked(child, true);
                tree.setBold(child, true);
                for (int grandchild : tree.node(child).children) tree.setTicked(grandchild, true);
            }
        }
        if (n != root && node.parent != TreeModel::kNoNode) tree.setBold(node.parent, true);
        tree.setBold(root, true);
        return;
    }
    if (!node.children.empty()) {
        tree.setBold(n, false);
        for (int child : node.children) {
            tree.setTicked(child, false);
            tree.setBold(child, false);
            for (int grandchild : tree.node(child).children) tree.setTicked(grandchild, false);
        }
    }
    bool prefectureTicked = false;
    for (int prefecture : tree.node(root).children) prefectureTicked = prefectureTicked || tree.node(prefecture).ticked;
    if (!prefectureTicked) tree.setBold(root, false);
}

}  // namespace velmora
