#pragma once
// Connects a copy of a dBASE table in the program folder to a new attribute table window and shows it.
#include <string>

#include "viewer/ThemeSelection.h"

class clsTableView {
public:
    void set_pDataBasePath(const std::string& DBPath) { pDataBasePath = DBPath; }
    void set_pDataBaseName(const std::string& DBName) { pDataBaseName = DBName; }
    // Opens the window for the copy pDataBasePath/pDataBaseName.dbf of `source`'s table: its name in the
    // caption, its path as the tag. False after the box when the copy cannot be shown (no window then).
    bool TableView(const velmora::viewer::SelectedTheme& source);

private:
    std::string pDataBasePath;
    std::string pDataBaseName;
};
