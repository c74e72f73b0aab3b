// The main window's commands: menus, tool bands, status bar, help, version box, log clearing and the
// clean-up when it closes.
#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <cmath>
#include <exception>
#include <filesystem>
#include <system_error>

#include "app/frmDataSelect.h"
#include "convert/core/ConversionState.h"
#include "platform/map/MapView.h"
#include "platform/ui/UiService.h"
#include "viewer/HelpWindow.h"
#include "viewer/ToolBand.h"
#include "viewer/ToolIcons.h"
#include "viewer/clsMapToolControl.h"
#include "viewer/frmMapMain.h"

using namespace velmora;
using namespace velmora::viewer;

namespace fs = std::filesystem;

namespace {

constexpr const char* kVersion = "6.00";

struct Button {
    const char* shortName;
    const char* hint;
};

// The three bands' buttons: short name (tool tip) and the hint of the status bar.
const std::vector<Button> kBands[3] = {
    {{"テーマの追加", "マップにテーマを追加します"},
     {"テーマの削除", "現在選択中のテーマを削除します"},
     {"画面キャプチャ", "現在表示中のマップをイメージファイルに出力します"}},
    {{"拡大", "マップを拡大表示します"},
     {"縮小", "マップを縮小表示します"},
     {"移動", "マップの表示位置を移動します"},
     {"全体表示", "マップの全体表示します"},
     {"個別属性表示", "アクティブなレイヤの個別属性表示をします"},
     {"属性テーブルを開く", "アクティブなレイヤの属性表示をします"}},
    {{"ポイントデータの変換", "データ変換（ポイント）を行います"},
     {"ラインデータの変換", "データ変換（ライン）を行います"},
     {"ポリゴンデータの変換", "データ変換（ポリゴン）を行います"},
     {"メッシュデータの変換", "データ変換（メッシュ）を行います"},
     {"台帳データの変換", "データ変換（台帳）を行います"}},
};
const char* const kBandTitles[3] = {"ファイル", "表示", "データ変換"};
// Band widths in twips (the conversion band's is set at load).
const int kBandWidths[3] = {1305, 2265, 1785};

QAction* item(QMenu* menu, const QString& caption, const char* objectName, int index,
              QKeySequence shortcut = {}) {
    QAction* a = caption == "-" ? menu->addSeparator() : menu->addAction(caption);
    a->setObjectName(objectName);
    if (index >= 0) a->setProperty("index", index);
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    return a;
}

// "##0.0000": at least one integer digit, exactly four decimals.
QString coordinate(double v) { return QString::number(v, 'f', 4); }

}  // namespace

void frmMapMain::buildBands() {
    for (int bar = 0; bar < 3; ++bar) {
        auto* band = new ToolBand(QString::fromUtf8(kBandTitles[bar]), kBandWidths[bar] / 15, CoolBar1);
        band->setProperty("index", bar);
        for (int b = 1; b <= static_cast<int>(kBands[bar].size()); ++b)
            band->addButton(toolIcon(bar, b), QString::fromUtf8(kBands[bar][b - 1].shortName),
                            bar == 1 && (b <= 3 || b == 5));
        connect(band, &ToolBand::buttonClick, this, [this, bar](int b) { tbrFunc_ButtonClick(bar, b); });
        connect(band, &ToolBand::pointerMove, this,
                [this, bar](int button, int shift, int x, int y) { tbrFunc_MouseMove(bar, button, shift, x * 15.0, y * 15.0); });
        // Below the bands the pointer meets the splitter first, which takes the hint away.
        connect(band, &ToolBand::pointerLeave, this, &frmMapMain::SSSplitter2_MouseMove);
        tbrFunc[bar] = band;
    }
}

