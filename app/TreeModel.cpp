#include "app/TreeModel.h"

#include "platform/errors/RunTimeError.h"

namespace velmora {

namespace {

constexpr int kIndexOutOfBounds = 35600;
constexpr int kKeyNotUnique = 35602;

}  // namespace

int TreeModel::add(int parent, const std::string& key, const std::string& text) {
    if (parent != kNoNode) at(parent);
    if (find(key) != kNoNode) throw RunTimeError(kKeyNotUnique, "Key is not unique in collection");
    const int n = static_cast<int>(nodes_.size());
    nodes_.push_back({key, text, parent, {}, false, false});
    byKey_.emplace(key, n);
    pending_.push_back(false);
    if (parent != kNoNode) nodes_[static_cast<std::size_t>(parent)].children.push_back(n);
    return n;
}

const TreeModel::Node& TreeModel::node(int n) const { return const_cast<TreeModel*>(this)->at(n); }

TreeModel::Node& TreeModel::at(int n) {
    if (n < 0 || static_cast<std::size_t>(n) >= nodes_.size())
        throw RunTimeError(kIndexOutOfBounds, "Index out of bounds");
    return nodes_[static_cast<std::size_t>(n)];
}

int TreeModel::find(const std::string& key) const {
    const auto found = byKey_.find(key);
    return found == byKey_.end() ? kNoNode : found->second;
}

int TreeModel::root() const {
    if (nodes_.empty()) throw RunTimeError(kIndexOutOfBounds, "Index out of bounds");
    return 0;
}

void TreeModel::setTicked(int n, bool ticked) {
    Node& node = at(n);
    if (node.ticked == ticked) return;
    node.ticked = ticked;
    changed(n);
}

void TreeModel::setBold(int n, bool bold) {
    Node& node = at(n);
    if (node.bold == bold) return;
    node.bold = bold;
    changed(n);
}

void TreeModel::changed(int n) {
    if (pending_[static_cast<std::size_t>(n)]) return;
    pending_[static_cast<std::size_t>(n)] = true;
    changes_.push_back(n);
}

std::vector<int> TreeModel::takeChanges() {
    std::vector<int> taken;
    taken.swap(changes_);
    for (int n : taken) pending_[static_cast<std::size_t>(n)] = false;
    return taken;
}

void TreeModel::clear() {
    nodes_.clear();
    byKey_.clear();
    changes_.clear();
    pending_.clear();
}

}  // namespace velmora
