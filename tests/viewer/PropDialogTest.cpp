// The layer property dialog driven as a user drives it: opened for the selected node through the scripted
// modal run, its tabs read, options clicked, colours chosen, the size typed and pasted, OK or Cancel.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <fstream>

#include "brunhale/ProjectionFile.h"
#include "platform/map/MapLayer.h"
#include "platform/ui/TestUi.h"
#include "tests/viewer/PropFixtures.h"
#include "viewer/LayerPropDialog.h"
#include "viewer/frmProp.h"

using namespace velmora;
using namespace velmora::viewer;
using polygontest::TempFolder;
using Kind = SelectedNode::Kind;

namespace {

struct PropDialogTest : ::testing::Test {
    TempFolder dir{"props-dialog"};
    TestWindow window;
    ui::TestUi ui;

    std::shared_ptr<map::MapLayer> addLayer(const std::string& shp, const map::Symbol& symbol) {
        auto layer = std::make_shared<map::MapLayer>(shp);
        layer->setSymbol(symbol);
        window.view.addLayer(layer);
        window.selected = {Kind::Layer, layer->name(), ""};
        return layer;
    }

    // Opens the dialog; `drive` looks at it shown and ends it; `then` scripts what comes up meanwhile.
    void open(bool symbolOnly, std::function<void(frmProp&)> drive, std::function<void()> then = {}) {
        ui.answerModal([drive](QDialog& d) {
            auto& dialog = dynamic_cast<frmProp&>(d);
            dialog.show();
            drive(dialog);
            const int result = dialog.result();
            dialog.hide();
            return result;
        });
        if (then) then();
        ShowLayerPropDialog(window, symbolOnly);
    }

    static map::Symbol fill() {
        map::Symbol s;
        s.type = map::symbol::Fill;
        s.style = map::symbol::FillCross;
        s.color = 0x0000FF;
        s.outlineColor = 0x00FF00;
        s.size = 2.5;
        return s;
    }
};

std::vector<std::vector<std::string>> rowsOf(QTreeWidget* list) {
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        std::vector<std::string> row;
        for (int c = 0; c < 5; ++c) row.push_back(list->topLevelItem(i)->text(c).toStdString());
        rows.push_back(row);
    }
    return rows;
}

