// Start-up and the conversion entry of the main window, on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <functional>

#include "convert/core/ConversionState.h"
#include "app/Main.h"
#include "app/frmDataSelect.h"
#include "platform/text/Cp932.h"
#include "platform/ui/TestApplication.h"
#include "platform/ui/TestUi.h"
#include "tests/convert/core/TempProgramFolder.h"
#include "viewer/ToolBand.h"
#include "viewer/frmMapMain.h"

namespace fs = std::filesystem;
using namespace velmora;

namespace {

class MainWindowStart : public ::testing::Test {
protected:
    void SetUp() override { ui::testApplication(); }
    void TearDown() override {
        delete frmMapMain::instance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void installCatalogue(const fs::path& from) {
        for (const char* name : {"DataDBF.csv", "DataDBFItem.csv"})
            fs::copy_file(from / name, folder_.path() / name, fs::copy_options::overwrite_existing);
    }
    frmMapMain& start() {
        EXPECT_TRUE(modCommon::Main());
        frmMapMain* w = frmMapMain::instance();
        if (!w) throw std::runtime_error("no main window");
        return *w;
    }
    // A modal run of frmDataSelect that records the tab it was shown on.
    std::function<int(QDialog&)> recordTab(int& tab) {
        return [&tab](QDialog& d) {
            EXPECT_EQ(d.objectName(), "frmDataSelect");
            auto* tabs = d.findChild<QTabWidget*>("SSTabData");
            tab = tabs ? tabs->currentIndex() : -1;
            return int(QDialog::Rejected);
        };
    }

    testsupport::TempProgramFolder folder_;
    ui::TestUi ui_;
};

TEST_F(MainWindowStart, ShowsTheMainWindowWithTheConversionMenuWithoutReadingTheCatalogue) {
    // The program folder holds no catalogue: the start must not care.
    conversionState().HelpOpened = true;
    frmMapMain& w = start();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isModal());
    EXPECT_EQ(w.objectName(), "frmMapMain");
    EXPECT_EQ(w.windowTitle(), "Velmora");
    EXPECT_EQ(frmDataSelect::current(), nullptr);
    EXPECT_EQ(conversionState().HelpFile, folder_.file("Velmora600.html"));
    EXPECT_FALSE(conversionState().HelpOpened);
    // Qt's own buttons read as the program's messages name them, whatever the locale.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "はい(&Y)");

    auto* menu = w.findChild<QMenu*>("mnuConv");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "データ変換(&T)");
    struct Item { const char* caption; const char* shortcut; };
    const Item items[5] = {{"ポイントデータの変換(&P)", "Ctrl+P"}, {"ラインデータの変換(&L)", "Ctrl+L"},
                           {"ポリゴンデータの変換(&A)", "Ctrl+A"}, {"メッシュデータの変換(&M)", "Ctrl+M"},
                           {"台帳データの変換(&Z)", "Ctrl+Z"}};
    ASSERT_EQ(menu->actions().size(), 5);
    for (int i = 1; i <= 5; ++i) {
        QAction* a = menu->actions()[i - 1];
        EXPECT_EQ(a, w.mnuConv1[i]);
        EXPECT_EQ(a->objectName(), "mnuConv1");
        EXPECT_EQ(a->property("index").toInt(), i);
        EXPECT_EQ(a->text(), QString::fromUtf8(items[i - 1].caption));
        EXPECT_EQ(a->shortcut().toString(), items[i - 1].shortcut);
    }
    ASSERT_NE(w.tbrFunc[2], nullptr);
    EXPECT_EQ(w.tbrFunc[2]->windowTitle(), "データ変換");
    EXPECT_EQ(w.tbrFunc[2]->buttonCount(), 5);
    EXPECT_EQ(w.tbrFunc[2]->button(5)->toolTip(), "台帳データの変換");
}

