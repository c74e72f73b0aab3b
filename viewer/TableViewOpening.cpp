#include "viewer/TableViewOpening.h"

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <system_error>

#include "platform/errors/RunTimeError.h"
#include "platform/map/CompanionFile.h"
#include "platform/ui/UiService.h"
#include "viewer/clsTableView.h"
#include "viewer/frmTableView.h"

namespace velmora::viewer {

namespace {

std::string copyName(int n) {
    char name[16];
    std::snprintf(name, sizeof name, "xxattr%02d", n);
    return name;
}

QWidget* windowShowing(const std::string& path) {
    const QString tag = QString::fromStdString(path);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->property(frmTableView::TagProperty).toString() == tag && !tag.isEmpty()) return w;
    return nullptr;
}

bool namesDbaseFile(const std::string& path) {
    const std::string ext = std::filesystem::path(path).extension().string();
    return ext.size() == 4 && ext[0] == '.' && (ext[1] | 0x20) == 'd' && (ext[2] | 0x20) == 'b' && (ext[3] | 0x20) == 'f';
}

// The node's own file. Only a path naming a dBASE file may be found in another letter case (a layer's
// table beside "ROADS.SHP"); any other file is never swapped for a neighbouring table of the same name.
std::string sourceFile(const std::string& source) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(source, ec)) return source;
    return namesDbaseFile(source) ? map::companionFile(source, ".dbf") : std::string();
}

void copyTable(const std::string& source, const std::string& copy) {
    const std::string found = sourceFile(source);
    if (found.empty()) throw RunTimeError(err::FileNotFound, "File not found: " + source);
    std::error_code ec;
    std::filesystem::copy_file(found, copy, ec);
    if (ec) throw RunTimeError(err::PathFileAccessError, "Path/File access error: " + copy + " (" + ec.message() + ")");
}

}  // namespace

std::string tableCopyPath(const std::string& programFolder, int n) { return programFolder + "/" + copyName(n) + ".dbf"; }

void openTableView(const std::optional<SelectedTheme>& node, const std::string& programFolder) {
    if (!node) return;
    if (QWidget* open = windowShowing(node->path)) {
        open->raise();
        open->activateWindow();
        return;
    }
    try {
        for (int n = 1; n <= 99; ++n) {
            const std::string copy = tableCopyPath(programFolder, n);
            std::error_code ec;
            if (std::filesystem::exists(copy, ec) || ec) continue;
            ui::service().setBusy(true);
            ui::service().yield();
            copyTable(node->path, copy);
            clsTableView view;
            view.set_pDataBasePath(programFolder);
            view.set_pDataBaseName(copyName(n));
            view.TableView(*node);
            break;
        }
    } catch (const std::exception& e) {
        ui::showError(e, "Error: frmMapMain (ShowTableViewDialog)");
    }
    ui::service().setBusy(false);
    ui::service().yield();
}

}  // namespace velmora::viewer
