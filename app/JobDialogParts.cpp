#include "app/JobDialogParts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <exception>
#include <filesystem>
#include <optional>

#include "app/JobInputChecks.h"
#include "app/RunningJob.h"
#include "app/WorkFiles.h"
#include "convert/core/ConversionState.h"
#include "platform/process/ProgramFolderJob.h"
#include "platform/ui/UiService.h"

namespace velmora::jobdialog {

namespace {

template <class Box, std::size_t N>
void optionRow(QBoxLayout& row, std::array<Box*, N>& boxes, const char* name) {
    for (std::size_t i = 0; i < N; ++i) {
        named(boxes[i], name)->setProperty("index", static_cast<int>(i));
        row.addWidget(boxes[i]);
    }
    row.addStretch();
}

}  // namespace

QGroupBox* outputFrame(QWidget* parent, QLineEdit*& text, QPushButton*& browse) {
    auto* frame = named(new QGroupBox(QStringLiteral("出力ファイル情報"), parent), "Frame1");
    text = named(new QLineEdit(frame), "TxtOutPutFile");
    browse = named(new QPushButton(QStringLiteral("参　照"), frame), "CmdRef");
    auto* layout = new QHBoxLayout(frame);
    layout->addWidget(text, 1);
    layout->addWidget(browse);
    return frame;
}

QGroupBox* projectionFrame(QWidget* parent, const char* name, QLabel*& label, std::array<QRadioButton*, 2>& make,
                           const std::function<void(int)>& onMake) {
    auto* frame = named(new QGroupBox(QStringLiteral("投影情報"), parent), name);
    label = named(new QLabel(QStringLiteral("投影情報ファイル　（シェープファイル名.prj)　を"), frame), "Label1");
    make[0] = new QRadioButton(QStringLiteral("出力する"), frame);
    make[1] = new QRadioButton(QStringLiteral("出力しない"), frame);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(label);
    auto* row = new QHBoxLayout;
    optionRow(*row, make, "OptMake");
    for (int i = 0; i < 2; ++i) QObject::connect(make[i], &QRadioButton::clicked, frame, [onMake, i] { onMake(i); });
    layout->addLayout(row);
    layout->addStretch();
    make[0]->setChecked(true);
    return frame;
}

QGroupBox* datumFrame(QWidget* parent, std::array<QRadioButton*, 2>& sys) {
    auto* frame = named(new QGroupBox(QStringLiteral("投影情報"), parent), "FrmSys");
    sys[0] = new QRadioButton(QStringLiteral("日本測地系"), frame);
    sys[1] = new QRadioButton(QStringLiteral("世界測地系"), frame);
    optionRow(*new QHBoxLayout(frame), sys, "OptSys");
    sys[0]->setChecked(true);
    return frame;
}

QGroupBox* attachedFrame(QWidget* parent, std::array<QCheckBox*, 2>& boxes) {
    auto* frame = named(new QGroupBox(QStringLiteral("付属変換"), parent), "FrmFuzoku");
    boxes[0] = new QCheckBox(QStringLiteral("代表点データ"), frame);
    boxes[1] = new QCheckBox(QStringLiteral("ラインデータ"), frame);
    optionRow(*new QHBoxLayout(frame), boxes, "ChkMakeData");
    return frame;
}

void progressDisplay(QWidget* parent, QLabel*& label, QProgressBar*& bar) {
    label = named(new QLabel(QStringLiteral("初期処理中・・・"), parent), "lblMsg");
    label->hide();
    bar = named(new QProgressBar(parent), "ProgressBar");
    bar->hide();
}

QHBoxLayout* buttonRow(QWidget* parent, QPushButton*& convert, QPushButton*& cancel) {
    convert = named(new QPushButton(QStringLiteral("変　換"), parent), "CmdConv");
    cancel = named(new QPushButton(QStringLiteral("キャンセル"), parent), "cmdEnd");
    convert->setAutoDefault(false);
    cancel->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(convert);
    row->addWidget(cancel);
    return row;
}

QHBoxLayout* optionsRow(QGroupBox* projection, QGroupBox* datum, QGroupBox* attached) {
    auto* row = new QHBoxLayout;
    row->addWidget(projection, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(datum);
    right->addWidget(attached);
    row->addLayout(right, 1);
    return row;
}

void enableDatum(QGroupBox& frame, const std::array<QRadioButton*, 2>& sys, int makeIndex) {
    const bool enable = makeIndex != 1;
    frame.setEnabled(enable);
    for (QRadioButton* o : sys) o->setEnabled(enable);
}

void chooseOutputFile(std::string& rememberedFolder, QLineEdit& output) {
    try {
        ConversionState& s = conversionState();
        ui::FileDialogRequest request;
        request.folder = rememberedFolder.empty() ? s.AppFolder : rememberedFolder;
        request.filter = std::string(s.SelectedKind == DataKind::Attr ? "表データ (*.dbf)" : "シェープファイル (*.shp)") +
                         ";;すべてのファイル (*)";
        const std::optional<std::string> chosen = ui::service().saveFile(request);
        if (!chosen || chosen->empty()) return;
        rememberedFolder = std::filesystem::path(*chosen).parent_path().string() + "/";
        output.setText(QString::fromStdString(*chosen));
    } catch (const std::exception&) {
        // Ends silently, as a cancel does.
    }
}

bool convert(const ConvertRun& run) {
    ConversionState& s = conversionState();
    try {
        s.LogFileNo.closeQuietly();
        s.InFileNo.closeQuietly();
        // The work files of a job have fixed names in the program folder: one job there at a time, whichever
        // program runs it. A job cut short by a signal still leaves its outputs whole and its work files gone.
        const process::ProgramFolderJob programFolder(s.AppFolder, kProgramFolderLockName, jobs::removeWorkFiles);
        if (programFolder.busy()) {
            ui::message(kProgramFolderBusy, "ﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
            return false;
        }
        if (!checkJobInputs(run.inputGiven, run.output, s.SelectedKind)) return false;
        s.DatumCode = run.make[1]->isChecked() ? -1 : run.sys[0]->isChecked() ? 0 : 2000;
        bool finished = false;
        {
            RunningJob running(run.running);
            ui::BusyCursor busy;
            ui::service().yield();
            finished = run.job();
        }
        ui::service().yield();
        if (!finished) {
            s.LogFileNo.closeQuietly();
            s.InFileNo.closeQuietly();
        }
        return finished;
    } catch (const std::exception& e) {
        s.LogFileNo.closeQuietly();
        s.InFileNo.closeQuietly();
        ui::showError(e, run.errorTitle);
        return false;
    }
}

}  // namespace velmora::jobdialog
