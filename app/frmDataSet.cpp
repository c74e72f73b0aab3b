#include "app/frmDataSet.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <exception>
#include <filesystem>

#include "convert/core/ConversionState.h"
#include "app/JobDialogParts.h"
#include "app/JobProcedures.h"
#include "app/frmDataSelect.h"
#include "app/frmSyusuiSelect.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

using velmora::ConversionState;
using velmora::DataKind;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

frmDataSet::frmDataSet(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDataSet");
    setWindowTitle(QStringLiteral("変換情報設定"));

    auto named = [](QWidget* w, const char* name) {
        w->setObjectName(name);
        return w;
    };

    Frame2 = new QGroupBox(QStringLiteral("入力ファイル情報"), this);
    named(Frame2, "Frame2");
    LvwInFile = new QListWidget(Frame2);
    named(LvwInFile, "LvwInFile");
    LvwInFile->setSelectionMode(QAbstractItemView::ExtendedSelection);
    CmdFileAdd = new QPushButton(QStringLiteral("追　加"), Frame2);
    named(CmdFileAdd, "CmdFileAdd");
    CmdFileDel = new QPushButton(QStringLiteral("削　除"), Frame2);
    named(CmdFileDel, "CmdFileDel");
    auto* inButtons = new QVBoxLayout;
    inButtons->addWidget(CmdFileAdd);
    inButtons->addWidget(CmdFileDel);
    inButtons->addStretch();
    auto* inLayout = new QHBoxLayout(Frame2);
    inLayout->addWidget(LvwInFile, 1);
    inLayout->addLayout(inButtons);

    namespace parts = velmora::jobdialog;
    Frame1 = parts::outputFrame(this, TxtOutPutFile, CmdRef);
    frmPrj = parts::projectionFrame(this, "frmPrj", Label1, OptMake, [this](int i) { OptMake_Click(i); });
    FrmSys = parts::datumFrame(this, OptSys);
    FrmFuzoku = parts::attachedFrame(this, ChkMakeData);

    lblDoro = new QLabel(
        QStringLiteral("※入力ファイルに道路台帳データを指定して下さい。（指定しない場合地図データのみ作成されます）"), this);
    named(lblDoro, "lblDoro");
    lblDoro->setWordWrap(true);
    parts::progressDisplay(this, lblMsg, ProgressBar);
    QHBoxLayout* buttons = parts::buttonRow(this, CmdConv, cmdEnd);

    QHBoxLayout* options = parts::optionsRow(frmPrj, FrmSys, FrmFuzoku);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame2, 1);
    layout->addWidget(Frame1);
    layout->addLayout(options);
    layout->addWidget(lblDoro);
    layout->addWidget(lblMsg);
    layout->addWidget(ProgressBar);
    layout->addLayout(buttons);
    resize(600, 480);

    connect(CmdFileAdd, &QPushButton::clicked, this, &frmDataSet::CmdFileAdd_Click);
    connect(CmdFileDel, &QPushButton::clicked, this, &frmDataSet::CmdFileDel_Click);
    connect(CmdRef, &QPushButton::clicked, this, &frmDataSet::CmdRef_Click);
    connect(CmdConv, &QPushButton::clicked, this, &frmDataSet::CmdConv_Click);
    connect(cmdEnd, &QPushButton::clicked, this, &frmDataSet::cmdEnd_Click);
}

frmDataSet::~frmDataSet() = default;

std::string& frmDataSet::rememberedInputFolder() {
    static std::string folder;
    return folder;
}

std::string& frmDataSet::rememberedOutputFolder() {
    static std::string folder;
    return folder;
}

std::vector<std::string> frmDataSet::inputFiles() const { return frmDataSelect::listedFiles(LvwInFile); }

void frmDataSet::Form_Load() {
    try {
        ConversionState& s = velmora::conversionState();
        lblDoro->hide();
        const int row = s.SelectedIndex;
        const std::string& name = s.layerName(s.SelectedKind, row);
        const DataKind kind = s.SelectedKind;
        frmPrj->setVisible(kind != DataKind::Attr);
        FrmSys->setVisible(kind == DataKind::Point || kind == DataKind::Line || kind == DataKind::Area);
        FrmFuzoku->setVisible(kind == DataKind::Area);
        if (kind == DataKind::Line && row == 25) lblDoro->show();
        if (kind == DataKind::Area && (row == 0 || row == 1 || row == 5 || row == 9 || row == 10))
            for (QCheckBox* c : ChkMakeData) c->setChecked(true);
        setWindowTitle(QStringLiteral("変換情報設定") + q(velmora::text::fromCp932(name)));

        const QListWidget* source = nullptr;
        if (kind == DataKind::Area && row == 10) {
            if (frmSyusuiSelect* d = frmSyusuiSelect::current()) source = d->P_ListInputFile;
        } else if (frmDataSelect* d = frmDataSelect::current()) {
            source = d->P_ListInputFile;
        }
        for (const std::string& f : frmDataSelect::listedFiles(source)) LvwInFile->addItem(q(f));
    } catch (const std::exception& e) {
        velmora::ui::showError(e, "Error: frmDataSet (Form_Load)");
    }
}

