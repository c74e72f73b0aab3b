#pragma once
// The data-kind dialog "変換データ選択画面": where every conversion starts. Touching it (loaded()) loads it
// when it is not loaded: its load sets AppFolder and loads the catalogue. Closing it unloads it, so the
// next use loads the catalogue again.
//
// So far the dialog holds its five tabs only; the data-item buttons of each tab are still to come.
#include <QDialog>

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

    // The catalogue procedures of the dialog (their logic lives in app/Catalogue.h, on the conversion state).
    void SetDataName();
    bool SetKisoJyoho();

private:
    explicit frmDataSelect(QWidget* parent);
    // False when the catalogue did not load.
    bool Form_Load();
};
