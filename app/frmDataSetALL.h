#pragma once
// The nationwide job dialog "（全国）変換情報設定" + the data item's name: one input file narrowed to the
// prefectures and secondary meshes ticked in the mesh tree (DataView.csv of the program folder), the
// output file, the projection options and, for area data, the attached outputs. Its convert button makes
// the checks both job dialogs make (JobInputChecks.h), sets DatumCode and runs the job procedure of
// SelectedKind (JobProcedures.h).
//
// Each showing is a new dialog: construct, Form_Load, run modally. It closes after a job that succeeded
// and on cancel; after a failed job it stays open with its ticks. While a job runs it starts no other job
// and cannot be closed; the tree still takes clicks, since a job reads it once, at its start.
#include <QDialog>
#include <array>
#include <memory>
#include <string>

#include "app/TreeModel.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace velmora {
class TreeWidgetAdapter;
}

class frmDataSetALL : public QDialog {
    Q_OBJECT

public:
    explicit frmDataSetALL(QWidget* parent = nullptr);
    ~frmDataSetALL() override;

    QGroupBox* FrmFuzoku = nullptr;           // "付属変換"
    std::array<QCheckBox*, 2> ChkMakeData{};  // "代表点データ", "ラインデータ"
    QGroupBox* Frame2 = nullptr;              // "入力ファイル情報"
    QLabel* lblInputFile = nullptr;
    QTreeWidget* TreeView = nullptr;
    QLabel* Label3 = nullptr;
    std::array<QLabel*, 2> Label2{};
    QGroupBox* Frame1 = nullptr;  // "出力ファイル情報"
    QLineEdit* TxtOutPutFile = nullptr;
    QPushButton* CmdRef = nullptr;
    QGroupBox* Frame3 = nullptr;  // "投影情報": write a projection file or not
    std::array<QRadioButton*, 2> OptMake{};  // "出力する", "出力しない"
    QLabel* Label1 = nullptr;
    QGroupBox* FrmSys = nullptr;            // "投影情報": the datum
    std::array<QRadioButton*, 2> OptSys{};  // "日本測地系", "世界測地系"
    QPushButton* cmdEnd = nullptr;
    QPushButton* CmdConv = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QLabel* lblMsg = nullptr;

    // The mesh tree behind TreeView.
    velmora::TreeModel& meshTree() { return meshTree_; }
    const velmora::TreeModel& meshTree() const { return meshTree_; }
    // The item of a tree node (for a click as the user makes it).
    QTreeWidgetItem* treeItem(const std::string& key) const;
    // The input file (the text of lblInputFile).
    std::string inputFile() const;
    // The comma list of ticked mesh codes for the polygon library, set by SetSelectMeshPolygon.
    const std::string& meshCodeList() const { return meshCodeList_; }
    bool jobRunning() const { return jobRunning_; }

    // Sets the dialog up from SelectedKind and SelectedIndex, shows the input file, loads the tree.
    void Form_Load();
    // Loads DataView.csv into the tree; false after the run-time error box (the nodes read before stay).
    bool SetMeshTree();

    // The cascade of a tick or untick of a node (TreeModel node number).
    void TreeView_NodeCheck(int node);
    // The selections of the jobs (MeshSelection.h); false after the run-time error box.
    bool SetSelectMesh();
    bool SetSelectMeshLine();
    bool SetSelectMeshPolygon(bool& attachedOutputs);

    // The job procedures of the kinds (JobProcedures.h); true when the job finished.
    bool MakePoint();
    bool MakeLine();
    bool MakePolygon();
    bool MakeMesh();

public slots:
    void CmdRef_Click();
    void OptMake_Click(int index);
    void cmdEnd_Click();
    void CmdConv_Click();

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool runJob();

    velmora::TreeModel meshTree_;
    velmora::TreeWidgetAdapter* treeAdapter_ = nullptr;
    std::string rememberedOutputFolder_;
    std::string meshCodeList_;
    bool jobRunning_ = false;
};
