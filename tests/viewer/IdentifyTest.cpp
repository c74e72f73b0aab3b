// The identify tool and window on a real map widget: which clicks search, what is flashed, what the window
// lists and shows, and that a result keeps the layer it was made for.
#include "tests/platform/map/MapFixtures.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "platform/map/MapLayer.h"
#include "platform/ui/TestUi.h"
#include "viewer/MapToolSelection.h"
#include "viewer/clsIdentifyTool.h"
#include "viewer/frmIdentify.h"

using namespace velmora;
using namespace velmora::map;
using maptest::TempFolder;

namespace {

struct Selection : viewer::ThemeSelection {
    std::optional<viewer::SelectedTheme> theme;
    QPoint corner{120, 90};
    std::optional<viewer::SelectedTheme> selectedTheme() const override { return theme; }
    QPoint windowTopLeft() const override { return corner; }
    void select(const std::string& layer) { theme = viewer::SelectedTheme{true, layer, "/data/" + layer + ".dbf"}; }
};

// A 200 x 200 map showing 0..40 in both directions: 5 pixels per unit.
struct IdentifyTest : ::testing::Test {
    ui::TestUi ui;
    TempFolder dir{"identify"};
    maptest::TestMap map{200, 200};
    viewer::MapToolSelection tools;
    Selection selection;
    QSignalSpy flashed{&map, &MapView::flashed};

    IdentifyTest() {
        map.addLayer(std::make_shared<MapLayer>(maptest::twoSquares(dir)));
        map.setExtent(MapRect(0, 40, 0, 40));
        tools.MapControl(&map);
        tools.CurrentTool(std::make_unique<clsIdentifyTool>(selection));
        selection.select("squares");
    }
    ~IdentifyTest() override { delete frmIdentify::instance(); }

