#pragma once
// The theme tree's selection as the identify tool and the table command read it: the selected layer or
// table node (none for a root or no selection) and the main window's corner.
#include "viewer/ThemeSelection.h"

class QTreeWidget;
class QWidget;

namespace velmora::viewer {

class TreeThemeSelection : public ThemeSelection {
public:
    TreeThemeSelection(QTreeWidget* tree, QWidget* window) : tree_(tree), window_(window) {}
    std::optional<SelectedTheme> selectedTheme() const override;
    QPoint windowTopLeft() const override;

private:
    QTreeWidget* tree_;
    QWidget* window_;
};

}  // namespace velmora::viewer
