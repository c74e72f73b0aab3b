// The add-theme dialog and the map capture on a generated nationwide layer of mesh cells (300,000 by
// default; the first argument changes it). Medians of five runs:
// - three copies of the layer chosen in one add-theme dialog (scripted), against three loads of the
//   same file by the map control (MapLayer + addLayer) in the same run; goal ≤ 1.1 ×;
// - the capture at 2.0 of an 800 x 600 map showing the whole layer; goal ≤ 1 s.
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/map/MapLayer.h"
#include "platform/map/MapView.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/TestApplication.h"
#include "bench/support/BenchSupport.h"
#include "tests/polygon/support/TempFolder.h"
#include "tests/tools/gen/ShapeFileGen.h"
#include "tests/viewer/PropFixtures.h"
#include "viewer/AddThemeDialog.h"
#include "viewer/MapExport.h"

using namespace velmora;
using velmora::bench::median;
using velmora::bench::millis;

namespace {

constexpr int Runs = 5;

}  // namespace

int main(int argc, char** argv) {
    ui::testApplication();
    const long cells = argc > 1 ? std::stol(argv[1]) : 300000;
    polygontest::TempFolder dir("bench-viewer-props");
    const std::string shp = datagen::writeMeshCellLayer(dir.file("mesh"), cells);
    std::printf("nationwide layer: %ld cells, %.1f MB .shp\n", cells,
                std::filesystem::file_size(shp) / (1024.0 * 1024.0));

    ui::ScriptedUi scripted;
    scripted.install();
    std::vector<double> dialog, plain;
    for (int run = 0; run < Runs; ++run) {
        {
            viewer::TestWindow w;
            w.view.resize(800, 600);
            plain.push_back(millis([&] {
                for (int i = 0; i < 3; ++i) w.view.addLayer(std::make_shared<map::MapLayer>(shp));
            }));
        }
        {
            viewer::TestWindow w;
            w.view.resize(800, 600);
            std::string last;
            scripted.answerOpen({shp, shp, shp});
            dialog.push_back(millis([&] { viewer::AddLayer_DialogShow(w, 0, last); }));
            if (w.view.layerCount() != 3 || w.nodes.size() != 3) std::printf("dialog added %d layers!\n", w.view.layerCount());
        }
    }
    const double d = median(dialog), p = median(plain);
    std::printf("three copies in one dialog: %.0f ms; three loads by the map: %.0f ms; ratio %.2f (goal <= 1.10)\n",
                d, p, d / p);

    viewer::TestWindow w;
    w.view.resize(800, 600);
    w.view.addLayer(std::make_shared<map::MapLayer>(shp));
    w.view.setExtent(w.view.fullExtent());
    const std::string bmp = dir.file("map.bmp");
    std::vector<double> exports;
    std::string last;
    for (int run = 0; run < Runs; ++run) {
        scripted.answerSave(bmp);
        exports.push_back(millis([&] { viewer::ExportMapImage(w.view, 1, last, "/"); }));
    }
    const QImage written(QString::fromStdString(bmp));
    std::printf("capture at 2.0 of an 800 x 600 map: %.0f ms, %d x %d (goal <= 1000 ms)\n", median(exports),
                written.width(), written.height());
    return 0;
}
