// The theme tree's handlers: check marks, the visibility test, deletion, the drag that re-orders layers
// (press, move and release with our own drop mark) and the pop-up menus.
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSplitterHandle>
#include <QTreeWidget>
#include <exception>

#include "platform/map/MapView.h"
#include "platform/ui/UiService.h"
#include "viewer/ToolBand.h"
#include "viewer/frmMapMain.h"

using namespace velmora;
using namespace velmora::viewer;

namespace {

void showTreeError(const std::exception& e, const char* procedure) {
    ui::showError(e, std::string("Error: frmMapMain (") + procedure + ")");
}

// The index of the map layer with this name, or -1.
int layerIndex(const map::MapView& map, const QString& name) {
    const std::string n = name.toStdString();
    for (int i = 0; i < map.layerCount(); ++i)
        if (map.layer(i)->name() == n) return i;
    return -1;
}

}  // namespace

void frmMapMain::ClearDrag() {
    SetDropHighlight(nullptr);
    DragNode = nullptr;
    Dragging = false;
}

void frmMapMain::SetDropHighlight(QTreeWidgetItem* node) {
    if (node == DropHighlight) return;
    const QSignalBlocker blocker(tvwThemeList);
    if (DropHighlight) {
        DropHighlight->setData(0, Qt::BackgroundRole, QVariant());
        DropHighlight->setData(0, Qt::ForegroundRole, QVariant());
    }
    DropHighlight = node;
    if (node) {
        node->setBackground(0, palette().brush(QPalette::Highlight));
        node->setForeground(0, palette().brush(QPalette::HighlightedText));
    }
}

bool frmMapMain::BeforeNodeCheck() {
    try {
        QTreeWidgetItem* node = tvwThemeList->currentItem();
        if (!node || !node->isSelected()) return false;
        const QString key = nodeKey(node);
        if (key == kMapRootKey) {
            const bool checked = isChecked(node);
            for (int i = 0; i < MainMap->layerCount(); ++i)
                if (MainMap->layer(i)->visible() != checked) return true;
            return false;
        }
        if (key == kTableRootKey) return true;
        if (isLayerNode(node)) {
            const auto layer = MainMap->layerByName(node->text(0).toStdString());
            return layer && layer->visible() != isChecked(node);
        }
        return false;
    } catch (const std::exception& e) {
        showTreeError(e, "BeforeNodeCheck");
        return false;
    }
}

void frmMapMain::tvwThemeList_NodeCheck(QTreeWidgetItem* node) {
    try {
        if (!node) return;
        modCommon::tvwNodeCheck(tvwThemeList, node);
        const QString key = nodeKey(node);
        if (key == kMapRootKey) {
            for (int i = 0; i < MainMap->layerCount(); ++i) MainMap->layer(i)->setVisible(isChecked(node));
            MainMap->refresh();
        } else if (isLayerNode(node)) {
            if (const auto layer = MainMap->layerByName(node->text(0).toStdString())) layer->setVisible(isChecked(node));
            MainMap->refresh();
        }
    } catch (const std::exception& e) {
        showTreeError(e, "tvwThemeList_NodeCheck");
    }
}

void frmMapMain::DeleteTheme() {
    try {
        QTreeWidgetItem* node = tvwThemeList->currentItem();
        if (!node || !node->isSelected() || !node->parent()) return;
        const bool layer = isLayerNode(node);
        const QString name = node->text(0);
        if (layer) {
            const int index = layerIndex(*MainMap, name);
            if (index >= 0) MainMap->removeLayer(index);
            ImageList4.swatches.erase(name);
        }
        if (node == DragNode || node == DropHighlight) ClearDrag();
        if (MainMap->layerCount() == 0) DragNode = nullptr;
        {
            const QSignalBlocker blocker(tvwThemeList);
            delete node;
            // Each root's marks from what is left under it; an empty root is neither checked nor bold.
            for (const QString& key : {kMapRootKey, kTableRootKey}) {
                QTreeWidgetItem* r = root(tvwThemeList, key);
                bool all = r->childCount() > 0, any = false;
                for (int i = 0; i < r->childCount(); ++i) {
                    all = all && isChecked(r->child(i));
                    any = any || isChecked(r->child(i));
                }
                setChecked(r, all);
                setBold(r, any);
            }
        }
    } catch (const std::exception& e) {
        showTreeError(e, "DeleteTheme");
    }
}

void frmMapMain::tvwThemeList_MouseDown(int button, int shift, int x, int y) {
    try {
        if (button != map::button::Left || shift == map::shiftState::Shift) return;
        QTreeWidgetItem* node = tvwThemeList->itemAt(x, y);
        if (!node) return;
        if (isLayerNode(node)) {
            DragNode = node;
            SetDropHighlight(node);
        } else {
            DragNode = nullptr;
            SetDropHighlight(nullptr);
        }
    } catch (const std::exception& e) {
        showTreeError(e, "tvwThemeList_MouseDown");
    }
}

void frmMapMain::tvwThemeList_MouseMove(int button, int shift, int x, int y) {
    try {
        if (button != map::button::Left || shift != 0) return;
        QTreeWidgetItem* node = tvwThemeList->itemAt(x, y);
        if (node && DragNode && nodeKey(node) != nodeKey(DragNode)) Dragging = true;
    } catch (const std::exception& e) {
        showTreeError(e, "tvwThemeList_MouseMove");
    }
}

