#include "viewer/frmMapMain.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <exception>

#include "app/frmDataSelect.h"
#include "platform/ui/UiService.h"
#include "viewer/clsMapToolControl.h"

namespace {

QPointer<frmMapMain>& mainWindow() {
    static QPointer<frmMapMain> window;
    return window;
}

// The five conversion commands: menu caption, shortcut, toolbar short name and the kind for the hint.
struct ConversionCommand {
    const char* menuCaption;
    QKeySequence shortcut;
    const char* shortName;
    const char* kind;
};

const ConversionCommand kConversions[5] = {
    {"ポイントデータの変換(&P)", QKeySequence(Qt::CTRL | Qt::Key_P), "ポイントデータの変換", "ポイント"},
    {"ラインデータの変換(&L)", QKeySequence(Qt::CTRL | Qt::Key_L), "ラインデータの変換", "ライン"},
    {"ポリゴンデータの変換(&A)", QKeySequence(Qt::CTRL | Qt::Key_A), "ポリゴンデータの変換", "ポリゴン"},
    {"メッシュデータの変換(&M)", QKeySequence(Qt::CTRL | Qt::Key_M), "メッシュデータの変換", "メッシュ"},
    {"台帳データの変換(&Z)", QKeySequence(Qt::CTRL | Qt::Key_Z), "台帳データの変換", "台帳"},
};

// The map before the viewer's map control is there: what the map tool accepted.
class EmptyMap : public MapLayerFiles {
public:
    explicit EmptyMap(const clsMapToolControl& tool) : tool_(tool) {}
    std::vector<std::string> layerFiles() const override { return tool_.layers(); }
    std::vector<std::string> tableFiles() const override { return tool_.tables(); }

private:
    const clsMapToolControl& tool_;
};

// A band is shown only while it holds buttons: an empty one would show as a bare handle.
class BandShownWithButtons : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionRemoved)
            if (auto* band = qobject_cast<QToolBar*>(watched)) band->setVisible(!band->actions().isEmpty());
        return false;
    }
};

}  // namespace

frmMapMain::frmMapMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmMapMain");
    setWindowTitle(QString::fromStdString(velmora::ui::defaultTitle()));
    // 10350 x 6645 twips at 15 twips per pixel.
    resize(690, 443);
    setCentralWidget(new QWidget(this));

    StatusBar1 = statusBar();
    StatusBar1->setObjectName("StatusBar1");

    static const char* const kBandNames[3] = {"ファイル", "表示", "データ変換"};
    auto* bandVisibility = new BandShownWithButtons(this);
    for (int bar = 0; bar < 3; ++bar) {
        QToolBar* t = addToolBar(QString::fromUtf8(kBandNames[bar]));
        t->setObjectName("tbrFunc");
        t->setProperty("index", bar);
        t->hide();
        t->installEventFilter(bandVisibility);
        tbrFunc[bar] = t;
    }
    mapTool_ = std::make_unique<clsMapToolControl>();
    pMapTool = mapTool_.get();
    emptyMap_ = std::make_unique<EmptyMap>(*mapTool_);
    MainMap = emptyMap_.get();
    buildConversionEntry();
    // With a larger font than usual the window grows to keep every conversion button in view.
    const int needed = tbrFunc[2]->sizeHint().width() + 2 * style()->pixelMetric(QStyle::PM_ToolBarFrameWidth);
    if (needed > width()) resize(needed, height());
    mainWindow() = this;
}

frmMapMain::~frmMapMain() = default;

frmMapMain* frmMapMain::instance() { return mainWindow().data(); }

void frmMapMain::buildConversionEntry() {
    mnuConv = menuBar()->addMenu(QStringLiteral("データ変換(&T)"));
    mnuConv->setObjectName("mnuConv");
    for (int index = 1; index <= 5; ++index) {
        const ConversionCommand& c = kConversions[index - 1];
        QAction* item = mnuConv->addAction(QString::fromUtf8(c.menuCaption));
        item->setObjectName("mnuConv1");
        item->setProperty("index", index);
        item->setShortcut(c.shortcut);
        connect(item, &QAction::triggered, this, [this, index] { mnuConv1_Click(index); });
        mnuConv1[index] = item;

        QAction* button = tbrFunc[2]->addAction(QString::fromUtf8(c.shortName));
        button->setToolTip(QString::fromUtf8(c.shortName));
        button->setStatusTip(QStringLiteral("データ変換（%1）を行います").arg(QString::fromUtf8(c.kind)));
        connect(button, &QAction::triggered, this, [this, index] { tbrFunc_ButtonClick(2, index); });
    }
}

void frmMapMain::mnuConv1_Click(int index) {
    try {
        if (index >= 1 && index <= 5) ShowDataSelect(index - 1);
    } catch (const std::exception& e) {
        velmora::ui::showError(e, "Error: frmMapMain (mnuConv1_Click)");
    }
}

void frmMapMain::tbrFunc_ButtonClick(int bar, int button) {
    try {
        if (bar == 2 && button >= 1 && button <= 5) ShowDataSelect(button - 1);
    } catch (const std::exception& e) {
        velmora::ui::showError(e, "Error: frmMapMain (tbrFunc_ButtonClick)");
    }
}

void frmMapMain::ShowDataSelect(int tab) {
    frmDataSelect* dialog = frmDataSelect::loaded(this);
    if (!dialog) return;
    dialog->SSTabData->setCurrentIndex(tab);
    velmora::ui::service().runModal(*dialog);
}
