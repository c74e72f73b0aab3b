#pragma once
// The catchment selection dialog "変換対象集水域情報設定". So far an empty dialog: the catchment tree, its
// selection and the opening of the file-list job dialog come later. Its hidden list P_ListInputFile takes
// the place of the data-kind dialog's list for the catchment row.
#include <QDialog>

class QListWidget;
class QPushButton;

class frmSyusuiSelect : public QDialog {
    Q_OBJECT

public:
    explicit frmSyusuiSelect(QWidget* parent = nullptr);
    ~frmSyusuiSelect() override;

    // The dialog while it exists, else nullptr.
    static frmSyusuiSelect* current();

    // The chosen input files (full paths), not visible.
    QListWidget* P_ListInputFile = nullptr;
    QPushButton* cmdEnd = nullptr;
};
