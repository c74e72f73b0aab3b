#pragma once
// The main window's map tool: the operations by which the conversion side adds its results to the map.
// Until the map control is there the tool keeps the layers and tables it accepted; the main window's map
// lists them, so the output checks see them as files on the map.
#include <string>
#include <vector>

class QTreeWidget;

class clsMapToolControl {
public:
    // Adds the shapefile as a layer (tvw: the theme tree, nullptr for the main window's). False without a
    // change when the path is empty, names no existing file or does not hold ".shp" (any letter case).
    bool AddLayer(const std::string& AddLayerName, QTreeWidget* tvw = nullptr);
    // Adds the dBASE table under the tables root. False without a change when the path names no existing
    // file or does not hold ".dbf" (any letter case).
    bool AddTable(const std::string& AddTableName);

    // The accepted paths, in the order they were added.
    const std::vector<std::string>& layers() const { return layers_; }
    const std::vector<std::string>& tables() const { return tables_; }

private:
    std::vector<std::string> layers_;
    std::vector<std::string> tables_;
};
