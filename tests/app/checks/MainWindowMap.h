#pragma once
// A main window whose map holds the layer files a test gives it, for the checks that ask the main map.
#include <QCoreApplication>
#include <QEvent>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/TestApplication.h"
#include "viewer/frmMapMain.h"

namespace velmora::testsupport {

class MainWindowMap : public MapLayerFiles {
public:
    MainWindowMap() {
        ui::testApplication();
        window_ = std::make_unique<frmMapMain>();
        window_->LayerFiles = this;
    }
    ~MainWindowMap() override {
        window_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::vector<std::string> layerFiles() const override { return files; }

    std::vector<std::string> files;

private:
    std::unique_ptr<frmMapMain> window_;
};

}  // namespace velmora::testsupport