    static QPoint at(double x, double y) { return QPoint(int(x * 5), int((40 - y) * 5)); }
    void click(QPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers mods = {}) {
        QTest::mousePress(&map, b, mods, p);
        QTest::mouseRelease(&map, b, mods, p);
    }
    // Features in a cluster around (20, 20), all within the search distance of a click there.
    void addPoints(int n, const std::string& name) {
        std::vector<std::pair<double, double>> pts;
        for (int i = 0; i < n; ++i) pts.push_back({20 + 0.01 * i, 20});
        map.addLayer(std::make_shared<MapLayer>(maptest::pointLayer(dir, pts, name)));
        map.setExtent(MapRect(0, 40, 0, 40));
    }
    // Lets every flash asked for so far run out.
    void settle() { QTest::qWait(300 * 7); }
    static QStringList entries(frmIdentify* w) {
        QStringList s;
        for (int i = 0; i < w->lstRecSet->count(); ++i) s << w->lstRecSet->item(i)->text();
        return s;
    }
    static QStringList column(frmIdentify* w, int c) {
        QStringList s;
        for (int i = 0; i < w->lvwIdentifyResults->topLevelItemCount(); ++i)
            s << w->lvwIdentifyResults->topLevelItem(i)->text(c);
        return s;
    }
};

TEST_F(IdentifyTest, ClicksThatDoNotSearch) {
    struct Case {
        const char* what;
        Qt::MouseButton button;
        Qt::KeyboardModifiers mods;
        std::optional<viewer::SelectedTheme> theme;
    } cases[] = {
        {"right button", Qt::RightButton, {}, viewer::SelectedTheme{true, "squares", "/d/squares.dbf"}},
        {"Shift", Qt::LeftButton, Qt::ShiftModifier, viewer::SelectedTheme{true, "squares", "/d/squares.dbf"}},
        {"Ctrl", Qt::LeftButton, Qt::ControlModifier, viewer::SelectedTheme{true, "squares", "/d/squares.dbf"}},
        {"Alt", Qt::LeftButton, Qt::AltModifier, viewer::SelectedTheme{true, "squares", "/d/squares.dbf"}},
        {"a root or nothing selected", Qt::LeftButton, {}, std::nullopt},
        {"a table node", Qt::LeftButton, {}, viewer::SelectedTheme{false, "squares", "/d/squares.dbf"}},
        {"a layer the map does not hold", Qt::LeftButton, {}, viewer::SelectedTheme{true, "gone", "/d/gone.dbf"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        selection.theme = c.theme;
        click(at(2, 2), c.button, c.mods);
        EXPECT_EQ(frmIdentify::instance(), nullptr);
    }
    EXPECT_EQ(tools.ToolType(), 4);
    EXPECT_EQ(map.mousePointer(), pointer::Cross);
}

TEST_F(IdentifyTest, APolygonClickShowsTheRecordAndItsFields) {
    click(at(2, 2));
    frmIdentify* w = frmIdentify::instance();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->pos(), selection.corner);
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(w->windowTitle(), "個別属性表示  (squares)");
    EXPECT_EQ(entries(w), QStringList{"001:東京都"});
    EXPECT_EQ(w->lvwIdentifyResults->headerItem()->text(0), "項目名");
    EXPECT_EQ(w->lvwIdentifyResults->headerItem()->text(1), "値");
    EXPECT_EQ(w->lvwIdentifyResults->columnWidth(0), 100);
    EXPECT_EQ(column(w, 0), (QStringList{"NAME", "CODE"}));
    EXPECT_EQ(column(w, 1), (QStringList{"東京都", "13"}));
    EXPECT_EQ(w->lstRecSet->currentRow(), 0);
    settle();
    EXPECT_EQ(flashed.count(), 1);  // the one feature, once; the first entry's selection flashes nothing
}

TEST_F(IdentifyTest, AClickOutsideEveryPolygonLeavesTheWindowAsItWas) {
    click(at(2, 2));
    frmIdentify* w = frmIdentify::instance();
    ASSERT_NE(w, nullptr);
    click(at(2, 5));  // in the first square's hole
    click(at(15, 5));  // between the squares
    EXPECT_EQ(frmIdentify::instance(), w);
    EXPECT_EQ(entries(w), QStringList{"001:東京都"});
    EXPECT_EQ(column(w, 1), (QStringList{"東京都", "13"}));
}

TEST_F(IdentifyTest, FiveFeaturesFlashOnceEachSixNotAtAll) {
    for (int n : {5, 6}) {
        SCOPED_TRACE(n);
        addPoints(n, "p" + std::to_string(n));
        selection.select("p" + std::to_string(n));
        flashed.clear();
        click(at(20, 20));
        settle();
        EXPECT_EQ(flashed.count(), n <= 5 ? n : 0);
        ASSERT_NE(frmIdentify::instance(), nullptr);
        EXPECT_EQ(frmIdentify::instance()->lstRecSet->count(), n);
    }
}

TEST_F(IdentifyTest, EntriesWithoutATextFieldAreNumbersOnly) {
    addPoints(3, "pts");
    selection.select("pts");
    click(at(20, 20));
    EXPECT_EQ(entries(frmIdentify::instance()), (QStringList{"001", "002", "003"}));
}

TEST_F(IdentifyTest, ChoosingTheThirdEntryFlashesItTwiceAndShowsItsValues) {
    addPoints(6, "pts");
    selection.select("pts");
    click(at(20, 20));
    frmIdentify* w = frmIdentify::instance();
    ASSERT_NE(w, nullptr);
    settle();
    EXPECT_EQ(flashed.count(), 0);  // six found, and the first selection flashes nothing
    EXPECT_EQ(column(w, 1), QStringList{"1"});
    const QRect third = w->lstRecSet->visualItemRect(w->lstRecSet->item(2));
    QTest::mouseClick(w->lstRecSet->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(w->lstRecSet->currentRow(), 2);
    EXPECT_EQ(column(w, 1), QStringList{"3"});
    settle();
    EXPECT_EQ(flashed.count(), 2);
    // A click on the entry that is already chosen shows it again.
    QTest::mouseClick(w->lstRecSet->viewport(), Qt::LeftButton, {}, third.center());
    settle();
    EXPECT_EQ(flashed.count(), 4);
}

TEST_F(IdentifyTest, ASecondLayerReplacesFieldsAndEntries) {
    click(at(2, 2));
    addPoints(2, "pts");
    selection.select("pts");
    click(at(20, 20));
    frmIdentify* w = frmIdentify::instance();
    EXPECT_EQ(column(w, 0), QStringList{"ID"});
    EXPECT_EQ(column(w, 1), QStringList{"1"});
    EXPECT_EQ(entries(w), (QStringList{"001", "002"}));
    EXPECT_EQ(w->windowTitle(), "個別属性表示  (pts)");
}

TEST_F(IdentifyTest, TheLabelGivesTheSearchPosition) {
    map.addLayer(std::make_shared<MapLayer>(maptest::pointLayer(dir, {{139.7, 35.65}}, "tokyo")));
    map.setExtent(MapRect(139.6, 139.8, 35.55, 35.75));
    selection.select("tokyo");
    click({100, 100});
    ASSERT_NE(frmIdentify::instance(), nullptr);
    EXPECT_EQ(frmIdentify::instance()->lblPoint->text(), "検索位置 X = 139.7000  Y = 35.6500");
}

TEST_F(IdentifyTest, TheCaptionKeepsTheLayerAfterTheTreeSelectionChanged) {
    addPoints(3, "pts");
    selection.select("pts");
    click(at(20, 20));
    frmIdentify* w = frmIdentify::instance();
    selection.select("squares");
    w->lstRecSet->setCurrentRow(1);
    EXPECT_EQ(w->windowTitle(), "個別属性表示  (pts)");
    EXPECT_EQ(column(w, 1), QStringList{"2"});
}

TEST_F(IdentifyTest, TheSearchDistanceShrinksWithTheExtent) {
    // A point 0.5 units from the click: within 40 / 50 = 0.8, beyond 10 / 50 = 0.2.
    map.addLayer(std::make_shared<MapLayer>(maptest::pointLayer(dir, {{20.5, 20}}, "one")));
    selection.select("one");
    map.setExtent(MapRect(15, 25, 15, 25));
    click({100, 100});  // (20, 20)
    EXPECT_EQ(frmIdentify::instance(), nullptr);
    map.setExtent(MapRect(0, 40, 0, 40));
    click(at(20, 20));
    EXPECT_NE(frmIdentify::instance(), nullptr);
}

TEST_F(IdentifyTest, ClosingTheWindowLetsTheNextClickOpenANewOne) {
    click(at(2, 2));
    QPointer<frmIdentify> first = frmIdentify::instance();
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(frmIdentify::instance(), nullptr);
    click(at(25, 5));
    ASSERT_NE(frmIdentify::instance(), nullptr);
    EXPECT_EQ(entries(frmIdentify::instance()), QStringList{"001:ｶﾅ"});
}

}  // namespace