TEST_F(PropDialogTest, FromTheMenuAFillLayerShowsAllTabsAndOkAppliesStyleColoursAndWidth) {
    const std::string shp = writePolygonLayer(dir, "area", false, 0, 0, 100, 100);
    std::ofstream(dir.file("area.prj"), std::ios::binary) << brunhale::projectionWkt(0);
    auto layer = addLayer(shp, fill());
    window.view.setExtent(map::MapRect(0, 100, 0, 100));
    const map::Symbol before = layer->symbol();
    open(false, [&](frmProp& d) {
        EXPECT_EQ(d.windowTitle().toStdString(), "レイヤプロパティ");
        EXPECT_EQ(d.sstProperty->currentIndex(), 0);
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(d.sstProperty->isTabEnabled(i)) << i;
        EXPECT_EQ(d.lblSource->text().toStdString(),
                  "\r\nデータタイプ：シェープファイルフィーチャクラス\r\nデータソース：" + shp +
                      "\r\nジオメトリタイプ：ポリゴン\r\n\r\n\r\n座標系：GCS_Tokyo\r\n測地基準系：D_Tokyo");
        EXPECT_EQ(rowsOf(d.lvwField), (std::vector<std::vector<std::string>>{{"NAME", "String", "10", "10", "0"}}));
        EXPECT_FALSE(d.picSymbol[0]->isVisible());
        EXPECT_FALSE(d.picSymbol[1]->isVisible());
        d.sstProperty->setCurrentIndex(2);
        EXPECT_TRUE(d.picSymbol[2]->isVisible());
        EXPECT_TRUE(d.optASymType[map::symbol::FillCross]->isChecked());
        EXPECT_EQ(d.optASymType[8]->text().toStdString(), "網掛　淡");
        EXPECT_EQ(d.swatchColour(0), 0x0000FFu);
        EXPECT_EQ(d.swatchColour(1), 0x00FF00u);
        EXPECT_EQ(d.txtSize->text().toStdString(), "2");  // 2.5 rounds to the even 2
        EXPECT_EQ(d.lblCaution->text().toStdString(), "※アウトライン幅「0」はデフォルトの線幅で表示されます");
        EXPECT_TRUE(d.picCol[1]->isVisible());
        EXPECT_EQ(d.lblOpt[2]->text().toStdString(), "アウトライン幅：");
        QTest::mouseClick(d.optASymType[0], Qt::LeftButton);
        QTest::mouseClick(d.picCol[0], Qt::LeftButton);
        QTest::mouseClick(d.picCol[1], Qt::LeftButton);
        d.txtSize->selectAll();
        QTest::keyClicks(d.txtSize, "3");
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    }, [&] { ui.answerColour(0x336699).answerColour(0xFFFF00); });
    map::Symbol expected = before;
    expected.style = 0;
    expected.color = map::colourFromRgb(0x336699);
    expected.outlineColor = map::colourFromRgb(0xFFFF00);
    expected.size = 3;
    EXPECT_EQ(layer->symbol(), expected);
    EXPECT_EQ(window.renewed, (std::vector<std::tuple<std::string, int, int>>{{"area", 50, 50}}));
    const QImage drawn = window.view.grab().toImage();
    EXPECT_EQ(drawn.pixel(200, 150) & 0xFFFFFF, 0x336699u);
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(PropDialogTest, ALineLayerOffersSizeWithoutOutlineAndOkKeepsTheOutlineColour) {
    map::Symbol line;
    line.type = map::symbol::Line;
    line.style = map::symbol::Dot;
    line.color = 0x102030;
    line.outlineColor = 0x445566;
    line.size = 1;
    auto layer = addLayer(writeLineLayer(dir, "rail"), line);
    open(false, [&](frmProp& d) {
        d.sstProperty->setCurrentIndex(2);
        EXPECT_TRUE(d.picSymbol[1]->isVisible());
        EXPECT_FALSE(d.picSymbol[2]->isVisible());
        EXPECT_TRUE(d.optLSymType[map::symbol::Dot]->isChecked());
        EXPECT_FALSE(d.picCol[1]->isVisible());
        EXPECT_FALSE(d.lblOpt[1]->isVisible());
        EXPECT_EQ(d.lblOpt[2]->text().toStdString(), "サイズ：");
        EXPECT_EQ(d.lblOpt[2]->y(), d.lblOpt[1]->y());
        EXPECT_LT(d.txtSize->y(), d.lblOpt[2]->y());
        EXPECT_TRUE(d.lblCaution->isVisible());
        EXPECT_EQ(d.lblCaution->text().toStdString(), "※サイズ「0」はデフォルトの線幅で表示されます");
        QTest::mouseClick(d.optLSymType[4], Qt::LeftButton);
        QTest::mouseClick(d.picCol[0], Qt::LeftButton);
        d.txtSize->selectAll();
        QTest::keyClicks(d.txtSize, "0");
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    }, [&] { ui.answerColour(0x00FF00); });
    map::Symbol expected = line;
    expected.style = 4;
    expected.color = map::colourFromRgb(0x00FF00);
    expected.size = 0;
    EXPECT_EQ(layer->symbol(), expected);
}

TEST_F(PropDialogTest, DoubleClickShowsTheSymbolTabOnly) {
    const std::string shp = writePolygonLayer(dir, "area");
    addLayer(shp, fill());
    open(true, [&](frmProp& d) {
        EXPECT_FALSE(d.sstProperty->isTabEnabled(0));
        EXPECT_FALSE(d.sstProperty->isTabEnabled(1));
        EXPECT_TRUE(d.sstProperty->isTabEnabled(2));
        EXPECT_EQ(d.sstProperty->currentIndex(), 2);
        EXPECT_TRUE(d.lblSource->text().isEmpty());
        EXPECT_EQ(d.lvwField->topLevelItemCount(), 0);
        EXPECT_TRUE(d.picSymbol[2]->isVisible());
        QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
    });
}

TEST_F(PropDialogTest, ATableNodeShowsSourceAndFieldsAndOkChangesNothing) {
    const std::string shp = writePolygonLayer(dir, "area");
    auto layer = addLayer(shp, fill());
    const std::string table = dir.file("台帳.dbf");
    writeDbfHeader(table, {{"CODE", 'N', 5, 0}, {"VALUE", 'N', 9, 2}});
    window.selected = {Kind::Table, "台帳.dbf", table};
    open(true, [&](frmProp& d) {
        EXPECT_TRUE(d.sstProperty->isTabEnabled(0));
        EXPECT_TRUE(d.sstProperty->isTabEnabled(1));
        EXPECT_FALSE(d.sstProperty->isTabEnabled(2));
        EXPECT_EQ(d.sstProperty->currentIndex(), 0);
        EXPECT_EQ(d.lblSource->text().toStdString(), "\r\nデータタイプ：属性テーブル\r\nデータソース：" + table);
        EXPECT_EQ(rowsOf(d.lvwField), (std::vector<std::vector<std::string>>{{"CODE", "Long", "5", "5", "0"},
                                                                              {"VALUE", "Double", "9", "9", "2"}}));
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    });
    EXPECT_EQ(layer->symbol(), fill());
    EXPECT_TRUE(window.renewed.empty());
}

TEST_F(PropDialogTest, CancelAndTheWindowFrameChangeNothing) {
    auto layer = addLayer(writePolygonLayer(dir, "area"), fill());
    open(false, [&](frmProp& d) {
        QTest::mouseClick(d.picCol[0], Qt::LeftButton);
        QTest::mouseClick(d.optASymType[3], Qt::LeftButton);
        QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
    }, [&] { ui.answerColour(0x123456); });
    open(false, [&](frmProp& d) {
        QTest::mouseClick(d.optASymType[3], Qt::LeftButton);
        d.close();
    });
    EXPECT_EQ(layer->symbol(), fill());
    EXPECT_TRUE(window.renewed.empty());
    // A cancelled colour dialog keeps the swatch.
    open(false, [&](frmProp& d) {
        QTest::mouseClick(d.picCol[0], Qt::LeftButton);
        EXPECT_EQ(d.swatchColour(0), 0x0000FFu);
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    }, [&] { ui.answerColour(std::nullopt); });
    map::Symbol sizeShown = fill();
    sizeShown.size = 2;  // OK takes the size as the box shows it
    EXPECT_EQ(layer->symbol(), sizeShown);
}

TEST_F(PropDialogTest, SizeBoxTakesDigitsOnlyTypedOrPasted) {
    auto layer = addLayer(writePolygonLayer(dir, "area"), fill());
    open(false, [&](frmProp& d) {
        d.sstProperty->setCurrentIndex(2);
        d.txtSize->setFocus();
        d.txtSize->selectAll();
        QTest::keyClicks(d.txtSize, "1a-2.");
        EXPECT_EQ(d.txtSize->text().toStdString(), "12");
        QTest::keyClick(d.txtSize, Qt::Key_Backspace);
        EXPECT_EQ(d.txtSize->text().toStdString(), "1");
        QApplication::clipboard()->setText("x4y５5");
        d.txtSize->paste();
        EXPECT_EQ(d.txtSize->text().toStdString(), "145");
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    });
    EXPECT_EQ(layer->symbol().size, 145);
}

TEST_F(PropDialogTest, FailuresShowTheirBoxesAndKeepWhatWasShown) {
    const std::string shp = writePolygonLayer(dir, "area");
    std::ofstream(dir.file("area.prj"), std::ios::binary) << "PROJCS[\"unclosed";
    addLayer(shp, fill());
    open(false, [&](frmProp& d) {
        EXPECT_TRUE(d.lblSource->text().isEmpty());
        QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
    }, [&] { ui.answer(ui::Answer::Ok); });
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].title, "Error: frmProp (getDataSource)");
    EXPECT_EQ(ui.boxes()[0].text, "5 プロシージャの呼び出し、または引数が不正です。");
    EXPECT_EQ(ui.boxes()[0].icon, ui::Icon::Critical);

    ui.clearRecords();
    const std::string table = dir.file("cut.dbf");
    writeDbfHeader(table, {{"A", 'C', 4, 0}}, 10);
    window.selected = {Kind::Table, "cut.dbf", table};
    open(false, [&](frmProp& d) {
        EXPECT_EQ(rowsOf(d.lvwField), (std::vector<std::vector<std::string>>{{"A", "String", "4", "4", "0"}}));
        EXPECT_FALSE(d.lblSource->text().isEmpty());
        QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
    }, [&] { ui.answer(ui::Answer::Ok); });
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].title, "Error: frmProp (getTableDesc)");

    ui.clearRecords();
    map::Symbol character;
    character.type = map::symbol::Marker;
    character.style = map::symbol::FontCharacter;
    datagen::GenShapeFile points;
    points.shpType = SHPT_POINT;
    points.shapes = {{{{{1, 1}}}}};
    points.dbf = false;
    addLayer(datagen::writeShapeFile(dir.file("pts"), points), character);
    open(false, [&](frmProp& d) { QTest::mouseClick(d.cmdCancel, Qt::LeftButton); }, [&] { ui.answer(ui::Answer::Ok); });
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].title, "Error: frmProp (Form_Activate)");
}

