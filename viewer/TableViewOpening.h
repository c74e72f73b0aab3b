#pragma once
// The main window's attribute-table command: the window of the selected node's table, brought to the front
// when it is open, else opened on a fresh copy "xxattrNN.dbf" (the lowest free number 01 to 99) in the
// program folder. Nothing for no node or a root, and nothing (no box) when all 99 names are taken. A
// failure shows "Error: frmMapMain (ShowTableViewDialog)".
#include <optional>
#include <string>

#include "viewer/ThemeSelection.h"

namespace velmora::viewer {

void openTableView(const std::optional<SelectedTheme>& node, const std::string& programFolder);

// The copy of number n (1 to 99) in the program folder.
std::string tableCopyPath(const std::string& programFolder, int n);

}  // namespace velmora::viewer
