// The map tools, the identify window and the attribute table window reached as a user reaches them: through
// the main window's view band and menu, its theme tree and its table command, on Qt's offscreen platform.
#include <QApplication>
#include <QListWidget>
#include <QTableView>
#include <QToolButton>

#include "convert/core/ConversionState.h"
#include "tests/viewer/ViewerTest.h"
#include "viewer/RecordNavigator.h"
#include "viewer/ToolBand.h"
#include "viewer/frmIdentify.h"
#include "viewer/frmTableView.h"

using namespace velmora;
using namespace velmora::testsupport;
namespace fs = std::filesystem;

namespace {

class MainWindowTools : public ViewerTest {
protected:
    ~MainWindowTools() override {
        delete frmIdentify::instance();
        for (frmTableView* t : tableWindows()) delete t;
    }
    // A polygon layer data/<name>.shp over 139.6-139.8 x 35.6-35.7 with a text and a number field.
    void addCityLayer(const std::string& name) {
        datagen::GenShapeFile f;
        f.shpType = 5;
        f.shapes = {{{datagen::rectangleRing(139.6, 35.6, 139.8, 35.7)}}};
        f.fields = {{"NAME", 'C', 12, 0}, {"POP", 'N', 8, 0}};
        f.rows = {{"東京", "1400"}};
        ASSERT_TRUE(w().pMapTool->AddLayer(datagen::writeShapeFile(data(name), f)));
    }
    QToolButton* view(int b) { return w().tbrFunc[1]->button(b); }
    QPoint mapCentre() { return mapView().rect().center(); }
    void clickMap(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mousePress(&mapView(), b, {}, p);
        QTest::mouseRelease(&mapView(), b, {}, p);
    }
    static std::vector<frmTableView*> tableWindows() {
        std::vector<frmTableView*> found;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = qobject_cast<frmTableView*>(w)) found.push_back(t);
        return found;
    }
    std::vector<std::string> copies() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder_.path()))
            if (e.path().filename().string().rfind("xxattr", 0) == 0) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(MainWindowTools, TheViewBandsToolsZoomAndPanTheMap) {
    addCityLayer("a");
    const map::MapRect before = mapView().extent();
    const map::MapPoint p = mapView().toMapPoint(mapCentre().x(), mapCentre().y());
    QTest::mouseClick(view(1), Qt::LeftButton);
    clickMap(mapCentre());
    EXPECT_NEAR(mapView().extent().width(), before.width() / 2, 1e-9);
    EXPECT_NEAR(mapView().extent().centre().x, p.x, 1e-9);

    w().mnuView1[2]->trigger();  // zoom out from the menu
    clickMap(mapCentre());
    EXPECT_NEAR(mapView().extent().width(), before.width(), 1e-9);

    // The right button pans with the zoom-out tool too, and the pointer comes back.
    const map::MapRect e = mapView().extent();
    QTest::mousePress(&mapView(), Qt::RightButton, {}, mapCentre());
    EXPECT_EQ(mapView().mousePointer(), map::pointer::Panning);
    QTest::mouseMove(&mapView(), mapCentre() + QPoint(20, 0));
    QTest::mouseRelease(&mapView(), Qt::RightButton, {}, mapCentre() + QPoint(20, 0));
    EXPECT_LT(mapView().extent().left, e.left);
    EXPECT_EQ(mapView().mousePointer(), map::pointer::ZoomOut);
    EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(MainWindowTools, IdentifyShowsTheSelectedLayersFeatureAtTheWindowsCorner) {
    addCityLayer("a");
    addCityLayer("b");
    select(mapRoot()->child(1));  // "a"
    QTest::mouseClick(view(5), Qt::LeftButton);
    EXPECT_EQ(w().pMapTool->CurrentTool(), maptool::Identify);
    EXPECT_EQ(mapView().mousePointer(), map::pointer::Cross);
    clickMap(mapCentre());
    frmIdentify* identify = frmIdentify::instance();
    ASSERT_NE(identify, nullptr);
    EXPECT_EQ(identify->windowTitle(), "個別属性表示  (a)");
    EXPECT_EQ(identify->lstRecSet->item(0)->text(), "001:東京");
    EXPECT_EQ(identify->frameGeometry().topLeft(), w().frameGeometry().topLeft());
    // Another node chosen in the tree does not rename the result shown.
    select(mapRoot()->child(0));
    identify->lstRecSet_Click();
    EXPECT_EQ(identify->windowTitle(), "個別属性表示  (a)");
    // Closing the main window closes the identify window.
    QPointer<frmIdentify> guard(identify);
    w().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
}

TEST_F(MainWindowTools, TheTableCommandOpensOneWindowPerTableOnACopy) {
    addCityLayer("a");
    const std::string source = data("a.dbf");
    const std::string bytes = TempProgramFolder::read(source);
    select(tableRoot());
    QTest::mouseClick(view(6), Qt::LeftButton);
    EXPECT_TRUE(tableWindows().empty());

    select(mapRoot()->child(0));
    QTest::mouseClick(view(6), Qt::LeftButton);
    w().mnuPDispAttr_Click();  // the pop-up menu's command: the same window
    ASSERT_EQ(tableWindows().size(), 1u);
    frmTableView* table = tableWindows()[0];
    EXPECT_EQ(table->windowTitle(), "属性表示 (a)");
    EXPECT_EQ(table->datZokusei->caption(), "1/1 件");
    EXPECT_EQ(table->tdbZokusei->model()->index(0, 0).data().toString(), "東京");
    EXPECT_EQ(copies(), std::vector<std::string>{"xxattr01.dbf"});
    table->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(copies().empty());
    EXPECT_EQ(TempProgramFolder::read(source), bytes);

    // Open windows close, and their copies go, with the main window.
    QTest::mouseClick(view(6), Qt::LeftButton);
    ASSERT_EQ(copies().size(), 1u);
    w().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(tableWindows().empty());
    EXPECT_TRUE(copies().empty());
    EXPECT_TRUE(ui_.boxes().empty());
}

}  // namespace
