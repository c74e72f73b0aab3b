#pragma once
// The nationwide job dialog. So far an empty dialog with its caption "（全国）変換情報設定" and the data
// item's name: the mesh tree, the output and the job procedures come later.
#include <QDialog>

class QPushButton;

class frmDataSetALL : public QDialog {
    Q_OBJECT

public:
    explicit frmDataSetALL(QWidget* parent = nullptr);
    ~frmDataSetALL() override;

    // Sets the caption from the selected data item. A run-time error shows its box "Error: frmDataSetALL
    // (Form_Load)"; the dialog still shows.
    void Form_Load();

    QPushButton* cmdEnd = nullptr;
};
