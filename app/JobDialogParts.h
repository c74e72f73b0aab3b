#pragma once
// What the two job dialogs (frmDataSet, frmDataSetALL) share: their output, projection, datum and
// attached-output frames, progress display and buttons, built with the system's control names; the save
// dialog of "参　照"; the datum options' enabling; and the run of "変　換" (the checks of JobInputChecks.h,
// the datum code, one job at a time with the hourglass, the log and input closed after a failure).
#include <QString>
#include <array>
#include <functional>
#include <string>

class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;

namespace velmora::jobdialog {

template <class W>
W* named(W* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

// "出力ファイル情報" (Frame1) with TxtOutPutFile and CmdRef "参　照".
QGroupBox* outputFrame(QWidget* parent, QLineEdit*& text, QPushButton*& browse);
// "投影情報" named `name` with Label1 and OptMake "出力する" (selected) / "出力しない"; each option's click
// calls onMake with its index.
QGroupBox* projectionFrame(QWidget* parent, const char* name, QLabel*& label, std::array<QRadioButton*, 2>& make,
                           const std::function<void(int)>& onMake);
// "投影情報" (FrmSys) with OptSys "日本測地系" (selected) / "世界測地系".
QGroupBox* datumFrame(QWidget* parent, std::array<QRadioButton*, 2>& sys);
// "付属変換" (FrmFuzoku) with ChkMakeData "代表点データ" / "ラインデータ", unticked.
QGroupBox* attachedFrame(QWidget* parent, std::array<QCheckBox*, 2>& boxes);
// lblMsg "初期処理中・・・" and ProgressBar, hidden until a job shows them.
void progressDisplay(QWidget* parent, QLabel*& label, QProgressBar*& bar);
// CmdConv "変　換" and cmdEnd "キャンセル" at the right; neither is pressed by Return in the output box.
QHBoxLayout* buttonRow(QWidget* parent, QPushButton*& convert, QPushButton*& cancel);

// The projection frame at the left, the datum and attached-conversion frames stacked at the right.
QHBoxLayout* optionsRow(QGroupBox* projection, QGroupBox* datum, QGroupBox* attached);

// OptMake_Click: "出力しない" (index 1) disables the datum frame and options, which keep their choice.
void enableDatum(QGroupBox& frame, const std::array<QRadioButton*, 2>& sys, int makeIndex);

// CmdRef_Click: the save dialog in the remembered folder (the program folder while none is), the filter of
// the data kind; a chosen file goes into the output box and its folder is remembered. Cancelling and
// failures end silently.
void chooseOutputFile(std::string& rememberedFolder, QLineEdit& output);

// CmdConv_Click after its guard: the slots of the log and the input file emptied, the program folder taken
// for the whole job (process::ProgramFolderJob on kProgramFolderLockName; a folder another job holds
// refuses at once with kProgramFolderBusy), the checks, DatumCode from the options, the job under the running flag and the
// hourglass. True when the job finished (the dialog closes); after a failed job the log and input slots are
// emptied; a run-time error shows its box under errorTitle.
inline constexpr const char* kProgramFolderLockName = "Velmora.lock";
inline constexpr const char* kProgramFolderBusy =
    "このプログラムフォルダーでは別の変換が実行中です。実行中の変換が終わってから変換してください。";
struct ConvertRun {
    bool& running;
    bool inputGiven;
    QLineEdit& output;
    const std::array<QRadioButton*, 2>& make;
    const std::array<QRadioButton*, 2>& sys;
    std::function<bool()> job;
    std::string errorTitle;
};
bool convert(const ConvertRun& run);

}  // namespace velmora::jobdialog
