// The theme tree on the real widget: order and keys of its nodes, the check-mark cascade and the map's
// visibility, the visibility test, drags that re-order layers, the pop-up menus and deletion.
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionViewItem>

#include "platform/map/CompanionFile.h"
#include "tests/viewer/ViewerTest.h"

using namespace velmora;
using namespace velmora::testsupport;
using namespace velmora::viewer;

namespace {

class ThemeTree : public ViewerTest {
protected:
    // Three layers added a, b, c: the map and the tree show c, b, a.
    void threeLayers() {
        addLayer("a");
        addLayer("b");
        addLayer("c");
    }
    // What a user's click on the node's check box does: the tree toggles the mark and says so.
    void toggle(QTreeWidgetItem* node) { node->setCheckState(0, isChecked(node) ? Qt::Unchecked : Qt::Checked); }
    bool visible(const char* layer) { return mapView().layerByName(layer)->visible(); }
    void press(QTreeWidgetItem* node, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mousePress(tree().viewport(), b, {}, centre(node));
    }
    void drag(QTreeWidgetItem* from, QTreeWidgetItem* to) {
        QTest::mousePress(tree().viewport(), Qt::LeftButton, {}, centre(from));
        QTest::mouseMove(tree().viewport(), centre(to));
        QTest::mouseRelease(tree().viewport(), Qt::LeftButton, {}, centre(to));
    }
};

TEST_F(ThemeTree, NewestNodeFirstWithKeysOfTheirTables) {
    modCommon::ThemeKeyCounter = 0;
    threeLayers();
    const std::string table = tableFile("ledger.dbf");
    ASSERT_TRUE(w().pMapTool->AddTable(table));
    EXPECT_EQ(texts(mapRoot()), (QStringList{"c", "b", "a"}));
    EXPECT_EQ(layerNames(), (QStringList{"c", "b", "a"}));
    EXPECT_EQ(texts(tableRoot()), QStringList{"ledger.dbf"});
    EXPECT_EQ(nodeKey(mapRoot()->child(2)), "001" + QString::fromStdString(data("a.dbf")));
    EXPECT_EQ(nodeKey(mapRoot()->child(0)), "003" + QString::fromStdString(data("c.dbf")));
    EXPECT_EQ(nodeKey(tableRoot()->child(0)), "004" + QString::fromStdString(table));
    EXPECT_EQ(nodePath(mapRoot()->child(0)), data("c.dbf"));
    EXPECT_EQ(nodePath(tableRoot()->child(0)), table);
    for (QTreeWidgetItem* r : {mapRoot(), tableRoot()}) {
        EXPECT_TRUE(isChecked(r));
        EXPECT_TRUE(isBold(r));
        EXPECT_TRUE(r->isExpanded());
        EXPECT_FALSE(r->flags() & Qt::ItemIsAutoTristate);
    }
    EXPECT_EQ(mapRoot()->text(0), "地図データ");
    EXPECT_EQ(tableRoot()->text(0), "台帳データ");
    EXPECT_EQ(w().ImageList4.swatches.size(), 3u);
    EXPECT_FALSE(mapRoot()->child(0)->icon(0).isNull());
    EXPECT_FALSE(tableRoot()->child(0)->icon(0).isNull());
}

// The table of "ROADS.SHP" is "ROADS.DBF"; a layer without a table keeps the rewritten name. Past 999
// nodes the key grows a digit and the node's path still reads right.
TEST_F(ThemeTree, KeyPathsAndLongRuns) {
    datagen::GenShapeFile upper;
    upper.shpType = 1;
    upper.shapes = {{{{{139.7, 35.6}}}}};
    upper.upperCase = true;
    const std::string roads = datagen::writeShapeFile(data("ROADS"), upper);
    ASSERT_TRUE(w().pMapTool->AddLayer(roads));
    EXPECT_EQ(nodePath(mapRoot()->child(0)), data("ROADS.DBF"));
    datagen::GenShapeFile bare = upper;
    bare.upperCase = false;
    bare.dbf = false;
    ASSERT_TRUE(w().pMapTool->AddLayer(datagen::writeShapeFile(data("bare"), bare)));
    EXPECT_EQ(nodePath(mapRoot()->child(0)), data("bare.dbf"));

    modCommon::ThemeKeyCounter = 999;
    ASSERT_TRUE(w().pMapTool->AddTable(tableFile("t.dbf")));
    EXPECT_EQ(nodeKey(tableRoot()->child(0)), "1000" + QString::fromStdString(data("t.dbf")));
    EXPECT_EQ(nodePath(tableRoot()->child(0)), data("t.dbf"));
}

// A layer named like a fixed icon's key does not take the icon's place.
TEST_F(ThemeTree, ALayerNamedLikeAFixedIconKeepsBoth) {
    addLayer("SH");
    addLayer("DB");
    EXPECT_EQ(texts(mapRoot()), (QStringList{"DB", "SH"}));
    EXPECT_EQ(w().ImageList4.fixed.size(), 3u);
    EXPECT_TRUE(ui_.boxes().empty());
    EXPECT_NE(mapRoot()->child(1)->icon(0).pixmap(16).toImage(), mapRoot()->icon(0).pixmap(16).toImage());
}

TEST_F(ThemeTree, CheckMarksCascadeAndReachTheMap) {
    threeLayers();
    ASSERT_TRUE(w().pMapTool->AddTable(tableFile("t.dbf")));
    QTreeWidgetItem* c = mapRoot()->child(0);
    QTreeWidgetItem* b = mapRoot()->child(1);
    QTreeWidgetItem* a = mapRoot()->child(2);
    struct Step {
        const char* what;
        std::function<void()> act;
        bool rootChecked, rootBold;
        std::array<bool, 3> shown;  // a, b, c
    };
    const Step steps[] = {
        {"uncheck b", [&] { toggle(b); }, false, true, {true, false, true}},
        {"uncheck a", [&] { toggle(a); }, false, true, {false, false, true}},
        {"uncheck c", [&] { toggle(c); }, false, false, {false, false, false}},
        {"check a", [&] { toggle(a); }, false, true, {true, false, false}},
        {"check the root", [&] { toggle(mapRoot()); }, true, true, {true, true, true}},
        {"clear the root", [&] { toggle(mapRoot()); }, false, false, {false, false, false}},
        {"check b, c, a", [&] { toggle(b); toggle(c); toggle(a); }, true, true, {true, true, true}},
        // Tables stand for nothing on the map.
        {"clear the tables", [&] { toggle(tableRoot()); }, true, true, {true, true, true}},
        {"check a table", [&] { toggle(tableRoot()->child(0)); }, true, true, {true, true, true}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(isChecked(mapRoot()), s.rootChecked);
        EXPECT_EQ(isBold(mapRoot()), s.rootBold);
        EXPECT_EQ((std::array<bool, 3>{visible("a"), visible("b"), visible("c")}), s.shown);
        EXPECT_EQ((std::array<bool, 3>{isChecked(a), isChecked(b), isChecked(c)}), s.shown);
    }
    EXPECT_TRUE(isChecked(tableRoot()));
    EXPECT_TRUE(isBold(tableRoot()));
}

// A click on the check box itself, as the user makes it.
TEST_F(ThemeTree, AClickOnTheCheckBoxHidesTheLayer) {
    addLayer("a");
    QTreeWidgetItem* node = mapRoot()->child(0);
    QStyleOptionViewItem option;
    option.initFrom(&tree());
    option.rect = tree().visualItemRect(node);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = tree().style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &tree());
    QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_FALSE(isChecked(node));
    EXPECT_FALSE(visible("a"));
    EXPECT_FALSE(isChecked(mapRoot()));
}

TEST_F(ThemeTree, BeforeNodeCheckTellsAMarkTheMapDoesNotFollow) {
    threeLayers();
    ASSERT_TRUE(w().pMapTool->AddTable(tableFile("t.dbf")));
    QTreeWidgetItem* b = mapRoot()->child(1);
    const auto quietly = [&](QTreeWidgetItem* n, bool checked) {
        const QSignalBlocker blocker(&tree());
        setChecked(n, checked);
    };
    tree().setCurrentItem(nullptr);
    tree().clearSelection();
    EXPECT_FALSE(w().BeforeNodeCheck());
    select(b);
    EXPECT_FALSE(w().BeforeNodeCheck());
    quietly(b, false);
    EXPECT_TRUE(w().BeforeNodeCheck());
    select(mapRoot());
    EXPECT_FALSE(w().BeforeNodeCheck());  // checked, every layer shown
    mapView().layerByName("b")->setVisible(false);
    EXPECT_TRUE(w().BeforeNodeCheck());
    quietly(mapRoot(), false);
    EXPECT_TRUE(w().BeforeNodeCheck());  // cleared, some layers shown
    select(tableRoot());
    EXPECT_TRUE(w().BeforeNodeCheck());
    select(tableRoot()->child(0));
    EXPECT_FALSE(w().BeforeNodeCheck());
}

TEST_F(ThemeTree, DragsReorderLayersAndTheirNodes) {
    threeLayers();
    ASSERT_TRUE(w().pMapTool->AddTable(tableFile("t.dbf")));
    const QString keyOfA = nodeKey(mapRoot()->child(2));
    // Last onto first: the layer goes to index 0, its node before the target.
    drag(mapRoot()->child(2), mapRoot()->child(0));
    EXPECT_EQ(layerNames(), (QStringList{"a", "c", "b"}));
    EXPECT_EQ(texts(mapRoot()), (QStringList{"a", "c", "b"}));
    EXPECT_EQ(nodeKey(mapRoot()->child(0)), keyOfA);
    EXPECT_EQ(tree().currentItem(), mapRoot()->child(0));
    EXPECT_EQ(w().DragNode, nullptr);
    EXPECT_EQ(w().DropHighlight, nullptr);
    EXPECT_FALSE(w().Dragging);
    // First onto last: to the last index, the node after the target.
    drag(mapRoot()->child(0), mapRoot()->child(2));
    EXPECT_EQ(layerNames(), (QStringList{"c", "b", "a"}));
    EXPECT_EQ(texts(mapRoot()), (QStringList{"c", "b", "a"}));
    // Onto a root, itself or a table: nothing moves.
    for (QTreeWidgetItem* target : {mapRoot(), mapRoot()->child(1), tableRoot()->child(0), tableRoot()}) {
        drag(mapRoot()->child(1), target);
        EXPECT_EQ(layerNames(), (QStringList{"c", "b", "a"})) << target->text(0).toStdString();
        EXPECT_EQ(texts(mapRoot()), (QStringList{"c", "b", "a"}));
    }
    EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(ThemeTree, TheDropMarkFollowsLayerNodesOnly) {
    threeLayers();
    ASSERT_TRUE(w().pMapTool->AddTable(tableFile("t.dbf")));
    QWidget* vp = tree().viewport();
    QTest::mousePress(vp, Qt::LeftButton, {}, centre(mapRoot()->child(2)));
    EXPECT_EQ(w().DragNode, mapRoot()->child(2));
    EXPECT_EQ(w().DropHighlight, mapRoot()->child(2));
    QTest::mouseMove(vp, centre(mapRoot()->child(1)));
    EXPECT_TRUE(w().Dragging);
    EXPECT_EQ(w().DropHighlight, mapRoot()->child(1));
    QTest::mouseMove(vp, centre(tableRoot()->child(0)));
    EXPECT_EQ(w().DropHighlight, mapRoot()->child(1));
    QTest::mouseMove(vp, centre(tableRoot()));
    EXPECT_EQ(w().DropHighlight, nullptr);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, centre(tableRoot()));
    // A press on a root forgets the dragged node.
    QTest::mousePress(vp, Qt::LeftButton, {}, centre(mapRoot()));
    EXPECT_EQ(w().DragNode, nullptr);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, centre(mapRoot()));
}

