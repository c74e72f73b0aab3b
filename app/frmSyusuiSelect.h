#pragma once
// The catchment selection dialog "変換対象集水域情報設定": a check-box tree of regions and catchments
// (DataSyusui.csv of the program folder, CatchmentTree.h). OK forms CatchmentSelection from the ticks,
// asks for the input files and opens the file-list job dialog, which takes its input list from this
// dialog's hidden list P_ListInputFile. The dialog stays open behind the job dialog until cancelled, so the
// user may choose again after a job.
#include <QDialog>
#include <string>
#include <vector>

#include "app/TreeModel.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace velmora {
class TreeWidgetAdapter;
}

class frmSyusuiSelect : public QDialog {
    Q_OBJECT

public:
    explicit frmSyusuiSelect(QWidget* parent = nullptr);
    ~frmSyusuiSelect() override;

    // The dialog while it exists, else nullptr.
    static frmSyusuiSelect* current();
    // The folder the open dialog last took files from, kept for the rest of the run.
    static std::string& lastFolder();

    QGroupBox* Frame2 = nullptr;  // "変換対象集水域情報"
    QLabel* lblInputFile = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label2 = nullptr;
    QTreeWidget* TreeView = nullptr;
    QPushButton* CmdOK = nullptr;
    QPushButton* cmdEnd = nullptr;
    // The chosen input files (full paths), not visible.
    QListWidget* P_ListInputFile = nullptr;

    // The catchment tree behind TreeView.
    velmora::TreeModel& catchmentTree() { return tree_; }
    const velmora::TreeModel& catchmentTree() const { return tree_; }
    // The item of a tree node (for a click as the user makes it).
    QTreeWidgetItem* treeItem(const std::string& key) const;

    // Sets the data kind to area and loads the tree; a tree that did not load is reported, the dialog
    // still opens with what was read.
    void Form_Load();
    // Loads DataSyusui.csv into the tree; false after the run-time error box (the nodes read before stay).
    bool SetSyusuiCsvToTree();
    // The cascade of a tick or untick of a node (TreeModel node number).
    void TreeView_NodeCheck(int node);
    // Forms CatchmentSelection from the tree; false after the run-time error box.
    bool SetSelectSyusui();
    // The open dialog for the selected area row; fills P_ListInputFile; false when nothing was chosen.
    bool SelectInputFiles(const std::vector<std::string>& names);

public slots:
    void CmdOK_Click();
    void cmdEnd_Click();

private:
    velmora::TreeModel tree_;
    velmora::TreeWidgetAdapter* treeAdapter_ = nullptr;
};
