#pragma once
// The main window: shown by modCommon::Main, the program runs in its event loop and ends when it closes.
// The cool bar CoolBar1 with the three tool bands tbrFunc(0) file, (1) view, (2) conversion; the splitter
// SSSplitter2 with the theme tree tvwThemeList and the map MainMap; the status bar StatusBar1 with four
// panels (hint, -, X, Y); the hidden swatch surface Picture1; the menus and the tree's pop-up menus.
//
// Handlers keep the names of the window's events; each one that can fail shows its own error box
// "Error: frmMapMain (<handler>)".
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "viewer/ThemeTree.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;
class clsMapToolControl;

namespace velmora::map {
class MapView;
}
namespace velmora::viewer {
class HelpWindow;
class PictureSurface;
class TreeThemeSelection;
class ToolBand;
}

// The layers of a map as the conversion side sees them: the file path of each layer, from the first layer
// to the last, and the dBASE tables under the theme tree's tables root.
class MapLayerFiles {
public:
    virtual ~MapLayerFiles() = default;
    virtual std::vector<std::string> layerFiles() const = 0;
    virtual std::vector<std::string> tableFiles() const { return {}; }
};

class frmMapMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMapMain(QWidget* parent = nullptr);
    ~frmMapMain() override;

    // The main window while it exists (the conversion side reaches the map through it), else nullptr.
    static frmMapMain* instance();

    // Controls.
    QWidget* CoolBar1 = nullptr;
    // The three bands: 0 file, 1 view, 2 conversion. Buttons count from 1 within a band.
    std::array<velmora::viewer::ToolBand*, 3> tbrFunc{};
    QSplitter* SSSplitter2 = nullptr;
    QTreeWidget* tvwThemeList = nullptr;
    velmora::map::MapView* MainMap = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    // Panels 1 to 4 (index 0 unused): the hint, an empty one, X and Y.
    std::array<QLabel*, 5> Panels{};
    std::unique_ptr<velmora::viewer::PictureSurface> Picture1;
    velmora::viewer::ThemeImages ImageList4;

    // Menus; item arrays are indexed as the items' indexes (unused indexes stay nullptr).
    QMenu* mnuFile = nullptr;
    std::array<QAction*, 10> mnuFile1{};
    QMenu* mnuView = nullptr;
    std::array<QAction*, 9> mnuView1{};
    QMenu* mnuTbrFuncMenu = nullptr;
    std::map<int, QAction*> mnuTbrFunc;
    QMenu* mnuConv = nullptr;
    std::array<QAction*, 6> mnuConv1{};
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpDisp = nullptr;
    QAction* mnuVer = nullptr;

    // The map tool through which the conversion side adds layers and tables; alive with the window.
    clsMapToolControl* pMapTool = nullptr;
    // The map as the conversion side's checks read it (modCommon::mainMap): the layers of MainMap and
    // the table nodes of the tree. A test may point it elsewhere.
    MapLayerFiles* LayerFiles = nullptr;

    // The layer node last pressed for a drag, the drag in progress, and the node showing the drop mark.
    QTreeWidgetItem* DragNode = nullptr;
    bool Dragging = false;
    QTreeWidgetItem* DropHighlight = nullptr;
    // 1 map-data root, 2 table root: which root's pop-up asked for the add-theme dialog; 0 otherwise.
    int AddThemeFilter = 0;
    std::string LastThemePath;
    std::string LastExportPath;
    bool FirstPaintPending = false;

    // Theme tree operations.
    bool BeforeNodeCheck();
    void DeleteTheme();
    // Forgets the dragged node and the drop mark: called whenever nodes leave the tree.
    void ClearDrag();
    // Shows or clears the drop mark (nullptr clears it).
    void SetDropHighlight(QTreeWidgetItem* node);

public slots:
    void mnuFile1_Click(int index);
    void mnuView1_Click(int index);
    void mnuTbrFunc_Click(int index);
    void mnuConv1_Click(int index);
    void mnuHelpDisp_Click();
    void mnuVer_Click();
    void mnuPAddTheme_Click();
    void mnuPDelTheme_Click();
    void mnuPDispAttr_Click();
    void mnuPTProp_Click();
    void tbrFunc_ButtonClick(int bar, int button);
    // x, y in twips on the band.
    void tbrFunc_MouseMove(int bar, int button, int shift, double x, double y);
    // x, y in pixels on the map.
    void MainMap_MouseMove(int button, int shift, int x, int y);
    void SSSplitter2_MouseMove();
    void ClearConvertLog();
    void CloseFormsAndTempFiles();

    // Tree events: button 1 left, 2 right; shift 1 Shift, 2 Ctrl, 4 Alt; positions on the tree's viewport.
    void tvwThemeList_MouseDown(int button, int shift, int x, int y);
    void tvwThemeList_MouseMove(int button, int shift, int x, int y);
    void tvwThemeList_DragOver(int x, int y);
    void tvwThemeList_DragDrop(int x, int y);
    void tvwThemeList_MouseUp(int button, int shift, int x, int y);
    void tvwThemeList_NodeCheck(QTreeWidgetItem* node);
    void tvwThemeList_DblClick();

    // The add-theme dialog, the map capture and the property dialog (viewer/AddThemeDialog, MapExport,
    // LayerPropDialog, over this window's MainWindowServices); the attribute table window of the selected
    // node (viewer/TableViewOpening).
    void AddLayer_DialogShow();
    void ExportMapImage(int kind);
    void ShowTableViewDialog();
    void ShowLayerPropDialog(bool fromDoubleClick);

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Form_Load();
    void Form_Paint();
    void Form_QueryUnload();
    void buildControls();
    void buildMenus();
    void buildBands();
    // Presses button `pressed` of the view band (0: none) after releasing the others, and gives the map
    // tool controller the tool of that type.
    void selectViewTool(int pressed, int pointer, int toolType);
    void fullExtent();
    // The data-kind dialog on tab 0-4, shown modally.
    void ShowDataSelect(int tab);
    void showPopUp1();
    void showPopUp2();

    std::unique_ptr<velmora::viewer::TreeThemeSelection> selection_;
    std::unique_ptr<clsMapToolControl> mapTool_;
    std::unique_ptr<MapLayerFiles> mapFiles_;
    QPointer<velmora::viewer::HelpWindow> help_;
};
