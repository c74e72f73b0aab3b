#pragma once
// The layer property dialog "レイヤプロパティ": the data source and the dBASE fields of the selected theme
// and, for a map layer, its symbol (style, colour, outline colour, size). Loaded for one opening, filled at
// its first showing, run modally through the user-interface service; OK leaves the chosen symbol in
// LayerSymbol(), Cancel and the window frame leave nothing.
#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/map/Symbol.h"

class QAbstractButton;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace velmora::map {
class MapLayer;
}

class frmProp : public QDialog {
    Q_OBJECT

public:
    explicit frmProp(QWidget* parent = nullptr);
    ~frmProp() override;

    // 0 marker, 1 line, 2 fill (the layer symbol's type), -1 attribute table.
    void setLayertype(std::int16_t New_LayerType) { Layertype_ = New_LayerType; }
    void setLayer(std::shared_ptr<velmora::map::MapLayer> New_Layer) { Layer_ = std::move(New_Layer); }
    void setTableLayer(const std::string& new_tbllayer) { TableLayer_ = new_tbllayer; }
    // True: only the symbol is edited.
    void setSymbolSetFlag(bool new_flag) { SymbolSetFlag_ = new_flag; }
    // The symbol chosen with OK (style, colour, outline colour for fills, size), or nothing.
    const std::optional<velmora::map::Symbol>& LayerSymbol() const { return LayerSymbol_; }

    // The tabs 0 "データソース", 1 "フィールド", 2 "シンボル".
    QTabWidget* sstProperty = nullptr;
    QLabel* lblSource = nullptr;
    QTreeWidget* lvwField = nullptr;
    // The style panels of markers, lines and fills; an option's index is its style code.
    std::array<QWidget*, 3> picSymbol{};
    std::vector<QAbstractButton*> optPSymType, optLSymType, optASymType;
    QGroupBox* fraOption = nullptr;
    std::array<QLabel*, 3> lblOpt{};
    // The colour and outline colour swatches; a click opens the colour dialog.
    std::array<QLabel*, 2> picCol{};
    QLineEdit* txtSize = nullptr;
    QLabel* lblCaution = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    // A swatch's colour, 0x00BBGGRR.
    std::uint32_t swatchColour(int index) const { return picColColour_[index]; }
    // The style code last selected.
    int chosenStyle() const { return chosenStyle_; }
    // Whether the size box takes a character typed or pasted (digits and control characters).
    static bool txtSize_KeyPress(QChar c);

public slots:
    // Filled at the first showing after loading only; later activations change nothing.
    void Form_Activate();
    void getDataSource();
    void getTableDesc(const std::string& path);
    void ApplySymbolInfo();
    void cmdCancel_Click();
    void picCol_Click(int index);

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void fillSymbol();
    void setSwatchColour(int index, std::uint32_t bgr);
    QWidget* buildSymbolTab();
    QWidget* buildStylePanel(int type, const std::vector<QString>& captions, std::vector<QAbstractButton*>& options);
    // Keeps only what txtSize_KeyPress takes of a text that reached the size box by other ways (paste, drop).
    void keepSizeDigits();

    std::int16_t Layertype_ = 0;
    std::shared_ptr<velmora::map::MapLayer> Layer_;
    std::string TableLayer_;
    bool SymbolSetFlag_ = false;
    std::optional<velmora::map::Symbol> LayerSymbol_;
    int chosenStyle_ = 0;
    bool firstActivation_ = true;
    std::array<std::uint32_t, 2> picColColour_{};
    std::array<QButtonGroup*, 3> styleGroups_{};
};
