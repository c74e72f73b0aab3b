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
#include "app/JobProcedures.h"
#include "app/OutputChecks.h"
#include "app/OutputPath.h"
#include "app/frmDataSelect.h"
#include "app/frmSyusuiSelect.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

using velmora::ConversionState;
using velmora::DataKind;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

void notice(const char* text) { velmora::ui::message(text, "ﾒｯｾｰｼﾞ", velmora::ui::Icon::Exclamation); }

// Marks a job as running for its lifetime, also when the job throws.
class RunningJob {
public:
    explicit RunningJob(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningJob() { flag_ = false; }
    RunningJob(const RunningJob&) = delete;
    RunningJob& operator=(const RunningJob&) = delete;

private:
    bool& flag_;
};

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

    Frame1 = new QGroupBox(QStringLiteral("出力ファイル情報"), this);
    named(Frame1, "Frame1");
    TxtOutPutFile = new QLineEdit(Frame1);
    named(TxtOutPutFile, "TxtOutPutFile");
    CmdRef = new QPushButton(QStringLiteral("参　照"), Frame1);
    named(CmdRef, "CmdRef");
    auto* outLayout = new QHBoxLayout(Frame1);
    outLayout->addWidget(TxtOutPutFile, 1);
    outLayout->addWidget(CmdRef);

    frmPrj = new QGroupBox(QStringLiteral("投影情報"), this);
    named(frmPrj, "frmPrj");
    Label1 = new QLabel(QStringLiteral("投影情報ファイル　（シェープファイル名.prj)　を"), frmPrj);
    named(Label1, "Label1");
    OptMake[0] = new QRadioButton(QStringLiteral("出力する"), frmPrj);
    OptMake[1] = new QRadioButton(QStringLiteral("出力しない"), frmPrj);
    auto* prjLayout = new QVBoxLayout(frmPrj);
    prjLayout->addWidget(Label1);
    auto* makeRow = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        named(OptMake[i], "OptMake");
        OptMake[i]->setProperty("index", i);
        makeRow->addWidget(OptMake[i]);
        connect(OptMake[i], &QRadioButton::clicked, this, [this, i] { OptMake_Click(i); });
    }
    makeRow->addStretch();
    prjLayout->addLayout(makeRow);
    prjLayout->addStretch();
    OptMake[0]->setChecked(true);

    FrmSys = new QGroupBox(QStringLiteral("投影情報"), this);
    named(FrmSys, "FrmSys");
    OptSys[0] = new QRadioButton(QStringLiteral("日本測地系"), FrmSys);
    OptSys[1] = new QRadioButton(QStringLiteral("世界測地系"), FrmSys);
    auto* sysLayout = new QHBoxLayout(FrmSys);
    for (int i = 0; i < 2; ++i) {
        named(OptSys[i], "OptSys");
        OptSys[i]->setProperty("index", i);
        sysLayout->addWidget(OptSys[i]);
    }
    sysLayout->addStretch();
    OptSys[0]->setChecked(true);

    FrmFuzoku = new QGroupBox(QStringLiteral("付属変換"), this);
    named(FrmFuzoku, "FrmFuzoku");
    ChkMakeData[0] = new QCheckBox(QStringLiteral("代表点データ"), FrmFuzoku);
    ChkMakeData[1] = new QCheckBox(QStringLiteral("ラインデータ"), FrmFuzoku);
    auto* fuzokuLayout = new QHBoxLayout(FrmFuzoku);
    for (int i = 0; i < 2; ++i) {
        named(ChkMakeData[i], "ChkMakeData");
        ChkMakeData[i]->setProperty("index", i);
        fuzokuLayout->addWidget(ChkMakeData[i]);
    }
    fuzokuLayout->addStretch();

    lblDoro = new QLabel(
        QStringLiteral("※入力ファイルに道路台帳データを指定して下さい。（指定しない場合地図データのみ作成されます）"), this);
    named(lblDoro, "lblDoro");
    lblDoro->setWordWrap(true);
    // The job procedures show and hide the label and the bar.
    lblMsg = new QLabel(QStringLiteral("初期処理中・・・"), this);
    named(lblMsg, "lblMsg");
    lblMsg->hide();
    ProgressBar = new QProgressBar(this);
    named(ProgressBar, "ProgressBar");
    ProgressBar->hide();

    CmdConv = new QPushButton(QStringLiteral("変　換"), this);
    named(CmdConv, "CmdConv");
    cmdEnd = new QPushButton(QStringLiteral("キャンセル"), this);
    named(cmdEnd, "cmdEnd");
    // Return in the output box must not press a button by itself.
    CmdConv->setAutoDefault(false);
    cmdEnd->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdConv);
    buttons->addWidget(cmdEnd);

    auto* options = new QHBoxLayout;
    options->addWidget(frmPrj, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(FrmSys);
    right->addWidget(FrmFuzoku);
    options->addLayout(right, 1);

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
    try {
        ConversionState& s = velmora::conversionState();
        velmora::ui::FileDialogRequest request;
        request.folder = rememberedOutputFolder().empty() ? s.AppFolder : rememberedOutputFolder();
        request.filter = std::string(s.SelectedKind == DataKind::Attr ? "表データ (*.dbf)" : "シェープファイル (*.shp)") +
                         ";;すべてのファイル (*)";
        const std::optional<std::string> chosen = velmora::ui::service().saveFile(request);
        if (!chosen || chosen->empty()) return;
        rememberedOutputFolder() = std::filesystem::path(*chosen).parent_path().string() + "/";
        TxtOutPutFile->setText(q(*chosen));
    } catch (const std::exception&) {
        // Ends silently, as a cancel does.
    }
}

