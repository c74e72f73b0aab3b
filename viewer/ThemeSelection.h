#pragma once
// What the identify tool and the attribute table need of the main window: the theme tree's selected node
// (its layer or table name and the path of its dBASE table) and where the window stands. The identify
// result and the table window keep the name and path they were made for, whatever is selected later.
#include <QPoint>
#include <optional>
#include <string>

namespace velmora::viewer {

struct SelectedTheme {
    bool layer = false;  // a layer node (else a table node)
    std::string name;    // the node's text: the layer's name on the map, or the table's
    std::string path;    // the dBASE table the node stands for
};

class ThemeSelection {
public:
    virtual ~ThemeSelection() = default;
    // Nothing when no node is selected or the selected node is a root.
    virtual std::optional<SelectedTheme> selectedTheme() const = 0;
    // The main window's top-left corner on the screen (frame included).
    virtual QPoint windowTopLeft() const = 0;
};

}  // namespace velmora::viewer
