#pragma once
// The fixture of the viewer's tests: an own program folder, the scripted user interface and the main
// window shown on Qt's offscreen platform, with generated shapefiles to add as layers.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <string>

#include "platform/map/MapView.h"
#include "platform/ui/TestApplication.h"
#include "platform/ui/TestUi.h"
#include "tests/convert/core/TempProgramFolder.h"
#include "tests/tools/gen/ShapeFileGen.h"
#include "viewer/ThemeTree.h"
#include "viewer/clsMapToolControl.h"
#include "viewer/frmMapMain.h"

namespace velmora::testsupport {

class ViewerTest : public ::testing::Test {
protected:
    ViewerTest() {
        ui::testApplication();
        std::filesystem::create_directories(folder_.path() / "data");
        window_ = new frmMapMain;
        window_->show();
        QCoreApplication::processEvents();
    }
    ~ViewerTest() override {
        delete window_;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    frmMapMain& w() { return *window_; }
    QTreeWidget& tree() { return *window_->tvwThemeList; }
    map::MapView& mapView() { return *window_->MainMap; }

    std::string data(const std::string& name) const { return (folder_.path() / "data" / name).string(); }
    // A shapefile data/<name>.shp: shpType 1 point, 3 line, 5 polygon, around (139.7, 35.65).
    std::string layerFile(const std::string& name, int shpType = 5) const {
        datagen::GenShapeFile f;
        f.shpType = shpType;
        if (shpType == 1) f.shapes = {{{{{139.70, 35.65}}}}, {{{{139.75, 35.70}}}}};
        else if (shpType == 3) f.shapes = {{{{{139.6, 35.6}, {139.8, 35.7}}}}};
        else f.shapes = {{{datagen::rectangleRing(139.6, 35.6, 139.8, 35.7)}}};
        return datagen::writeShapeFile(data(name), f);
    }
    std::string tableFile(const std::string& name) const {
        const std::string path = data(name);
        TempProgramFolder::write(path, "table");
        return path;
    }
    // Adds a layer from data/<name>.shp through the map tool.
    void addLayer(const std::string& name, int shpType = 5) { ASSERT_TRUE(w().pMapTool->AddLayer(layerFile(name, shpType))); }

    QTreeWidgetItem* mapRoot() { return viewer::root(&tree(), viewer::kMapRootKey); }
    QTreeWidgetItem* tableRoot() { return viewer::root(&tree(), viewer::kTableRootKey); }
    QStringList texts(QTreeWidgetItem* root) {
        QStringList t;
        for (int i = 0; i < root->childCount(); ++i) t << root->child(i)->text(0);
        return t;
    }
    QStringList layerNames() {
        QStringList names;
        for (int i = 0; i < mapView().layerCount(); ++i) names << QString::fromStdString(mapView().layer(i)->name());
        return names;
    }
    // The centre of a node's row, in the tree viewport's coordinates.
    QPoint centre(QTreeWidgetItem* node) { return tree().visualItemRect(node).center(); }
    void select(QTreeWidgetItem* node) {
        tree().setCurrentItem(node);
        node->setSelected(true);
    }

    TempProgramFolder folder_;
    ui::TestUi ui_;
    frmMapMain* window_ = nullptr;
};

}  // namespace velmora::testsupport
