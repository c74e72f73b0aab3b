#include "app/frmSyusuiSelect.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>

#include "app/CatchmentTree.h"
#include "app/JobDialogParts.h"
#include "app/TreeWidgetAdapter.h"
#include "app/frmDataSelect.h"
#include "app/frmDataSet.h"
#include "convert/core/ConversionState.h"
#include "platform/ui/UiService.h"

namespace {

QPointer<frmSyusuiSelect>& currentForm() {
    static QPointer<frmSyusuiSelect> form;
    return form;
}

using velmora::jobdialog::named;

void showProcedureError(const std::exception& e, const char* procedure) {
    velmora::ui::showError(e, std::string("Error: frmSyusuiSelect (") + procedure + ")");
}

}  // namespace

frmSyusuiSelect::frmSyusuiSelect(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSyusuiSelect");
    setWindowTitle(QStringLiteral("変換対象集水域情報設定"));
    Frame2 = named(new QGroupBox(QStringLiteral("変換対象集水域情報"), this), "Frame2");
    lblInputFile = named(new QLabel(QStringLiteral("変換対象集水域"), Frame2), "lblInputFile");
    Label3 = named(new QLabel(QStringLiteral("変換を行いたい集水域を選択してください。"), Frame2), "Label3");
    TreeView = named(new QTreeWidget(Frame2), "TreeView");
    TreeView->setHeaderHidden(true);
    TreeView->setColumnCount(1);
    Label2 = named(new QLabel(QStringLiteral("複数の集水域を選択された場合はデータ量の関係で変換に長時間を要する場合があります。ご了承ください。"),
                              Frame2),
                   "Label2");
    Label2->setWordWrap(true);
    auto* frameLayout = new QVBoxLayout(Frame2);
    frameLayout->addWidget(lblInputFile);
    frameLayout->addWidget(Label3);
    frameLayout->addWidget(TreeView, 1);
    frameLayout->addWidget(Label2);

    P_ListInputFile = named(new QListWidget(this), "P_ListInputFile");
    P_ListInputFile->hide();
    CmdOK = named(new QPushButton(QStringLiteral("OK"), this), "CmdOK");
    cmdEnd = named(new QPushButton(QStringLiteral("キャンセル"), this), "cmdEnd");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdOK);
    buttons->addWidget(cmdEnd);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame2, 1);
    layout->addLayout(buttons);
    resize(460, 560);

    treeAdapter_ = new velmora::TreeWidgetAdapter(*TreeView, tree_, [this](int node) { TreeView_NodeCheck(node); });
    connect(CmdOK, &QPushButton::clicked, this, &frmSyusuiSelect::CmdOK_Click);
    connect(cmdEnd, &QPushButton::clicked, this, &frmSyusuiSelect::cmdEnd_Click);
    currentForm() = this;
}

frmSyusuiSelect::~frmSyusuiSelect() = default;

frmSyusuiSelect* frmSyusuiSelect::current() { return currentForm().data(); }

std::string& frmSyusuiSelect::lastFolder() {
    static std::string folder;
    return folder;
}

QTreeWidgetItem* frmSyusuiSelect::treeItem(const std::string& key) const { return treeAdapter_->item(tree_.find(key)); }

void frmSyusuiSelect::Form_Load() {
    try {
        velmora::conversionState().SelectedKind = velmora::DataKind::Area;
        if (!SetSyusuiCsvToTree())
            velmora::ui::message("集水域の情報ファイル(DataSyusui.csv)を読み込めませんでした。確認してください。", "ｴﾗｰﾒｯｾｰｼﾞ");
    } catch (const std::exception& e) {
        showProcedureError(e, "Form_Load");
    }
}

bool frmSyusuiSelect::SetSyusuiCsvToTree() {
    bool loaded = true;
    tree_.clear();
    try {
        velmora::loadCatchmentTree(tree_, velmora::conversionState().AppFolder + velmora::kCatchmentTreeFileName);
    } catch (const std::exception& e) {
        showProcedureError(e, "SetSyusuiCsvToTree");
        loaded = false;
    }
    treeAdapter_->rebuild();
    // The last region read is the tree's selected node.
    if (!tree_.empty()) {
        const std::vector<int>& regions = tree_.node(tree_.root()).children;
        if (!regions.empty()) TreeView->setCurrentItem(treeAdapter_->item(regions.back()));
        treeAdapter_->item(tree_.root())->setExpanded(true);
    }
    return loaded;
}

void frmSyusuiSelect::TreeView_NodeCheck(int node) {
    try {
        velmora::catchmentTreeNodeCheck(tree_, node);
    } catch (const std::exception& e) {
        showProcedureError(e, "TreeView_NodeCheck");
    }
}

bool frmSyusuiSelect::SetSelectSyusui() {
    velmora::ConversionState& s = velmora::conversionState();
    s.CatchmentSelection.clear();
    try {
        s.CatchmentSelection = velmora::catchmentSelection(tree_);
        return true;
    } catch (const std::exception& e) {
        showProcedureError(e, "SetSelectSyusui");
        return false;
    }
}

bool frmSyusuiSelect::SelectInputFiles(const std::vector<std::string>& names) {
    return frmDataSelect::chooseInputFiles(names, lastFolder(), *P_ListInputFile);
}

void frmSyusuiSelect::CmdOK_Click() {
    if (!SetSelectSyusui()) return;
    velmora::ConversionState& s = velmora::conversionState();
    if (s.CatchmentSelection.empty()) {
        velmora::ui::message("作成する地域の集水域が選択されていません。");
        return;
    }
    P_ListInputFile->clear();
    if (!SelectInputFiles(s.dataNames(velmora::CatalogKind::Area)) || P_ListInputFile->count() == 0) return;
    frmDataSet dialog(this);
    dialog.Form_Load();
    velmora::ui::service().runModal(dialog);
}

void frmSyusuiSelect::cmdEnd_Click() { reject(); }