void frmMapMain::tvwThemeList_DragOver(int x, int y) {
    try {
        if (!DragNode || !Dragging) return;
        // A check mark changed as the drag began still reaches the map.
        if (BeforeNodeCheck()) tvwThemeList_NodeCheck(DragNode);
        QTreeWidgetItem* node = tvwThemeList->itemAt(x, y);
        if (!node || !node->parent()) SetDropHighlight(nullptr);
        else if (isLayerNode(node)) SetDropHighlight(node);
    } catch (const std::exception& e) {
        showTreeError(e, "tvwThemeList_DragOver");
    }
}

void frmMapMain::tvwThemeList_DragDrop(int x, int y) {
    try {
        QTreeWidgetItem* target = tvwThemeList->itemAt(x, y);
        if (!target) {
            ClearDrag();
            return;
        }
        if (!DragNode || !isLayerNode(target) || nodeKey(target) == nodeKey(DragNode)) return;
        const int from = std::max(0, layerIndex(*MainMap, DragNode->text(0)));
        const int to = std::max(0, layerIndex(*MainMap, target->text(0)));
        MainMap->moveLayer(from, to);
        MainMap->refresh();
        QTreeWidgetItem* parent = target->parent();
        const int at = parent->indexOfChild(target) + (from < to ? 1 : 0);
        QTreeWidgetItem* moved;
        {
            const QSignalBlocker blocker(tvwThemeList);
            const QString key = nodeKey(DragNode);
            const QString path = QString::fromStdString(nodePath(DragNode));
            const bool checked = isChecked(DragNode);
            moved = addNode(parent, at, QString(), path, DragNode->text(0), DragNode->data(0, role::ImageKey).toString(),
                            ImageList4);
            QTreeWidgetItem* old = DragNode;
            ClearDrag();
            delete old;
            setChecked(moved, checked);
            moved->setData(0, role::Key, key);
        }
        tvwThemeList->setCurrentItem(moved);
    } catch (const std::exception& e) {
        showTreeError(e, "tvwThemeList_DragDrop");
    }
}

void frmMapMain::tvwThemeList_MouseUp(int button, int shift, int, int) {
    try {
        if (button != map::button::Right || shift != 0) return;
        QTreeWidgetItem* node = tvwThemeList->currentItem();
        if (node && !node->isSelected()) node = nullptr;
        if (node && node->parent()) {
            showPopUp1();
            return;
        }
        if (node) AddThemeFilter = nodeKey(node) == kMapRootKey ? 1 : 2;
        showPopUp2();
    } catch (const std::exception& e) {
        showTreeError(e, "tvwThemeList_MouseUp");
    }
}

void frmMapMain::showPopUp1() {
    const int chosen = ui::service().popupMenu(
        {"テーマの削除(&R)", "-", "属性テーブルを開く(&Z)", "-", "プロパティ(&P)..."});
    if (chosen == 0) mnuPDelTheme_Click();
    else if (chosen == 2) mnuPDispAttr_Click();
    else if (chosen == 4) mnuPTProp_Click();
}

void frmMapMain::showPopUp2() {
    if (ui::service().popupMenu({"テーマの追加"}) == 0) mnuPAddTheme_Click();
}

void frmMapMain::tvwThemeList_DblClick() { ShowLayerPropDialog(true); }

bool frmMapMain::eventFilter(QObject* watched, QEvent* e) {
    if (watched == SSSplitter2->handle(1)) {
        if (e->type() == QEvent::MouseMove) SSSplitter2_MouseMove();
        return false;
    }
    if (watched == tvwThemeList) {
        // The window's shortcuts win over the tree's own keys (Ctrl+A selects nothing here).
        if (e->type() == QEvent::ShortcutOverride) {
            const auto* k = static_cast<QKeyEvent*>(e);
            if (k->modifiers() & Qt::ControlModifier) {
                e->ignore();
                return true;
            }
        }
        return false;
    }
    if (watched != tvwThemeList->viewport()) return false;
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(e);
        const QPoint p = m->position().toPoint();
        const int button = buttonCode(m->button());
        tvwThemeList_MouseDown(button, shiftCode(m->modifiers()), p.x(), p.y());
        // A right press selects nothing.
        return button != map::button::Left;
    }
    case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(e);
        if (!(m->buttons() & Qt::LeftButton)) return false;
        const QPoint p = m->position().toPoint();
        tvwThemeList_MouseMove(buttonCode(m->buttons()), shiftCode(m->modifiers()), p.x(), p.y());
        if (Dragging) tvwThemeList_DragOver(p.x(), p.y());
        // The selection does not follow a held button.
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* m = static_cast<QMouseEvent*>(e);
        const QPoint p = m->position().toPoint();
        const int button = buttonCode(m->button());
        const bool dropped = button == map::button::Left && Dragging;
        if (dropped) {
            tvwThemeList_DragDrop(p.x(), p.y());
            // The release ends the drag wherever it fell.
            Dragging = false;
        }
        tvwThemeList_MouseUp(button, shiftCode(m->modifiers()), p.x(), p.y());
        return dropped || button != map::button::Left;
    }
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) tvwThemeList_DblClick();
        return false;
    default: return false;
    }
}