// The size box of a marker shows the size the map draws it at: the default size for a symbol of size 0, so
// that OK without a change leaves the marker as it was drawn.
TEST_F(PropDialogTest, AMarkerShowsTheSizeTheMapDraws) {
    datagen::GenShapeFile points;
    points.shpType = SHPT_POINT;
    points.shapes = {{{{{50, 50}}}}};
    points.dbf = false;
    const std::string shp = datagen::writeShapeFile(dir.file("pts"), points);
    for (double size : {0.0, 12.0}) {
        SCOPED_TRACE(size);
        window.view.clearLayers();
        map::Symbol marker;
        marker.type = map::symbol::Marker;
        marker.style = map::symbol::Square;
        marker.color = 0x0000FF;
        marker.size = size;
        auto layer = addLayer(shp, marker);
        window.view.setExtent(map::MapRect(0, 100, 0, 100));
        QCoreApplication::processEvents();
        const QImage before = window.view.grab().toImage();
        open(true, [&](frmProp& d) {
            EXPECT_TRUE(d.optPSymType[map::symbol::Square]->isChecked());
            EXPECT_EQ(d.lblOpt[2]->text().toStdString(), "サイズ：");
            EXPECT_EQ(d.txtSize->text().toStdString(), size == 0 ? "7" : "12");
            QTest::mouseClick(d.cmdOK, Qt::LeftButton);
        });
        EXPECT_EQ(layer->symbol().size, size == 0 ? 7 : 12);
        QCoreApplication::processEvents();
        EXPECT_EQ(window.view.grab().toImage(), before);
    }
}

TEST_F(PropDialogTest, NothingOpensWithoutANodeOrForARoot) {
    addLayer(writePolygonLayer(dir, "area"), fill());
    for (Kind k : {Kind::None, Kind::Root}) {
        window.selected = {k, "地図データ", ""};
        ShowLayerPropDialog(window, false);
    }
    EXPECT_TRUE(ui.dialogs().empty());
    window.selected = {Kind::Layer, "gone", ""};
    ui.answer(ui::Answer::Ok);
    ShowLayerPropDialog(window, false);
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.boxes()[0].title, "Error: frmMapMain (ShowLayerPropDialog)");
}

}  // namespace
