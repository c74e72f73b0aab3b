// The add-theme dialog, the map capture and the property dialog reached as a user reaches them on the
// main window: the file menu, the file band, the tree's pop-up menus and its double-click.
#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

#include "convert/core/ConversionState.h"
#include "platform/map/MapLayer.h"
#include "tests/viewer/PropsWindowFixture.h"
#include "viewer/ToolBand.h"
#include "viewer/frmProp.h"

using namespace velmora;
using velmora::testsupport::PropsWindowTest;

namespace {

class PropsMainWindow : public PropsWindowTest {
protected:
    // data/<name>.shp: one square left..right x bottom..top.
    std::string square(const std::string& name, double left, double bottom, double right, double top) {
        datagen::GenShapeFile f;
        f.shpType = 5;
        f.shapes = {{{datagen::rectangleRing(left, bottom, right, top)}}};
        f.fields = {{"NAME", 'C', 8, 0}};
        f.rows = {{"x"}};
        return datagen::writeShapeFile(data(name), f);
    }
    void rightClickTree() { QTest::mouseClick(tree().viewport(), Qt::RightButton, {}, centre(mapRoot())); }
    QRgb iconPixel(QTreeWidgetItem* node) { return node->icon(0).pixmap(16, 16).toImage().pixel(8, 8) & 0xFFFFFF; }
    QRgb mapCentre() {
        const QImage drawn = mapView().grab().toImage();
        return drawn.pixel(drawn.width() / 2, drawn.height() / 2) & 0xFFFFFF;
    }
};

TEST_F(PropsMainWindow, FileMenuAddsThreeShapefilesAndATableWithTheMargin) {
    const std::string a = square("a", 130, 30, 134, 33);
    const std::string b = square("b", 135, 34, 140, 40);
    const std::string c = square("c", 132, 31, 133, 32);
    const std::string t = tableFile("ledger.dbf");
    ui_.answerOpen({a, b, t, c});
    w().mnuFile1[1]->trigger();
    EXPECT_EQ(ui_.dialogs().at(0).request.folder, programFolder());
    EXPECT_EQ(layerNames(), (QStringList{"c", "b", "a"}));
    EXPECT_EQ(texts(mapRoot()), (QStringList{"c", "b", "a"}));
    EXPECT_EQ(texts(tableRoot()), (QStringList{"ledger.dbf"}));
    const map::MapRect full = mapView().fullExtent();
    EXPECT_DOUBLE_EQ(full.left, 129.5);
    EXPECT_DOUBLE_EQ(full.right, 140.5);
    EXPECT_DOUBLE_EQ(full.bottom, 29.5);
    EXPECT_DOUBLE_EQ(full.top, 40.5);
    const map::MapRect shown = mapView().extent();
    EXPECT_NEAR(shown.centre().x, 135, 1e-9);
    EXPECT_NEAR(shown.centre().y, 35, 1e-9);
    EXPECT_TRUE(shown.width() >= 11 - 1e-9 && shown.height() >= 11 - 1e-9);
    EXPECT_TRUE(std::abs(shown.width() - 11) < 1e-9 || std::abs(shown.height() - 11) < 1e-9);
    // The next dialog opens in the folder of the last file.
    ui_.answerOpen({});
    QTest::mouseClick(w().tbrFunc[0]->button(1), Qt::LeftButton);
    EXPECT_EQ(ui_.dialogs().at(1).request.folder, (folder_.path() / "data").string());
    EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(PropsMainWindow, TablesComeFirstAfterTheTableRootsPopUpEvenWhenDismissed) {
    select(tableRoot());
    ui_.answerPopup(-1);
    rightClickTree();
    ASSERT_EQ(w().AddThemeFilter, 2);
    ui_.answerOpen({});
    w().mnuFile1[1]->trigger();
    ui_.answerOpen({});
    QTest::mouseClick(w().tbrFunc[0]->button(1), Qt::LeftButton);
    for (int i : {1, 2}) EXPECT_EQ(ui_.dialogs().at(i).request.filter, "属性 ファイル (*.dbf);;シェープ ファイル (*.shp)");
    // Chosen from the pop-up, the dialog still offers the tables first; the filter is reset afterwards.
    ui_.answerPopup(0).answerOpen({});
    rightClickTree();
    EXPECT_EQ(ui_.dialogs().back().request.filter, "属性 ファイル (*.dbf);;シェープ ファイル (*.shp)");
    EXPECT_EQ(w().AddThemeFilter, 0);
    ui_.answerOpen({});
    w().mnuFile1[1]->trigger();
    EXPECT_EQ(ui_.dialogs().back().request.filter, "シェープ ファイル (*.shp);;属性 ファイル (*.dbf)");
}

TEST_F(PropsMainWindow, PropertiesFromThePopUpChangeTheFillAndTheTreeIcon) {
    auto layer = solidAreaSelected();
    ui_.answerPopup(4);
    answerNewColour(0x20C040);
    rightClickTree();
    EXPECT_EQ(layer->symbol().color, map::colourFromRgb(0x20C040));
    EXPECT_EQ(iconPixel(mapRoot()->child(0)), 0x20C040u);
    EXPECT_EQ(mapCentre(), 0x20C040u);
    EXPECT_TRUE(viewer::isChecked(mapRoot()->child(0)));
    EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(PropsMainWindow, DoubleClickOpensTheSymbolTabOnlyAndATableNodeChangesNothing) {
    addLayer("area");
    ASSERT_TRUE(w().pMapTool->AddTable(tableFile("t.dbf")));
    const map::Symbol before = mapView().layer(0)->symbol();
    ui_.answerModal([](QDialog& d) {
        auto& dialog = dynamic_cast<frmProp&>(d);
        dialog.show();
        EXPECT_FALSE(dialog.sstProperty->isTabEnabled(0));
        EXPECT_EQ(dialog.sstProperty->currentIndex(), 2);
        QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
        return dialog.result();
    });
    QTreeWidgetItem* layerNode = mapRoot()->child(0);
    select(layerNode);
    QTest::mouseDClick(tree().viewport(), Qt::LeftButton, {}, centre(layerNode));
    EXPECT_EQ(ui_.dialogs().size(), 1u);

    select(tableRoot()->child(0));
    ui_.answerPopup(4).answerModal([&](QDialog& d) {
        auto& dialog = dynamic_cast<frmProp&>(d);
        dialog.show();
        EXPECT_FALSE(dialog.sstProperty->isTabEnabled(2));
        EXPECT_EQ(dialog.lblSource->text().toStdString(),
                  "\r\nデータタイプ：属性テーブル\r\nデータソース：" + data("t.dbf"));
        QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        return dialog.result();
    });
    // The table's file holds no dBASE header: its field list shows the failure box.
    ui_.answer(ui::Answer::Ok);
    rightClickTree();
    EXPECT_EQ(mapView().layer(0)->symbol(), before);
    ASSERT_EQ(ui_.boxes().size(), 1u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: frmProp (getTableDesc)");
}

TEST_F(PropsMainWindow, CaptureFromTheMenuAndTheBand) {
    addLayer("area");
    const std::string bmp = data("map.bmp");
    ui_.answerSave(bmp);
    w().mnuFile1[4]->trigger();
    const QImage written(QString::fromStdString(bmp));
    EXPECT_EQ(written.size(), mapView().size() * 2);
    EXPECT_EQ(w().LastExportPath, bmp);
    EXPECT_EQ(ui_.dialogs().at(0).request.folder, programFolder());
    ui_.answerSave(std::nullopt);
    QTest::mouseClick(w().tbrFunc[0]->button(3), Qt::LeftButton);
    EXPECT_EQ(ui_.dialogs().at(1).request.folder, bmp);
    EXPECT_TRUE(ui_.boxes().empty());

    // A place nobody may write to: the box of the command that was used, nothing written.
    const std::string nowhere = ::geteuid() == 0 ? "/proc/velmora-capture.bmp" : "/velmora-capture.bmp";
    ui_.answerSave(nowhere).answer(ui::Answer::Ok);
    w().mnuFile1[4]->trigger();
    ui_.answerSave(nowhere).answer(ui::Answer::Ok);
    QTest::mouseClick(w().tbrFunc[0]->button(3), Qt::LeftButton);
    ASSERT_EQ(ui_.boxes().size(), 2u);
    EXPECT_EQ(ui_.boxes()[0].title, "Error: frmMapMain (mnuFile1_Click)");
    EXPECT_EQ(ui_.boxes()[1].title, "Error: frmMapMain (tbrFunc_ButtonClick)");
    EXPECT_EQ(ui_.boxes()[0].text.substr(0, 3), "75 ");
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}

}  // namespace
