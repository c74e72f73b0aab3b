#include "app/frmSyusuiSelect.h"

#include <QListWidget>
#include <QPointer>

#include "app/CancelOnlyLayout.h"

namespace {

QPointer<frmSyusuiSelect>& currentForm() {
    static QPointer<frmSyusuiSelect> form;
    return form;
}

}  // namespace

frmSyusuiSelect::frmSyusuiSelect(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSyusuiSelect");
    setWindowTitle(QStringLiteral("変換対象集水域情報設定"));
    P_ListInputFile = new QListWidget(this);
    P_ListInputFile->setObjectName("P_ListInputFile");
    P_ListInputFile->hide();
    cmdEnd = velmora::addCancelOnlyLayout(*this);
    currentForm() = this;
}

frmSyusuiSelect::~frmSyusuiSelect() = default;

frmSyusuiSelect* frmSyusuiSelect::current() { return currentForm().data(); }
