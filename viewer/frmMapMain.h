#pragma once
// The main window: shown by modCommon::Main, the program runs in its event loop and ends when it closes.
//
// So far it holds the conversion entry: the menu mnuConv "データ変換(&T)" with mnuConv1(1..5) and the
// toolbar band tbrFunc(2) "データ変換" with its five buttons, both opening frmDataSelect on a tab. The map,
// the theme tree, the other menus and the toolbars tbrFunc(0) (file) and tbrFunc(1) (view) are filled in
// by the map viewer: insert the other menus before mnuConv->menuAction(), add buttons to tbrFunc(0) and
// tbrFunc(1), and route their clicks through tbrFunc_ButtonClick.
#include <QMainWindow>
#include <array>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class clsMapToolControl;
class QStatusBar;
class QToolBar;

// The layers of a map as the conversion side sees them: the file path of each layer, from the first layer
// to the last. The map viewer's map control provides them; until then the main map holds what the map tool
// accepted.
class MapLayerFiles {
public:
    virtual ~MapLayerFiles() = default;
    virtual std::vector<std::string> layerFiles() const = 0;
    // The dBASE tables under the theme tree's tables root.
    virtual std::vector<std::string> tableFiles() const { return {}; }
};

class frmMapMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMapMain(QWidget* parent = nullptr);
    ~frmMapMain() override;

    // The main window while it exists (the conversion side reaches the map through it), else nullptr.
    static frmMapMain* instance();

    QMenu* mnuConv = nullptr;
    // Indexes 1-5: point, line, area, mesh, attribute-table conversion (index 0 unused).
    std::array<QAction*, 6> mnuConv1{};
    // The three toolbars: 0 file, 1 view, 2 conversion. Each button's index within its bar counts from 1.
    std::array<QToolBar*, 3> tbrFunc{};
    QStatusBar* StatusBar1 = nullptr;
    // The main map, as far as the conversion side needs it (modCommon::checkLayer). The map viewer points
    // it at its map control.
    MapLayerFiles* MainMap = nullptr;
    // The map tool through which the conversion side adds layers and tables; alive with the window.
    clsMapToolControl* pMapTool = nullptr;

public slots:
    void mnuConv1_Click(int index);
    void tbrFunc_ButtonClick(int bar, int button);

private:
    // The conversion entry of the menu and the toolbar: frmDataSelect on tab 0-4, shown modally.
    void ShowDataSelect(int tab);
    void buildConversionEntry();

    std::unique_ptr<clsMapToolControl> mapTool_;
    std::unique_ptr<MapLayerFiles> emptyMap_;
};