void frmDataSet::CmdFileAdd_Click() {
    if (jobRunning_) return;
    try {
        ConversionState& s = velmora::conversionState();
        std::string& folder = rememberedInputFolder();
        if (folder.empty() && LvwInFile->count() > 0)
            folder = std::filesystem::path(LvwInFile->item(LvwInFile->count() - 1)->text().toStdString())
                         .parent_path()
                         .string() + "/";
        velmora::ui::FileDialogRequest request;
        // With no folder to start from, the data-kind dialog's last folder, else the program folder.
        request.folder = !folder.empty()                             ? folder
                         : !frmDataSelect::lastInputFolder().empty() ? frmDataSelect::lastInputFolder()
                                                                     : s.AppFolder;
        request.filter = velmora::layerRow(s.dataNames(velmora::toCatalogKind(s.SelectedKind)), s.SelectedIndex) +
                         "変換元データ (*.txt *.csv);;すべてのファイル (*)";
        request.multiple = true;
        // Names of files that are not there yet may be typed: the job checks its inputs when it runs.
        request.mustExist = false;
        const std::vector<std::string> chosen = velmora::ui::service().openFiles(request);
        if (chosen.empty()) return;
        folder = std::filesystem::path(chosen.front()).parent_path().string() + "/";
        // Duplicates are allowed: the same file may stand in the list twice.
        for (const std::string& f : chosen) LvwInFile->addItem(q(f));
    } catch (const std::exception&) {
        // Ends with what was added, as a cancel does.
    }
}

void frmDataSet::CmdFileDel_Click() {
    if (jobRunning_) return;
    try {
        for (int i = LvwInFile->count() - 1; i >= 0; --i)
            if (LvwInFile->item(i)->isSelected()) delete LvwInFile->takeItem(i);
    } catch (const std::exception& e) {
        velmora::ui::showError(e, "Error: frmDataSet (CmdFileDel_Click)");
    }
}

void frmDataSet::CmdRef_Click() {
    if (jobRunning_) return;
    velmora::jobdialog::chooseOutputFile(rememberedOutputFolder(), *TxtOutPutFile);
}

void frmDataSet::OptMake_Click(int index) {
    try {
        velmora::jobdialog::enableDatum(*FrmSys, OptSys, index);
    } catch (const std::exception& e) {
        velmora::ui::showError(e, "Error: frmDataSet (OptMake_Click)");
    }
}

bool frmDataSet::runJob() {
    switch (velmora::conversionState().SelectedKind) {
        case DataKind::Point: return MakePoint();
        case DataKind::Line: return MakeLine();
        case DataKind::Area: return MakePolygon();
        case DataKind::Mesh: return MakeMesh();
        case DataKind::Attr: return MakeAttr();
    }
    return false;
}

void frmDataSet::CmdConv_Click() {
    // The converters yield to the event loop: a second press while a job runs is ignored.
    if (jobRunning_) return;
    if (velmora::jobdialog::convert({jobRunning_, LvwInFile->count() > 0, *TxtOutPutFile, OptMake, OptSys,
                                     [this] { return runJob(); }, "Error: frmDataSet (frmDataSet CmdConv_Click)"}))
        accept();
}

void frmDataSet::cmdEnd_Click() { reject(); }

void frmDataSet::reject() {
    if (jobRunning_) return;
    QDialog::reject();
}

void frmDataSet::closeEvent(QCloseEvent* event) {
    if (jobRunning_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool frmDataSet::MakePoint() { return velmora::fileListJobProcedures().MakePoint(*this); }
bool frmDataSet::MakeLine() { return velmora::fileListJobProcedures().MakeLine(*this); }
bool frmDataSet::MakePolygon() { return velmora::fileListJobProcedures().MakePolygon(*this); }
bool frmDataSet::MakeMesh() { return velmora::fileListJobProcedures().MakeMesh(*this); }
bool frmDataSet::MakeAttr() { return velmora::fileListJobProcedures().MakeAttr(*this); }
