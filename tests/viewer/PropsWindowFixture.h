#pragma once
// The main window fixture of the property tests: a solid fill layer, its node selected, and a modal run of
// the property dialog that picks a new colour and confirms.
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "platform/map/MapLayer.h"
#include "tests/viewer/ViewerTest.h"
#include "viewer/frmProp.h"

namespace velmora::testsupport {

class PropsWindowTest : public ViewerTest {
protected:
    // Layer "area" drawn solid and filling the view, its node selected.
    std::shared_ptr<map::MapLayer> solidAreaSelected() {
        addLayer("area");
        auto layer = mapView().layer(0);
        map::Symbol s = layer->symbol();
        s.style = map::symbol::FillSolid;
        layer->setSymbol(s);
        mapView().setExtent(layer->extent());
        select(mapRoot()->child(0));
        return layer;
    }
    // The next modal run of the property dialog: shown, its colour swatch clicked (the colour dialog
    // answers `rrggbb`), OK.
    void answerNewColour(unsigned rrggbb) {
        ui_.answerModal([](QDialog& d) {
            auto& dialog = dynamic_cast<frmProp&>(d);
            dialog.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
            QTest::mouseClick(dialog.picCol[0], Qt::LeftButton);
            QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
            dialog.hide();
            return dialog.result();
        });
        ui_.answerColour(rrggbb);
    }
};

}  // namespace velmora::testsupport
