#pragma once
// Shows a TreeModel in a QTreeWidget: one item per node with a check box (no automatic tristate: a
// parent's box never follows its children) and bold type for bold nodes. A tick or untick by the user is
// written into the model and handed to the owner's cascade; what the cascade changed is then shown with
// the widget's signals blocked, so the cascade's own ticks raise no further cascade.
#include <QObject>
#include <functional>
#include <vector>

#include "app/TreeModel.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace velmora {

class TreeWidgetAdapter : public QObject {
    Q_OBJECT

public:
    using Cascade = std::function<void(int node)>;
    TreeWidgetAdapter(QTreeWidget& view, TreeModel& model, Cascade cascade);

    // Replaces the widget's items by the model's nodes.
    void rebuild();
    // Shows the ticks and bold marks the model changed since the last showing.
    void showChanges();

    QTreeWidgetItem* item(int node) const;

private:
    void itemChanged(QTreeWidgetItem* item, int column);
    void show(int node);

    QTreeWidget& view_;
    TreeModel& model_;
    Cascade cascade_;
    std::vector<QTreeWidgetItem*> items_;
};

}  // namespace velmora