void frmDataSet::OptMake_Click(int index) {
    try {
        // The datum options keep their choice while disabled.
        const bool enable = index != 1;
        FrmSys->setEnabled(enable);
        for (QRadioButton* o : OptSys) o->setEnabled(enable);
    } catch (const std::exception& e) {
        velmora::ui::showError(e, "Error: frmDataSet (OptMake_Click)");
    }
}

bool frmDataSet::checkInputs() {
    ConversionState& s = velmora::conversionState();
    if (LvwInFile->count() == 0) {
        notice("変換元の入力ファイル名を指定してください。");
        return false;
    }
    if (TxtOutPutFile->text().isEmpty()) {
        notice("出力先のファイル名を指定してください。");
        return false;
    }
    const std::string path = velmora::completeOutputExtension(TxtOutPutFile->text().toStdString(), s.SelectedKind);
    TxtOutPutFile->setText(q(path));
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        notice("出力先のフォルダが存在しません");
        return false;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(slash == 0 ? std::string("/") : path.substr(0, slash), ec)) {
        notice("出力先のフォルダが存在しません");
        return false;
    }
    if (velmora::modCommon::FilePathCheck(path)) {
        notice("数字のみの出力ファイル名は指定できません。");
        TxtOutPutFile->setFocus();
        TxtOutPutFile->setSelection(0, static_cast<int>(TxtOutPutFile->text().size()));
        return false;
    }
    // The logs and the shape description hold the output path in CP932.
    if (!velmora::text::canEncodeCp932(path)) {
        velmora::ui::message("出力ファイル名に使用できない文字が含まれています。", "ｴﾗｰﾒｯｾｰｼﾞ", velmora::ui::Icon::Exclamation);
        return false;
    }
    return true;
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
    ConversionState& s = velmora::conversionState();
    try {
        s.LogFileNo.closeQuietly();
        s.InFileNo.closeQuietly();
        if (!checkInputs()) return;
        if (OptMake[1]->isChecked())
            s.DatumCode = -1;
        else
            s.DatumCode = OptSys[0]->isChecked() ? 0 : 2000;
        bool finished = false;
        {
            RunningJob running(jobRunning_);
            velmora::ui::BusyCursor busy;
            velmora::ui::service().yield();
            finished = runJob();
        }
        velmora::ui::service().yield();
        if (finished) {
            accept();
        } else {
            s.LogFileNo.closeQuietly();
            s.InFileNo.closeQuietly();
        }
    } catch (const std::exception& e) {
        s.LogFileNo.closeQuietly();
        s.InFileNo.closeQuietly();
        velmora::ui::showError(e, "Error: frmDataSet (frmDataSet CmdConv_Click)");
    }
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
