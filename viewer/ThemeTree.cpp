#include "viewer/ThemeTree.h"

#include <QSignalBlocker>
#include <cmath>
#include <QTreeWidget>
#include <exception>
#include <functional>
#include <vector>

#include "platform/errors/RunTimeError.h"
#include "platform/map/CompanionFile.h"
#include "platform/map/MapView.h"
#include "platform/ui/UiService.h"
#include "viewer/PictureSurface.h"
#include "viewer/clsLegendRenderer.h"
#include "viewer/frmMapMain.h"

namespace velmora::viewer {

QString nodeKey(const QTreeWidgetItem* node) { return node ? node->data(0, role::Key).toString() : QString(); }

std::string nodePath(const QTreeWidgetItem* node) {
    return node ? node->data(0, role::Path).toString().toStdString() : std::string();
}

bool isChecked(const QTreeWidgetItem* node) { return node->checkState(0) == Qt::Checked; }
bool isBold(const QTreeWidgetItem* node) { return node->font(0).bold(); }

bool isLayerNode(const QTreeWidgetItem* node) {
    return node && node->parent() && nodeKey(node->parent()) == kMapRootKey;
}

bool isTableNode(const QTreeWidgetItem* node) {
    return node && node->parent() && nodeKey(node->parent()) == kTableRootKey;
}

QTreeWidgetItem* root(QTreeWidget* tree, const QString& key) {
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (nodeKey(tree->topLevelItem(i)) == key) return tree->topLevelItem(i);
    return nullptr;
}

void setChecked(QTreeWidgetItem* node, bool checked) { node->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked); }

void setBold(QTreeWidgetItem* node, bool bold) {
    QFont f = node->font(0);
    if (f.bold() == bold) return;
    f.setBold(bold);
    node->setFont(0, f);
}

namespace {

QTreeWidgetItem* newNode(const QString& key, const QString& path, const QString& text, const QString& imageKey) {
    auto* node = new QTreeWidgetItem(QStringList{text});
    // Checkable, but no automatic tristate: the cascade sets every mark itself.
    node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    node->setData(0, role::Key, key);
    node->setData(0, role::Path, path);
    node->setData(0, role::ImageKey, imageKey);
    node->setCheckState(0, Qt::Unchecked);
    return node;
}

}  // namespace

QIcon nodeIcon(const QTreeWidgetItem* node, const ThemeImages& images) {
    const auto& from = isLayerNode(node) ? images.swatches : images.fixed;
    const auto it = from.find(node->data(0, role::ImageKey).toString());
    return it == from.end() ? QIcon() : QIcon(QPixmap::fromImage(it->second));
}

void addRoots(QTreeWidget* tree, const ThemeImages& images) {
    const QSignalBlocker blocker(tree);
    for (const auto& [key, text] : {std::pair{kMapRootKey, kMapRootText}, std::pair{kTableRootKey, kTableRootText}}) {
        QTreeWidgetItem* r = newNode(key, QString(), text, key);
        tree->addTopLevelItem(r);
        r->setIcon(0, nodeIcon(r, images));
        r->setExpanded(true);
    }
}

QTreeWidgetItem* addNode(QTreeWidgetItem* parent, int index, const QString& key, const QString& path,
                         const QString& text, const QString& imageKey, const ThemeImages& images) {
    QTreeWidgetItem* node = newNode(key, path, text, imageKey);
    parent->insertChild(index, node);
    node->setIcon(0, nodeIcon(node, images));
    return node;
}

}  // namespace velmora::viewer

