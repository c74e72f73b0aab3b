#include "viewer/frmMapMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QSplitter>
#include <QSplitterHandle>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>

#include "convert/core/ConversionState.h"
#include "platform/map/MapView.h"
#include "platform/ui/UiService.h"
#include "viewer/HelpWindow.h"
#include "viewer/PictureSurface.h"
#include "viewer/ToolBand.h"
#include "viewer/ToolIcons.h"
#include "viewer/clsMapToolControl.h"

using namespace velmora;
using namespace velmora::viewer;

namespace {

QPointer<frmMapMain>& mainWindow() {
    static QPointer<frmMapMain> window;
    return window;
}

// 15 twips to the pixel.
constexpr int px(int twips) { return twips / 15; }

// The map as the conversion side reads it: layer files from the map control, table files from the
// table nodes of the tree.
class MainMapFiles : public MapLayerFiles {
public:
    explicit MainMapFiles(const frmMapMain& window) : w_(window) {}
    std::vector<std::string> layerFiles() const override {
        std::vector<std::string> files;
        for (int i = 0; i < w_.MainMap->layerCount(); ++i) files.push_back(w_.MainMap->layer(i)->filePath());
        return files;
    }
    std::vector<std::string> tableFiles() const override {
        std::vector<std::string> files;
        if (const QTreeWidgetItem* tables = root(w_.tvwThemeList, kTableRootKey))
            for (int i = 0; i < tables->childCount(); ++i) files.push_back(nodePath(tables->child(i)));
        return files;
    }

private:
    const frmMapMain& w_;
};

}  // namespace

frmMapMain::frmMapMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmMapMain");
    setWindowTitle(QString::fromStdString(ui::defaultTitle()));
    buildControls();
    buildMenus();
    mainWindow() = this;
    Form_Load();
}

frmMapMain::~frmMapMain() {
    // The tree's nodes go with it; nothing may point at them after.
    ClearDrag();
}

frmMapMain* frmMapMain::instance() { return mainWindow().data(); }

void frmMapMain::buildControls() {
    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(client);

    CoolBar1 = new QWidget(client);
    CoolBar1->setObjectName("CoolBar1");
    CoolBar1->setFixedHeight(px(450));
    auto* bands = new QHBoxLayout(CoolBar1);
    bands->setContentsMargins(2, 1, 2, 1);
    bands->setSpacing(6);
    buildBands();
    for (ToolBand* band : tbrFunc) bands->addWidget(band);
    bands->addStretch(1);
    column->addWidget(CoolBar1);

    SSSplitter2 = new QSplitter(Qt::Horizontal, client);
    SSSplitter2->setObjectName("SSSplitter2");
    SSSplitter2->setChildrenCollapsible(false);
    tvwThemeList = new QTreeWidget(SSSplitter2);
    tvwThemeList->setObjectName("tvwThemeList");
    tvwThemeList->setHeaderHidden(true);
    tvwThemeList->setColumnCount(1);
    tvwThemeList->setSelectionMode(QAbstractItemView::SingleSelection);
    tvwThemeList->setIconSize(QSize(16, 16));
    tvwThemeList->setDragEnabled(false);
    tvwThemeList->viewport()->installEventFilter(this);
    tvwThemeList->installEventFilter(this);
    connect(tvwThemeList, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* node, int) { tvwThemeList_NodeCheck(node); });
    MainMap = new map::MapView(SSSplitter2);
    MainMap->setObjectName("MainMap");
    connect(MainMap, &map::MapView::mouseMove, this, &frmMapMain::MainMap_MouseMove);
    SSSplitter2->addWidget(tvwThemeList);
    SSSplitter2->addWidget(MainMap);
    SSSplitter2->setStretchFactor(1, 1);
    SSSplitter2->setSizes({px(2850), px(5820)});
    SSSplitter2->handle(1)->setMouseTracking(true);
    SSSplitter2->handle(1)->installEventFilter(this);
    column->addWidget(SSSplitter2, 1);

    StatusBar1 = statusBar();
    StatusBar1->setObjectName("StatusBar1");
    const int widths[5] = {0, 0, px(300), px(1500), px(1500)};
    for (int i = 1; i <= 4; ++i) {
        auto* panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        if (widths[i]) panel->setFixedWidth(widths[i]);
        StatusBar1->addPermanentWidget(panel, i == 1 ? 1 : 0);
        Panels[i] = panel;
    }

    Picture1 = std::make_unique<PictureSurface>(px(345), px(345));
    for (const QString& key : {kMapRootKey, kTableRootKey, kTableImageKey}) ImageList4.fixed[key] = treeImage(key);

    mapTool_ = std::make_unique<clsMapToolControl>();
    pMapTool = mapTool_.get();
    mapFiles_ = std::make_unique<MainMapFiles>(*this);
    LayerFiles = mapFiles_.get();
    // 6780 x 2715 twips.
    setMinimumSize(px(6780), px(2715));
}

void frmMapMain::Form_Load() {
    try {
        addRoots(tvwThemeList, ImageList4);
        pMapTool->setMapControl(MainMap);
        pMapTool->setThemeTree(tvwThemeList);
        resize(px(10350), px(6645));
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect s = screen->availableGeometry();
            move(s.left() + (s.width() - width()) / 2, s.top() + (s.height() - height()) / 2);
        }
        tbrFunc[2]->setFixedWidth(px(2250));
        FirstPaintPending = true;
    } catch (const std::exception& e) {
        ui::showError(e, "Error: frmMapMain (Form_Load)");
    }
}

void frmMapMain::Form_Paint() {
    if (!FirstPaintPending) return;
    resize(px(10350), px(6645));
    FirstPaintPending = false;
}

bool frmMapMain::event(QEvent* e) {
    if (e->type() == QEvent::Paint || e->type() == QEvent::UpdateRequest) Form_Paint();
    return QMainWindow::event(e);
}

void frmMapMain::closeEvent(QCloseEvent* e) {
    Form_QueryUnload();
    e->accept();
}

void frmMapMain::Form_QueryUnload() {
    if (conversionState().HelpOpened && help_) help_->close();
    ClearDrag();
    if (MainMap->layerCount() > 0) MainMap->clearLayers();
    CloseFormsAndTempFiles();
}