void frmMapMain::buildMenus() {
    QMenuBar* bar = menuBar();
    mnuFile = bar->addMenu(QStringLiteral("ファイル(&F)"));
    mnuFile->setObjectName("mnuFile");
    const std::pair<int, QString> fileItems[] = {
        {1, QStringLiteral("テーマの追加(&A)") + QString(10, QChar(0x3000))},
        {2, QStringLiteral("テーマの削除(&R)")}, {3, "-"}, {4, QStringLiteral("画面キャプチャ")}, {5, "-"},
        {6, QStringLiteral("変換ログフォルダのクリア")}, {7, "-"}, {9, QStringLiteral("終了(&Q)")}};
    for (const auto& [index, caption] : fileItems) {
        mnuFile1[index] = item(mnuFile, caption, "mnuFile1", index);
        connect(mnuFile1[index], &QAction::triggered, this, [this, index = index] { mnuFile1_Click(index); });
    }

    mnuView = bar->addMenu(QStringLiteral("表示(&V)"));
    mnuView->setObjectName("mnuView");
    const std::tuple<int, QString, QKeySequence> viewItems[] = {
        {1, QStringLiteral("拡大(&I)") + QString(7, u' '), QKeySequence(Qt::CTRL | Qt::Key_W)},
        {2, QStringLiteral("縮小(&O)"), QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {3, "-", {}}, {4, QStringLiteral("移動(&M)"), {}}, {5, "-", {}},
        {6, QStringLiteral("全体表示(&F)"), {}}, {7, "-", {}}};
    for (const auto& [index, caption, shortcut] : viewItems) {
        mnuView1[index] = item(mnuView, caption, "mnuView1", index, shortcut);
        connect(mnuView1[index], &QAction::triggered, this, [this, index = index] { mnuView1_Click(index); });
    }
    mnuTbrFuncMenu = mnuView->addMenu(QStringLiteral("ツールバー(&T)"));
    mnuTbrFuncMenu->setObjectName("mnuTbrFuncMenu");
    mnuView1[8] = mnuTbrFuncMenu->menuAction();
    mnuView1[8]->setObjectName("mnuView1");
    mnuView1[8]->setProperty("index", 8);
    const std::pair<int, QString> bandItems[] = {{0, QStringLiteral("ファイル")}, {1, QStringLiteral("表示")},
                                                 {2, QStringLiteral("データ変換")}, {10, "-"},
                                                 {100, QStringLiteral("全てＯＮ")}, {101, QStringLiteral("全てＯＦＦ")}};
    for (const auto& [index, caption] : bandItems) {
        QAction* a = item(mnuTbrFuncMenu, caption, "mnuTbrFunc", index);
        if (index <= 2) {
            a->setCheckable(true);
            a->setChecked(true);
        }
        // The handler reads and sets the marks itself: undo the toggle a checkable item makes on its own.
        connect(a, &QAction::triggered, this, [this, a, index = index] {
            if (a->isCheckable()) a->setChecked(!a->isChecked());
            mnuTbrFunc_Click(index);
        });
        mnuTbrFunc[index] = a;
    }

    mnuConv = bar->addMenu(QStringLiteral("データ変換(&T)"));
    mnuConv->setObjectName("mnuConv");
    const std::pair<const char*, QKeySequence> convItems[5] = {
        {"ポイントデータの変換(&P)", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"ラインデータの変換(&L)", QKeySequence(Qt::CTRL | Qt::Key_L)},
        {"ポリゴンデータの変換(&A)", QKeySequence(Qt::CTRL | Qt::Key_A)},
        {"メッシュデータの変換(&M)", QKeySequence(Qt::CTRL | Qt::Key_M)},
        {"台帳データの変換(&Z)", QKeySequence(Qt::CTRL | Qt::Key_Z)}};
    for (int index = 1; index <= 5; ++index) {
        mnuConv1[index] = item(mnuConv, QString::fromUtf8(convItems[index - 1].first), "mnuConv1", index,
                               convItems[index - 1].second);
        connect(mnuConv1[index], &QAction::triggered, this, [this, index] { mnuConv1_Click(index); });
    }

    mnuHelp = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    mnuHelp->setObjectName("mnuHelp");
    mnuHelpDisp = item(mnuHelp, QStringLiteral("ヘルプ(&H)"), "mnuHelpDisp", -1, QKeySequence(Qt::Key_F1));
    connect(mnuHelpDisp, &QAction::triggered, this, &frmMapMain::mnuHelpDisp_Click);
    item(mnuHelp, "-", "mnuHelpSP", -1);
    mnuVer = item(mnuHelp, QStringLiteral("バージョン情報(&V)"), "mnuVer", -1, QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(mnuVer, &QAction::triggered, this, &frmMapMain::mnuVer_Click);
}

void frmMapMain::mnuFile1_Click(int index) {
    try {
        switch (index) {
        case 1: AddLayer_DialogShow(); break;
        case 2: DeleteTheme(); break;
        case 4: ExportMapImage(1); break;
        case 6: ClearConvertLog(); break;
        case 9: close(); break;
        default: break;
        }
    } catch (const std::exception& e) {
        ui::showError(e, "Error: frmMapMain (mnuFile1_Click)");
    }
}

void frmMapMain::selectViewTool(int pressed, int pointer, int toolType) {
    ToolBand* view = tbrFunc[1];
    for (int b = 1; b <= view->buttonCount(); ++b) view->button(b)->setChecked(false);
    MainMap->setMousePointer(pointer);
    pMapTool->setCurrentTool(toolType);
    if (pressed) view->button(pressed)->setChecked(true);
}

void frmMapMain::fullExtent() { MainMap->setExtent(MainMap->fullExtent()); }

void frmMapMain::mnuView1_Click(int index) {
    try {
        switch (index) {
        case 1: selectViewTool(1, map::pointer::ZoomIn, maptool::ZoomIn); break;
        case 2: selectViewTool(2, map::pointer::ZoomOut, maptool::ZoomOut); break;
        case 4: selectViewTool(3, map::pointer::Pan, maptool::Pan); break;
        case 6: fullExtent(); break;
        default: break;
        }
    } catch (const std::exception& e) {
        ui::showError(e, "Error: frmMapMain (mnuView1_Click)");
    }
}

void frmMapMain::mnuTbrFunc_Click(int index) {
    try {
        if (index == 100) {
            CoolBar1->show();
            for (int band = 1; band <= 3; ++band) {
                mnuTbrFunc[band - 1]->setChecked(true);
                tbrFunc[band - 1]->show();
            }
        } else if (index == 101) {
            CoolBar1->hide();
            for (int band = 3; band >= 1; --band) {
                mnuTbrFunc[band - 1]->setChecked(false);
                tbrFunc[band - 1]->hide();
            }
        } else if (index >= 0 && index <= 2) {
            if (mnuTbrFunc[index]->isChecked()) {
                tbrFunc[index]->hide();
                mnuTbrFunc[index]->setChecked(false);
                if (tbrFunc[0]->isHidden() && tbrFunc[1]->isHidden() && tbrFunc[2]->isHidden()) CoolBar1->hide();
            } else {
                mnuTbrFunc[index]->setChecked(true);
                if (CoolBar1->isHidden()) CoolBar1->show();
                tbrFunc[index]->show();
            }
        }
    } catch (const std::exception& e) {
        ui::showError(e, "Error: frmMapMain (mnuTbrFunc_Click)");
    }
}

void frmMapMain::mnuConv1_Click(int index) {
    try {
        if (index >= 1 && index <= 5) ShowDataSelect(index - 1);
    } catch (const std::exception& e) {
        ui::showError(e, "Error: frmMapMain (mnuConv1_Click)");
    }
}

void frmMapMain::ShowDataSelect(int tab) {
    frmDataSelect* dialog = frmDataSelect::loaded(this);
    if (!dialog) return;
    dialog->SSTabData->setCurrentIndex(tab);
    ui::service().runModal(*dialog);
}

void frmMapMain::tbrFunc_ButtonClick(int bar, int button) {
    try {
        if (bar == 0) {
            if (button == 1) AddLayer_DialogShow();
            else if (button == 2) DeleteTheme();
            else if (button == 3) ExportMapImage(1);
        } else if (bar == 1) {
            if (button >= 1 && button <= 3) {
                const int pointers[4] = {0, map::pointer::ZoomIn, map::pointer::ZoomOut, map::pointer::Pan};
                selectViewTool(button, pointers[button], button);
            } else if (button == 4) {
                // A push button: the pressed tool stays pressed.
                fullExtent();
            } else if (button == 5) {
                QTreeWidgetItem* node = tvwThemeList->currentItem();
                if (node && !node->isSelected()) node = nullptr;
                MainMap->setMousePointer(map::pointer::Default);
                ui::service().yield();
                selectViewTool(0, map::pointer::Arrow, maptool::None);
                if (isLayerNode(node)) selectViewTool(5, map::pointer::Cross, maptool::Identify);
            } else if (button == 6) {
                ShowTableViewDialog();
            }
        } else if (bar == 2 && button >= 1 && button <= 5) {
            ShowDataSelect(button - 1);
        }
    } catch (const std::exception& e) {
        ui::showError(e, "Error: frmMapMain (tbrFunc_ButtonClick)");
    }
}

void frmMapMain::tbrFunc_MouseMove(int bar, int, int, double x, double) {
    if (bar < 0 || bar > 2) return;
    const long n = std::lround(std::nearbyint(x)) / 345;
    const auto& buttons = kBands[bar];
    Panels[1]->setText(n >= 0 && n < static_cast<long>(buttons.size()) ? QString::fromUtf8(buttons[n].hint) : QString());
    StatusBar1->repaint();
}

void frmMapMain::SSSplitter2_MouseMove() { Panels[1]->clear(); }

void frmMapMain::MainMap_MouseMove(int, int, int x, int y) {
    try {
        const map::MapPoint p = MainMap->toMapPoint(x, y);
        Panels[3]->setText("X: " + coordinate(p.x));
        Panels[4]->setText("Y: " + coordinate(p.y));
    } catch (const std::exception& e) {
        ui::showError(e, "Error: frmMapMain (MainMap_MouseMove)");
    }
}

void frmMapMain::mnuHelpDisp_Click() {
    conversionState().HelpOpened = true;
    if (!help_) {
        help_ = new HelpWindow(conversionState().HelpFile);
        help_->setAttribute(Qt::WA_DeleteOnClose);
    }
    help_->show();
    help_->raise();
}

void frmMapMain::mnuVer_Click() {
    ui::message(ui::defaultTitle() + "\nバージョン " + kVersion, "バージョン情報", ui::Icon::Information);
}

void frmMapMain::ClearConvertLog() {
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(programFolder()) / "Log", ec), end; !ec && it != end; it.increment(ec)) {
        const QString name = QString::fromStdString(it->path().filename().string());
        if (name.endsWith(".log", Qt::CaseInsensitive) && it->is_regular_file(ec)) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

void frmMapMain::CloseFormsAndTempFiles() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible() && w->objectName() != objectName()) w->close();
    // The attribute table windows' copies "xxattr01.dbf" to "xxattr99.dbf": once one is there, every
    // "xxattr*.dbf" goes.
    const fs::path folder(programFolder());
    bool any = false;
    std::error_code ec;
    for (int n = 1; n <= 99 && !any; ++n)
        any = fs::exists(folder / QStringLiteral("xxattr%1.dbf").arg(n, 2, 10, QLatin1Char('0')).toStdString(), ec);
    if (!any) return;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const QString name = QString::fromStdString(it->path().filename().string());
        if (name.startsWith("xxattr", Qt::CaseInsensitive) && name.endsWith(".dbf", Qt::CaseInsensitive)) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

void frmMapMain::mnuPAddTheme_Click() {
    AddLayer_DialogShow();
    AddThemeFilter = 0;
}

void frmMapMain::mnuPDelTheme_Click() { DeleteTheme(); }
void frmMapMain::mnuPDispAttr_Click() { ShowTableViewDialog(); }

void frmMapMain::mnuPTProp_Click() {
    try {
        ShowLayerPropDialog(false);
    } catch (const std::exception& e) {
        ui::showError(e, "Error: frmMapMain (mnuPTProp_Click)");
    }
}

void frmMapMain::AddLayer_DialogShow() {}
void frmMapMain::ExportMapImage(int) {}
void frmMapMain::ShowTableViewDialog() {}
void frmMapMain::ShowLayerPropDialog(bool) {}