// A rebuild makes every node afresh: the node pressed before it is no longer there to drag.
TEST_F(ThemeTree, APressAndMoveAfterARebuild) {
    threeLayers();
    QWidget* vp = tree().viewport();
    QTest::mousePress(vp, Qt::LeftButton, {}, centre(mapRoot()->child(0)));
    ASSERT_NE(w().DragNode, nullptr);
    addLayer("d");
    EXPECT_EQ(w().DragNode, nullptr);
    EXPECT_EQ(w().DropHighlight, nullptr);
    QTest::mouseMove(vp, centre(mapRoot()->child(2)));
    EXPECT_FALSE(w().Dragging);
    QTest::mouseRelease(vp, Qt::LeftButton, {}, centre(mapRoot()->child(2)));
    EXPECT_EQ(layerNames(), (QStringList{"d", "c", "b", "a"}));
    // And after a deletion.
    QTest::mousePress(vp, Qt::LeftButton, {}, centre(mapRoot()->child(0)));
    w().DeleteTheme();
    EXPECT_EQ(w().DragNode, nullptr);
    QTest::mouseMove(vp, centre(mapRoot()->child(1)));
    QTest::mouseRelease(vp, Qt::LeftButton, {}, centre(mapRoot()->child(1)));
    EXPECT_EQ(layerNames(), (QStringList{"c", "b", "a"}));
}

