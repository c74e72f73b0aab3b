#include "app/frmDataSetALL.h"

#include <exception>

#include "app/CancelOnlyLayout.h"
#include "convert/core/ConversionState.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

frmDataSetALL::frmDataSetALL(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDataSetALL");
    setWindowTitle(QStringLiteral("（全国）変換情報設定"));
    cmdEnd = velmora::addCancelOnlyLayout(*this);
}

frmDataSetALL::~frmDataSetALL() = default;

void frmDataSetALL::Form_Load() {
    try {
        const std::string& name = velmora::conversionState().selectedLayerName();
        setWindowTitle(QStringLiteral("（全国）変換情報設定") + QString::fromStdString(velmora::text::fromCp932(name)));
    } catch (const std::exception& e) {
        velmora::ui::showError(e, "Error: frmDataSetALL (Form_Load)");
    }
}