TEST_F(MainWindowStart, MenuAndToolbarOpenTheDataKindDialogOnTheirTab) {
    installCatalogue(fs::path(VELMORA_FIXTURES) / "catalogue" / "sample");
    frmMapMain& w = start();
    for (int index = 1; index <= 5; ++index) {
        int menuTab = -1, toolbarTab = -1;
        ui_.answerModal(recordTab(menuTab)).answerModal(recordTab(toolbarTab));
        w.mnuConv1[index]->trigger();
        w.tbrFunc[2]->button(index)->click();
        EXPECT_EQ(menuTab, index - 1) << "menu index " << index;
        EXPECT_EQ(toolbarTab, index - 1) << "button " << index;
    }
    ConversionState& s = conversionState();
    EXPECT_EQ(s.AppFolder, folder_.path().string() + "/");
    EXPECT_EQ(s.PointLayers[3].Name, text::toCp932("漁港"));
    EXPECT_EQ(s.dataNames(CatalogKind::Line).size(), 28u);
}

TEST_F(MainWindowStart, OtherIndexesDoNothing) {
    installCatalogue(fs::path(VELMORA_FIXTURES) / "catalogue" / "sample");
    frmMapMain& w = start();
    w.mnuConv1_Click(0);
    w.mnuConv1_Click(6);
    w.tbrFunc_ButtonClick(2, 0);
    w.tbrFunc_ButtonClick(2, 6);
    w.tbrFunc_ButtonClick(0, 4);
    w.tbrFunc_ButtonClick(1, 7);
    EXPECT_TRUE(ui_.dialogs().empty());
    EXPECT_EQ(frmDataSelect::current(), nullptr);
}

TEST_F(MainWindowStart, ClosingTheDialogUnloadsItAndTheNextOpeningReloadsTheCatalogue) {
    installCatalogue(fs::path(VELMORA_FIXTURES) / "catalogue" / "sample");
    frmMapMain& w = start();
    ui_.answerModal([](QDialog& d) {
        d.close();
        return int(QDialog::Rejected);
    });
    w.mnuConv1[2]->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmDataSelect::current(), nullptr);

    // The item rows of "道路" still contain the shorter name.
    testsupport::TempProgramFolder::write(folder_.path() / "DataDBF.csv",
                                          text::toCp932("heading\r\n1,25,道,0,0,0,0,0,0,N01,2\r\n"));
    int tab = -1;
    ui_.answerModal(recordTab(tab));
    w.mnuConv1[2]->trigger();
    EXPECT_EQ(tab, 1);
    EXPECT_EQ(conversionState().LineLayers[25].Name, text::toCp932("道"));
    // Loaded again into the same rows: what the new catalogue does not name stays.
    EXPECT_EQ(conversionState().PointLayers[3].Name, text::toCp932("漁港"));
}

TEST_F(MainWindowStart, AMissingCatalogueEndsTheProgramAfterItsBox) {
    frmMapMain& w = start();
    ui_.answer(ui::Answer::Ok);
    // The menu is used from the program's event loop, which the failed load must end with code 1. A
    // program that went on is stopped after a while with another code.
    QObject guard;
    QTimer::singleShot(0, &guard, [&w] { w.mnuConv1[1]->trigger(); });
    QTimer::singleShot(20000, &guard, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), 1);
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].text, "53 ファイルが見つかりません。");
    EXPECT_EQ(ui_.boxes()[0].title, "Error: frmDataSelect (SetKisoJyoho)");
    EXPECT_EQ(ui_.boxes()[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(ui_.dialogs().empty());
    EXPECT_EQ(frmDataSelect::current(), nullptr);
}

TEST_F(MainWindowStart, TheInstalledCatalogueOpensTheDialogWithoutABox) {
    installCatalogue(fs::path(VELMORA_SOURCE_DIR) / "catalogue");
    frmMapMain& w = start();
    int tab = -1;
    ui_.answerModal(recordTab(tab));
    w.tbrFunc[2]->button(4)->click();
    EXPECT_EQ(tab, 3);
    EXPECT_TRUE(ui_.boxes().empty());
    EXPECT_EQ(conversionState().AttrLayers[13].HeaderKey, "W14-52T");
}

}  // namespace