TEST_F(ThemeTree, PopUpsFollowTheSelectedNode) {
    addLayer("a");
    ASSERT_TRUE(w().pMapTool->AddTable(tableFile("t.dbf")));
    QWidget* vp = tree().viewport();
    const std::vector<std::string> popUp1 = {"テーマの削除(&R)", "-", "属性テーブルを開く(&Z)", "-", "プロパティ(&P)..."};
    const std::vector<std::string> popUp2 = {"テーマの追加"};
    struct Case {
        QTreeWidgetItem* selected;
        std::vector<std::string> items;
        int filter;
    };
    const Case cases[] = {{mapRoot()->child(0), popUp1, 7}, {tableRoot()->child(0), popUp1, 7},
                          {mapRoot(), popUp2, 1}, {tableRoot(), popUp2, 2}, {nullptr, popUp2, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected ? c.selected->text(0).toStdString() : "none");
        w().AddThemeFilter = 7;
        if (c.selected) select(c.selected);
        else tree().clearSelection();
        ui_.clearRecords();
        ui_.answerPopup(-1);
        // The pointer over the map root: the menu is the selected node's all the same, and a right press
        // selects nothing.
        QTest::mouseClick(vp, Qt::RightButton, {}, centre(mapRoot()));
        ASSERT_EQ(ui_.dialogs().size(), 1u);
        EXPECT_EQ(ui_.dialogs()[0].items, c.items);
        EXPECT_EQ(w().AddThemeFilter, c.filter);
        if (c.selected) {
            EXPECT_TRUE(c.selected->isSelected());
        }
    }
    // The add-theme command of PopUp2 opens the dialog (cancelled here), then resets the filter.
    select(mapRoot());
    ui_.answerPopup(0).answerOpen({});
    QTest::mouseClick(vp, Qt::RightButton, {}, centre(mapRoot()));
    EXPECT_EQ(ui_.dialogs().back().title, "テーマの追加");
    EXPECT_EQ(w().AddThemeFilter, 0);
    // The delete command of PopUp1.
    select(mapRoot()->child(0));
    ui_.answerPopup(0);
    QTest::mouseClick(vp, Qt::RightButton, {}, centre(mapRoot()));
    EXPECT_EQ(mapView().layerCount(), 0);
    EXPECT_EQ(mapRoot()->childCount(), 0);
}

