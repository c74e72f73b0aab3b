#include "app/frmDataSetALL.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>
#include <filesystem>

#include "app/JobDialogParts.h"
#include "app/JobProcedures.h"
#include "app/MeshSelection.h"
#include "app/MeshTree.h"
#include "app/TreeWidgetAdapter.h"
#include "app/frmDataSelect.h"
#include "convert/core/ConversionState.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

using velmora::ConversionState;
using velmora::DataKind;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

using velmora::jobdialog::named;

void showProcedureError(const std::exception& e, const char* suffix) {
    velmora::ui::showError(e, std::string("Error: frmDataSetALL ") + suffix);
}

}  // namespace

frmDataSetALL::frmDataSetALL(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDataSetALL");
    setWindowTitle(QStringLiteral("（全国）変換情報設定"));

    Frame2 = named(new QGroupBox(QStringLiteral("入力ファイル情報"), this), "Frame2");
    lblInputFile = named(new QLabel(QStringLiteral("入力ファイル"), Frame2), "lblInputFile");
    Label3 = named(new QLabel(QStringLiteral("変換を行いたいメッシュコードを選択してください。"), Frame2), "Label3");
    TreeView = named(new QTreeWidget(Frame2), "TreeView");
    TreeView->setHeaderHidden(true);
    TreeView->setColumnCount(1);
    Label2[1] = new QLabel(
        QStringLiteral("全国を選択された場合はデータ量の関係で変換に長時間を要する場合があります。ご了承ください。"), Frame2);
    Label2[0] = new QLabel(QStringLiteral("変換するデータは選択されたメッシュコードの代表点のものとなります。"), Frame2);
    auto* inLayout = new QVBoxLayout(Frame2);
    inLayout->addWidget(lblInputFile);
    inLayout->addWidget(Label3);
    inLayout->addWidget(TreeView, 1);
    for (int i : {1, 0}) {
        named(Label2[i], "Label2")->setProperty("index", i);
        Label2[i]->setWordWrap(true);
        inLayout->addWidget(Label2[i]);
    }

    namespace parts = velmora::jobdialog;
    Frame1 = parts::outputFrame(this, TxtOutPutFile, CmdRef);
    Frame3 = parts::projectionFrame(this, "Frame3", Label1, OptMake, [this](int i) { OptMake_Click(i); });
    FrmSys = parts::datumFrame(this, OptSys);
    FrmFuzoku = parts::attachedFrame(this, ChkMakeData);
    parts::progressDisplay(this, lblMsg, ProgressBar);
    QHBoxLayout* buttons = parts::buttonRow(this, CmdConv, cmdEnd);

    QHBoxLayout* options = parts::optionsRow(Frame3, FrmSys, FrmFuzoku);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame2, 1);
    layout->addWidget(Frame1);
    layout->addLayout(options);
    layout->addWidget(lblMsg);
    layout->addWidget(ProgressBar);
    layout->addLayout(buttons);
    resize(600, 640);

    treeAdapter_ = new velmora::TreeWidgetAdapter(*TreeView, meshTree_, [this](int node) { TreeView_NodeCheck(node); });

    connect(CmdRef, &QPushButton::clicked, this, &frmDataSetALL::CmdRef_Click);
    connect(CmdConv, &QPushButton::clicked, this, &frmDataSetALL::CmdConv_Click);
    connect(cmdEnd, &QPushButton::clicked, this, &frmDataSetALL::cmdEnd_Click);
}

frmDataSetALL::~frmDataSetALL() = default;

QTreeWidgetItem* frmDataSetALL::treeItem(const std::string& key) const {
    return treeAdapter_->item(meshTree_.find(key));
}

std::string frmDataSetALL::inputFile() const { return lblInputFile->text().toStdString(); }

void frmDataSetALL::Form_Load() {
    try {
        ConversionState& s = velmora::conversionState();
        const DataKind kind = s.SelectedKind;
        const int row = s.SelectedIndex;
        setWindowTitle(QStringLiteral("（全国）変換情報設定") + q(velmora::text::fromCp932(s.layerName(kind, row))));
        FrmFuzoku->setVisible(kind == DataKind::Area);
        if (kind == DataKind::Area && (row == 6 || row == 7 || row == 9))
            for (QCheckBox* c : ChkMakeData) c->setChecked(true);
        // A mesh job writes the Japanese datum, or no projection file.
        FrmSys->setVisible(kind != DataKind::Mesh);
        Frame3->setVisible(true);

        const std::vector<std::string> listed =
            frmDataSelect::listedFiles(frmDataSelect::current() ? frmDataSelect::current()->P_ListInputFile : nullptr);
        lblInputFile->setText(listed.empty() ? QString() : q(listed.front()));

        if (!SetMeshTree())
            velmora::ui::message("View.csvファイルの情報が不正です。確認してください", "ｴﾗｰﾒｯｾｰｼﾞ");
    } catch (const std::exception& e) {
        showProcedureError(e, "(Form_Load)");
    }
}