namespace velmora::modCommon {

using namespace velmora::viewer;

int ThemeKeyCounter = 0;

namespace {

frmMapMain* windowOf(QTreeWidget* tree) {
    if (auto* w = qobject_cast<frmMapMain*>(tree->window())) return w;
    if (frmMapMain* w = frmMapMain::instance()) return w;
    throw RunTimeError(91, "Object variable or With block variable not set");
}

// The table of a layer: found whatever its letter case, else the shapefile's path with "dbf" for its last
// three characters.
QString layerTablePath(const std::string& shapePath) {
    const std::string found = map::companionFile(shapePath, ".dbf");
    if (!found.empty()) return QString::fromStdString(found);
    const QString p = QString::fromStdString(shapePath);
    return p.left(std::max<qsizetype>(0, p.size() - 3)) + "dbf";
}

struct RecordedNode {
    QString root, key, path, text, imageKey;
    bool checked;
};

}  // namespace

QImage layerSwatch(frmMapMain& w, const std::string& layerName, int left, int top) {
    PictureSurface& surface = *w.Picture1;
    surface.clear();
    clsLegendRenderer renderer;
    renderer.setPictureBox(&surface);
    constexpr int side = 13;
    renderer.setRendererHeight(side);
    renderer.setRendererWidth(side);
    const std::shared_ptr<map::MapLayer> layer = w.MainMap->layerByName(layerName);
    if (!layer) throw RunTimeError(err::SubscriptOutOfRange, "Subscript out of range");
    const map::Symbol symbol = layer->symbol();
    renderer.AddEntry(false, &symbol, top, left);
    // The tree shows the swatch at the size it was drawn: the icon is the part of the surface about the
    // swatch's middle, not the whole surface shrunk (which made a marker smaller than the map draws it).
    const QSize icon = w.tvwThemeList->iconSize();
    const int middleX = static_cast<int>(std::floor(left / TwipsPerPixel + side / 2.0));
    const int middleY = static_cast<int>(std::floor(top / TwipsPerPixel + side / 2.0));
    return surface.image().copy(middleX - icon.width() / 2, middleY - icon.height() / 2, icon.width(), icon.height());
}

void ThemeLst_Set(QTreeWidget* tree, const std::string& path, const std::string& text, const std::string& kind) {
    try {
        frmMapMain& w = *windowOf(tree);
        std::vector<RecordedNode> recorded;
        for (const QString& rootKey : {kMapRootKey, kTableRootKey})
            if (QTreeWidgetItem* r = root(tree, rootKey))
                for (int i = 0; i < r->childCount(); ++i) {
                    const QTreeWidgetItem* c = r->child(i);
                    recorded.push_back({rootKey, nodeKey(c), c->data(0, role::Path).toString(), c->text(0),
                                        c->data(0, role::ImageKey).toString(), isChecked(c)});
                }
        // Every node is made afresh: one still held for a drag would be gone.
        w.ClearDrag();
        {
            const QSignalBlocker blocker(tree);
            tree->clear();
        }
        addRoots(tree, w.ImageList4);
        ++ThemeKeyCounter;
        const bool layer = kind == "SH";
        const QString keyPath = layer ? layerTablePath(path) : QString::fromStdString(path);
        const QString key = QStringLiteral("%1").arg(ThemeKeyCounter, 3, 10, QLatin1Char('0')) + keyPath;
        const QString name = QString::fromStdString(text);
        QTreeWidgetItem* parent = root(tree, QString::fromStdString(kind));
        if (!parent) throw RunTimeError(35601, "Element not found");
        QTreeWidgetItem* node;
        {
            const QSignalBlocker blocker(tree);
            node = addNode(parent, 0, key, keyPath, name, layer ? name : kTableImageKey, w.ImageList4);
            setChecked(node, true);
        }
        tvwNodeCheck(tree, node);
        if (layer) {
            w.ImageList4.swatches[name] = layerSwatch(w, text, 60, 60);
            const QSignalBlocker blocker(tree);
            node->setIcon(0, nodeIcon(node, w.ImageList4));
        }
        for (const RecordedNode& r : recorded) {
            QTreeWidgetItem* formerRoot = root(tree, r.root);
            QTreeWidgetItem* again;
            {
                const QSignalBlocker blocker(tree);
                again = addNode(formerRoot, formerRoot->childCount(), r.key, r.path, r.text, r.imageKey, w.ImageList4);
                setChecked(again, r.checked);
            }
            tvwNodeCheck(tree, again);
        }
    } catch (const std::exception& e) {
        ui::showError(e, "Error: modMbCommon (ThemeLst_Set)");
    }
}

void tvwNodeCheck(QTreeWidget* tree, QTreeWidgetItem* node) {
    try {
        if (!node) return;
        const QSignalBlocker blocker(tree);
        const bool c = isChecked(node);
        if (node->childCount() > 0) setBold(node, c);
        // Four levels down get the mark; three levels down, those with children of their own the bold mark.
        std::function<void(QTreeWidgetItem*, int)> down = [&](QTreeWidgetItem* item, int depth) {
            for (int i = 0; i < item->childCount(); ++i) {
                QTreeWidgetItem* child = item->child(i);
                setChecked(child, c);
                if (depth <= 3 && child->childCount() > 0) setBold(child, c);
                if (depth < 4) down(child, depth + 1);
            }
        };
        down(node, 1);
        const auto siblings = [](QTreeWidgetItem* item, const std::function<bool(QTreeWidgetItem*)>& test) {
            QTreeWidgetItem* parent = item->parent();
            for (int i = 0; i < parent->childCount(); ++i)
                if (!test(parent->child(i))) return false;
            return true;
        };
        QTreeWidgetItem* item = node;
        if (c) {
            for (int level = 0; level < 3 && item->parent(); ++level, item = item->parent()) {
                if (siblings(item, [](QTreeWidgetItem* s) { return isChecked(s); })) setChecked(item->parent(), true);
                setBold(item->parent(), true);
            }
        } else {
            for (int level = 0; level < 3 && item->parent(); ++level, item = item->parent())
                setChecked(item->parent(), false);
            item = node;
            for (int level = 0; level < 3 && item->parent(); ++level, item = item->parent()) {
                if (!siblings(item, [](QTreeWidgetItem* s) { return !isChecked(s) && !isBold(s); })) break;
                setBold(item->parent(), false);
            }
        }
    } catch (const std::exception& e) {
        ui::showError(e, "Error: modMbCommon (tvwNodeCheck)");
    }
}

}  // namespace velmora::modCommon
