#include "viewer/clsTableView.h"

#include <exception>

#include "platform/ui/UiService.h"
#include "viewer/frmTableView.h"

using namespace velmora;

bool clsTableView::TableView(const viewer::SelectedTheme& source) {
    auto* window = new frmTableView(source.name);
    try {
        window->set_pDataBasePath(pDataBasePath);
        window->set_pDataBaseName(pDataBaseName);
        window->connectTable();
        window->setTag(source.path);
        window->show();
        return true;
    } catch (const std::exception&) {
        // The copy stays for the exit clean-up, as after any failed opening.
        delete window;
        ui::message("属性ファイルが表示不可能な形式(255ﾌｨｰﾙﾄﾞ以上等)か又はファイルが壊れている為\r\n属性情報が表示出来ません",
                    "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
        return false;
    }
}