TEST_F(ThemeTree, DeletingRemovesTheSelectedNodeItself) {
    addLayer("a");
    addLayer("b");
    std::filesystem::create_directories(folder_.path() / "data" / "sub");
    const std::string older = tableFile("sub/t.dbf");
    ASSERT_TRUE(w().pMapTool->AddTable(older));
    ASSERT_TRUE(w().pMapTool->AddTable(tableFile("t.dbf")));
    // Two tables named alike: the older one cleared, the newer one deleted.
    toggle(tableRoot()->child(1));
    select(tableRoot()->child(0));
    w().DeleteTheme();
    ASSERT_EQ(tableRoot()->childCount(), 1);
    EXPECT_EQ(nodePath(tableRoot()->child(0)), older);
    EXPECT_FALSE(isChecked(tableRoot()->child(0)));
    EXPECT_FALSE(isChecked(tableRoot()));
    EXPECT_FALSE(isBold(tableRoot()));
    EXPECT_EQ(layerNames(), (QStringList{"b", "a"}));
    // A layer node takes its layer and swatch along; the root's marks follow what is left.
    toggle(mapRoot()->child(1));
    select(mapRoot()->child(1));
    w().DeleteTheme();
    EXPECT_EQ(layerNames(), QStringList{"b"});
    EXPECT_EQ(texts(mapRoot()), QStringList{"b"});
    EXPECT_EQ(w().ImageList4.swatches.count("a"), 0u);
    EXPECT_TRUE(isChecked(mapRoot()));
    select(mapRoot()->child(0));
    w().DeleteTheme();
    EXPECT_EQ(mapView().layerCount(), 0);
    EXPECT_FALSE(isChecked(mapRoot()));
    EXPECT_FALSE(isBold(mapRoot()));
    // Nothing or a root selected: nothing happens.
    select(tableRoot());
    w().DeleteTheme();
    EXPECT_EQ(tableRoot()->childCount(), 1);
    EXPECT_TRUE(ui_.boxes().empty());
}

}  // namespace