bool frmDataSetALL::SetMeshTree() {
    bool loaded = true;
    meshTree_.clear();
    try {
        velmora::loadMeshTree(meshTree_, velmora::conversionState().AppFolder + velmora::kMeshTreeFileName);
    } catch (const std::exception& e) {
        showProcedureError(e, "(SetMeshTree)");
        loaded = false;
    }
    treeAdapter_->rebuild();
    // The last prefecture read is the tree's selected node.
    if (!meshTree_.empty()) {
        const std::vector<int>& prefectures = meshTree_.node(meshTree_.root()).children;
        if (!prefectures.empty()) TreeView->setCurrentItem(treeAdapter_->item(prefectures.back()));
        treeAdapter_->item(meshTree_.root())->setExpanded(true);
    }
    return loaded;
}

void frmDataSetALL::TreeView_NodeCheck(int node) {
    try {
        velmora::meshTreeNodeCheck(meshTree_, node);
    } catch (const std::exception& e) {
        showProcedureError(e, "(TreeView_NodeCheck)");
    }
}

bool frmDataSetALL::SetSelectMesh() {
    try {
        velmora::selectMeshRanges(meshTree_);
        return true;
    } catch (const std::exception& e) {
        showProcedureError(e, "(SetSelectMesh)");
        return false;
    }
}

bool frmDataSetALL::SetSelectMeshLine() {
    try {
        velmora::selectMeshLine(meshTree_);
        return true;
    } catch (const std::exception& e) {
        showProcedureError(e, "(SetSelectMeshLine)");
        return false;
    }
}

bool frmDataSetALL::SetSelectMeshPolygon(bool& attachedOutputs) {
    try {
        velmora::selectMeshPolygon(meshTree_, attachedOutputs, meshCodeList_);
        return true;
    } catch (const std::exception& e) {
        showProcedureError(e, "(SetSelectMeshPolygon)");
        return false;
    }
}

void frmDataSetALL::CmdRef_Click() {
    if (jobRunning_) return;
    velmora::jobdialog::chooseOutputFile(rememberedOutputFolder_, *TxtOutPutFile);
}

void frmDataSetALL::OptMake_Click(int index) {
    try {
        velmora::jobdialog::enableDatum(*FrmSys, OptSys, index);
    } catch (const std::exception& e) {
        showProcedureError(e, "(OptMake_Click)");
    }
}

void frmDataSetALL::cmdEnd_Click() { reject(); }

void frmDataSetALL::reject() {
    if (jobRunning_) return;
    QDialog::reject();
}

void frmDataSetALL::closeEvent(QCloseEvent* event) {
    if (jobRunning_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool frmDataSetALL::runJob() {
    switch (velmora::conversionState().SelectedKind) {
        case DataKind::Point: return MakePoint();
        case DataKind::Line: return MakeLine();
        case DataKind::Area: return MakePolygon();
        case DataKind::Mesh: return MakeMesh();
        case DataKind::Attr: return false;
    }
    return false;
}

void frmDataSetALL::CmdConv_Click() {
    // The converters yield to the event loop: a second press while a job runs is ignored.
    if (jobRunning_) return;
    if (velmora::jobdialog::convert({jobRunning_, !lblInputFile->text().isEmpty(), *TxtOutPutFile, OptMake, OptSys,
                                     [this] { return runJob(); }, "Error: frmDataSetALL (frmDataSetAll CmdConv_Click)"}))
        accept();
}

bool frmDataSetALL::MakePoint() { return velmora::nationwideJobProcedures().MakePoint(*this); }
bool frmDataSetALL::MakeLine() { return velmora::nationwideJobProcedures().MakeLine(*this); }
bool frmDataSetALL::MakePolygon() { return velmora::nationwideJobProcedures().MakePolygon(*this); }
bool frmDataSetALL::MakeMesh() { return velmora::nationwideJobProcedures().MakeMesh(*this); }
