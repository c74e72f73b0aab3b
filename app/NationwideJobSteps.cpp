#include <QCheckBox>
#include <QLineEdit>

#include "app/NationwideJobs.h"

#include "convert/core/ConversionState.h"
#include "app/frmDataSetALL.h"
#include "platform/ui/UiService.h"

namespace velmora::nationwide {

jobs::JobSettings readSettings(const frmDataSetALL& dialog) {
    jobs::JobSettings s;
    s.output = dialog.TxtOutPutFile->text().toStdString();
    s.files = {dialog.inputFile()};
    conversionState().JobInputFiles = s.files;
    s.pointOption = dialog.ChkMakeData[0]->isChecked() ? 1 : 0;
    s.lineOption = dialog.ChkMakeData[1]->isChecked() ? 1 : 0;
    return s;
}

void connectProgress(frmDataSetALL& dialog) { jobs::connectProgress(dialog.ProgressBar, dialog.lblMsg); }

void refuseEmptySelection(const char* title) {
    ui::message("作成する地域のメッシュコードが選択されていません。", title, ui::Icon::Exclamation);
}

std::string errorTitle(const char* suffix) { return std::string("Error: frmDataSetALL ") + suffix; }

}  // namespace velmora::nationwide
