#pragma once
// The data-kind dialog "変換データ選択画面": where every conversion starts. Touching it (loaded()) loads it
// when it is not loaded: its load sets AppFolder and loads the catalogue. Closing it unloads it, so the
// next use loads the catalogue again.
//
// Each tab holds the buttons of one data kind; a button's index is the row of the kind's layer table. A
// button records the kind and row, asks for the input files (kept in the hidden list P_ListInputFile, from
// which the job dialogs take them) and opens the file-list job dialog frmDataSet or the nationwide job
// dialog frmDataSetALL modally. Area items first ask whether polygons are to be built; the catchment item
// hands over to frmSyusuiSelect.
#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;
class QTabWidget;

class frmDataSelect : public QDialog {
    Q_OBJECT

public:
    // The loaded dialog, loading it first when needed (parent: the window it is modal over). Nullptr when
    // the catalogue did not load: the loader has shown its box and the program ends.
    static frmDataSelect* loaded(QWidget* parent = nullptr);
    // The dialog when it is loaded, without loading it.
    static frmDataSelect* current();

    ~frmDataSelect() override;

    // Tabs 0-4 hold the data items of DataKind 0-4: "ポイント", "ライン", "ポリゴン", "メッシュ", "台帳データ".
    QTabWidget* SSTabData = nullptr;
    std::vector<QPushButton*> CmdPointKind;    // 0-15, rows of PointLayers
    std::vector<QPushButton*> CmdLineKind;     // 0-27, rows of LineLayers
    std::vector<QPushButton*> CmdPolygonKind;  // 0-11, rows of PolygonLayers
    std::vector<QPushButton*> CmdMeshKind;     // 0-26, rows of MeshLayers
    std::vector<QPushButton*> CmdAttrKind;     // 0-13, rows of AttrLayers
    // The chosen input files (full paths, in the order the open dialog gave them); not visible.
    QListWidget* P_ListInputFile = nullptr;

    // The texts of a hidden input list, first to last.
    static std::vector<std::string> listedFiles(const QListWidget* list);
    // The folder the open dialog last took files from ("" until then), kept for the rest of the run.
    static std::string& lastInputFolder();

    // The catalogue procedures of the dialog (their logic lives in app/Catalogue.h, on the conversion state).
    void SetDataName();
    bool SetKisoJyoho();

    // Runs the open dialog for the selected row (display names: the kind's DataNames) and fills
    // P_ListInputFile; false when nothing was chosen.
    bool SelectInputFiles(const std::vector<std::string>& names);
    // The same for any dialog's hidden list and last folder (AppFolder while that is empty): the chosen
    // files are added to list, their folder becomes lastFolder. An error counts as a cancel.
    static bool chooseInputFiles(const std::vector<std::string>& names, std::string& lastFolder, QListWidget& list);
    // Set NationwideMode; false only after a run-time error (its box shown).
    bool CheckFileKind();
    bool CheckPolygonFileKind();

public slots:
    void CmdPointKind_Click(int index);
    void CmdLineKind_Click(int index);
    void CmdPolygonKind_Click(int index);
    void CmdMeshKind_Click(int index);
    void CmdAttrKind_Click(int index);

private:
    explicit frmDataSelect(QWidget* parent);
    // False when the catalogue did not load.
    bool Form_Load();
    // The point, line and mesh buttons (kind 0, 1, 3).
    void kindButton(int kind, int index, const char* procedure);
    // Shows frmDataSetALL when NationwideMode is set, else frmDataSet, modally.
    void showJobDialog(bool nationwide);
};
