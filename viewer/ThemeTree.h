#pragma once
// The theme tree beside the map: two roots, "SH" (map data: one node per layer, in the map's order) and
// "DB" (tables, the newest first). Every addition rebuilds the tree (ThemeLst_Set); check marks cascade
// between a node and its root (tvwNodeCheck). Our code sets marks with the tree's signals blocked, so
// only a user's click reaches the check handler.
#include <QString>
#include <QTreeWidgetItem>
#include <map>
#include <string>

class QTreeWidget;

namespace velmora::viewer {

// What a node holds besides its text.
namespace role {
inline constexpr int Key = Qt::UserRole;           // key prefix "001" + the dBASE path
inline constexpr int Path = Qt::UserRole + 1;      // the dBASE path itself (a layer's table, or the table)
inline constexpr int ImageKey = Qt::UserRole + 2;  // "SH", "DB", "台帳データ" or the layer's name
}

inline const QString kMapRootKey = QStringLiteral("SH");
inline const QString kTableRootKey = QStringLiteral("DB");
inline const QString kMapRootText = QStringLiteral("地図データ");
inline const QString kTableRootText = QStringLiteral("台帳データ");
inline const QString kTableImageKey = QStringLiteral("台帳データ");

// The tree's images: the three fixed icons and, apart from them, one swatch per layer name (so a layer
// named "SH" cannot take a fixed icon's place).
struct ThemeImages {
    std::map<QString, QImage> fixed;
    std::map<QString, QImage> swatches;
};

QString nodeKey(const QTreeWidgetItem* node);
// The dBASE file a layer or table node stands for.
std::string nodePath(const QTreeWidgetItem* node);
bool isChecked(const QTreeWidgetItem* node);
bool isBold(const QTreeWidgetItem* node);
// A child of the map-data root.
bool isLayerNode(const QTreeWidgetItem* node);
bool isTableNode(const QTreeWidgetItem* node);
QTreeWidgetItem* root(QTreeWidget* tree, const QString& key);

// Sets marks and looks without telling the tree's listeners (the caller blocks the tree's signals).
void setChecked(QTreeWidgetItem* node, bool checked);
void setBold(QTreeWidgetItem* node, bool bold);

// The icon of the node's image key: a swatch for a layer node, else a fixed image.
QIcon nodeIcon(const QTreeWidgetItem* node, const ThemeImages& images);

// The two roots, both expanded.
void addRoots(QTreeWidget* tree, const ThemeImages& images);
// A new node under `parent` at `index` with the key, path, text and image; checkable, never tristate.
QTreeWidgetItem* addNode(QTreeWidgetItem* parent, int index, const QString& key, const QString& path,
                         const QString& text, const QString& imageKey, const ThemeImages& images);

}  // namespace velmora::viewer

namespace velmora::modCommon {

// Raised by one for every node ThemeLst_Set adds during the run; never reset.
extern int ThemeKeyCounter;

// Adds one node (kind "SH": a layer whose map name is `text`; "DB": a table) as the first child of its
// root and rebuilds the tree around it. The error box "Error: modMbCommon (ThemeLst_Set)".
void ThemeLst_Set(QTreeWidget* tree, const std::string& path, const std::string& text, const std::string& kind);

// The cascade of the node's check mark: down to its descendants, up to its ancestors (checked when all
// siblings are, bold while any is). Nothing for nullptr. The error box "Error: modMbCommon (tvwNodeCheck)".
void tvwNodeCheck(QTreeWidget* tree, QTreeWidgetItem* node);

}  // namespace velmora::modCommon
