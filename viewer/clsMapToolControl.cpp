#include "viewer/clsMapToolControl.h"

#include <QString>
#include <filesystem>
#include <system_error>

namespace {

// An existing file (not a folder) whose path holds the extension in any letter case.
bool acceptable(const std::string& path, const char* extension) {
    if (path.empty() || !QString::fromStdString(path).contains(QLatin1String(extension), Qt::CaseInsensitive))
        return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

bool clsMapToolControl::AddLayer(const std::string& AddLayerName, QTreeWidget*) {
    if (!acceptable(AddLayerName, ".shp")) return false;
    layers_.push_back(AddLayerName);
    return true;
}

bool clsMapToolControl::AddTable(const std::string& AddTableName) {
    if (!acceptable(AddTableName, ".dbf")) return false;
    tables_.push_back(AddTableName);
    return true;
}
