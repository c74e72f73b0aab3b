#pragma once
// The file-list job dialog "変換情報設定" + the data item's name: the input files, the output file, the
// projection options and, for area data, the attached outputs; its convert button checks the inputs,
// completes the output name, sets DatumCode and runs the job procedure of SelectedKind (JobProcedures.h).
//
// Each showing is a new dialog: construct, Form_Load, run modally. It takes its input list from the hidden
// list of the data-kind dialog (of the catchment dialog for the catchment row). It closes after a job that
// succeeded and on cancel; after a failed job it stays open as it was. While a job runs it starts no other
// job, changes no input and cannot be closed.
#include <QDialog>
#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

class frmDataSet : public QDialog {
    Q_OBJECT

public:
    explicit frmDataSet(QWidget* parent = nullptr);
    ~frmDataSet() override;

    QGroupBox* Frame2 = nullptr;  // "入力ファイル情報"
    QListWidget* LvwInFile = nullptr;
    QPushButton* CmdFileAdd = nullptr;
    QPushButton* CmdFileDel = nullptr;
    QGroupBox* Frame1 = nullptr;  // "出力ファイル情報"
    QLineEdit* TxtOutPutFile = nullptr;
    QPushButton* CmdRef = nullptr;
    QGroupBox* frmPrj = nullptr;  // "投影情報": write a projection file or not
    QLabel* Label1 = nullptr;
    std::array<QRadioButton*, 2> OptMake{};  // "出力する", "出力しない"
    QGroupBox* FrmSys = nullptr;             // "投影情報": the datum
    std::array<QRadioButton*, 2> OptSys{};   // "日本測地系", "世界測地系"
    QGroupBox* FrmFuzoku = nullptr;          // "付属変換"
    std::array<QCheckBox*, 2> ChkMakeData{};  // "代表点データ", "ラインデータ"
    QLabel* lblDoro = nullptr;
    QLabel* lblMsg = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QPushButton* CmdConv = nullptr;
    QPushButton* cmdEnd = nullptr;

    // The entries of LvwInFile, first to last.
    std::vector<std::string> inputFiles() const;
    // Whether a job is running (the dialog then refuses to start another one or to close).
    bool jobRunning() const { return jobRunning_; }

    // The folders the add and save dialogs open in, kept for the rest of the run.
    static std::string& rememberedInputFolder();
    static std::string& rememberedOutputFolder();

    // Sets the dialog up from SelectedKind and SelectedIndex and fills the input list.
    void Form_Load();

    // The job procedures of the kinds (JobProcedures.h); true when the job finished.
    bool MakePoint();
    bool MakeLine();
    bool MakePolygon();
    bool MakeMesh();
    bool MakeAttr();

public slots:
    void CmdFileAdd_Click();
    void CmdFileDel_Click();
    void CmdRef_Click();
    void CmdConv_Click();
    void cmdEnd_Click();
    void OptMake_Click(int index);

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool runJob();

    bool jobRunning_ = false;
};
