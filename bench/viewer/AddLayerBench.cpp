// clsMapToolControl::AddLayer of a generated nationwide layer of mesh cells (300,000 by default; the first
// argument changes it) in a fresh main window, against the map control's own load of the same file into a
// fresh map (MapLayer(path) and addLayer). Medians of five runs; what AddLayer adds on top is the name,
// the tree's rebuild and the swatch.
#include <QCoreApplication>
#include <QEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/map/MapView.h"
#include "platform/ui/TestApplication.h"
#include "tests/polygon/support/TempFolder.h"
#include "tests/tools/gen/ShapeFileGen.h"
#include "viewer/clsMapToolControl.h"
#include "viewer/frmMapMain.h"

using namespace velmora;

namespace {

constexpr int Runs = 5;

double millis(const std::function<void()>& work) {
    const auto t0 = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const long cells = argc > 1 ? std::atol(argv[1]) : 300000;
    ui::testApplication();
    polygontest::TempFolder dir("bench-viewer");
    const std::string path = datagen::writeMeshCellLayer((dir.path() / "mesh").string(), cells);
    std::printf("adding a layer of %ld third-level mesh cells (.shp %.1f MB), medians of %d runs\n", cells,
                static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0), Runs);

    std::vector<double> addLayer, ownLoad;
    for (int i = 0; i < Runs; ++i) {
        {
            map::MapView map;
            ownLoad.push_back(millis([&] {
                map.addLayer(std::make_shared<map::MapLayer>(path));
                map.refresh();
            }));
        }
        {
            auto window = std::make_unique<frmMapMain>();
            bool added = false;
            addLayer.push_back(millis([&] { added = window->pMapTool->AddLayer(path); }));
            if (!added) {
                std::fprintf(stderr, "AddLayer refused the layer\n");
                return 1;
            }
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const double a = median(addLayer), own = median(ownLoad);
    std::printf("  %-34s %9.2f ms   %-12s %9.2f ms   ratio %5.3f   (goal <= 1.1)\n",
                "clsMapToolControl::AddLayer", a, "map control", own, a / own);
    return 0;
}
