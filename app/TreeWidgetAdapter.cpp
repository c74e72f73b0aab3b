#include "app/TreeWidgetAdapter.h"

#include <QSignalBlocker>
#include <QTreeWidget>

namespace velmora {

namespace {

constexpr int kNodeRole = Qt::UserRole;

}  // namespace

TreeWidgetAdapter::TreeWidgetAdapter(QTreeWidget& view, TreeModel& model, Cascade cascade)
    : QObject(&view), view_(view), model_(model), cascade_(std::move(cascade)) {
    connect(&view_, &QTreeWidget::itemChanged, this, &TreeWidgetAdapter::itemChanged);
}

void TreeWidgetAdapter::rebuild() {
    const QSignalBlocker blocker(view_);
    view_.clear();
    items_.assign(model_.size(), nullptr);
    QList<QTreeWidgetItem*> top;
    for (std::size_t n = 0; n < model_.size(); ++n) {
        const TreeModel::Node& node = model_.node(static_cast<int>(n));
        auto* item = node.parent == TreeModel::kNoNode ? new QTreeWidgetItem
                                                       : new QTreeWidgetItem(items_[static_cast<std::size_t>(node.parent)]);
        item->setText(0, QString::fromStdString(node.text));
        item->setData(0, kNodeRole, static_cast<int>(n));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        items_[n] = item;
        if (node.parent == TreeModel::kNoNode) top.append(item);
        show(static_cast<int>(n));
    }
    view_.addTopLevelItems(top);
    model_.takeChanges();
}

void TreeWidgetAdapter::showChanges() {
    const QSignalBlocker blocker(view_);
    for (int n : model_.takeChanges()) show(n);
}

QTreeWidgetItem* TreeWidgetAdapter::item(int node) const {
    return node >= 0 && static_cast<std::size_t>(node) < items_.size() ? items_[static_cast<std::size_t>(node)] : nullptr;
}

void TreeWidgetAdapter::show(int n) {
    const TreeModel::Node& node = model_.node(n);
    QTreeWidgetItem* item = items_[static_cast<std::size_t>(n)];
    item->setCheckState(0, node.ticked ? Qt::Checked : Qt::Unchecked);
    QFont font = item->font(0);
    if (font.bold() != node.bold) {
        font.setBold(node.bold);
        item->setFont(0, font);
    }
}

void TreeWidgetAdapter::itemChanged(QTreeWidgetItem* item, int column) {
    if (column != 0) return;
    const QVariant data = item->data(0, kNodeRole);
    if (!data.isValid()) return;
    const int n = data.toInt();
    const bool ticked = item->checkState(0) == Qt::Checked;
    if (model_.node(n).ticked == ticked) return;
    model_.setTicked(n, ticked);
    if (cascade_) cascade_(n);
    showChanges();
}

}  // namespace velmora
