// The viewer's tools on generated nationwide layers, medians of five runs beside ogrinfo run on the same
// files in the same run:
// - an identify click on a layer of 300,000 points whose search finds about 5,000 of them, from the press
//   to the filled identify window, against `ogrinfo -q -al -spat` over the search square;
// - opening the attribute table of the map control's benchmark layer (300,000 mesh cells) until the
//   window is drawn, against `ogrinfo -q -al -geom=NO` over the same .dbf (output discarded); resident
//   growth against the .dbf's size.
#include "platform/map/MapLayer.h"
#include "platform/map/MapView.h"
#include "platform/ui/TestApplication.h"
#include "bench/support/BenchSupport.h"
#include "tests/polygon/support/TempFolder.h"
#include "tests/tools/gen/ShapeFileGen.h"
#include "viewer/MapToolSelection.h"
#include "viewer/TableViewOpening.h"
#include "viewer/clsIdentifyTool.h"
#include "viewer/frmIdentify.h"
#include "viewer/frmTableView.h"

#include <QApplication>
#include <QListWidget>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

using namespace velmora;
using velmora::bench::median;
using velmora::bench::millis;
using namespace velmora::map;
namespace fs = std::filesystem;

namespace {

constexpr int Runs = 5;

double medianMillis(const std::function<void()>& work, int runs = Runs) { return velmora::bench::medianMillis(work, runs); }

double residentMb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double ogrinfo(const QStringList& args) {
    return medianMillis([&] {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start("ogrinfo", args);
        p.waitForFinished(-1);
    });
}

void line(const char* what, double ms, double peer, const char* goal) {
    std::printf("  %-36s %9.2f ms   ogrinfo %9.2f ms   ratio %6.3f   (goal %s)\n", what, ms, peer, ms / peer, goal);
}

struct Selection : viewer::ThemeSelection {
    std::optional<viewer::SelectedTheme> selectedTheme() const override {
        return viewer::SelectedTheme{true, "points", ""};
    }
    QPoint windowTopLeft() const override { return {}; }
};

// 300,000 points over 0..1000 in both directions, 5,000 of them within 2 units of (500, 500).
std::string pointLayer(const std::string& base) {
    datagen::GenShapeFile f;
    f.shpType = 1;
    f.fields = {{"NAME", 'C', 20, 0}, {"ID", 'N', 8, 0}};
    std::mt19937 random(7);
    std::uniform_real_distribution<double> anywhere(0, 1000), angle(0, 6.283185307179586), radius(0, 1.9);
    for (int i = 0; i < 300000; ++i) {
        double x = anywhere(random), y = anywhere(random);
        if (i % 60 == 0) {
            const double a = angle(random), r = radius(random);
            x = 500 + r * std::cos(a);
            y = 500 + r * std::sin(a);
        }
        f.shapes.push_back({{{{x, y}}}});
        f.rows.push_back({"地点" + std::to_string(i + 1), std::to_string(i + 1)});
    }
    return datagen::writeShapeFile(base, f);
}

void identify(const std::string& dir) {
    const std::string path = pointLayer(dir + "/points");
    MapView map;
    map.resize(800, 800);
    map.addLayer(std::make_shared<MapLayer>(path));
    map.setExtent(MapRect(450, 550, 450, 550));  // the search distance is 100 / 50 = 2
    Selection selection;
    viewer::MapToolSelection tools;
    tools.MapControl(&map);
    tools.CurrentTool(std::make_unique<clsIdentifyTool>(selection));
    int found = 0;
    const double ms = medianMillis([&] {
        QTest::mousePress(&map, Qt::LeftButton, {}, QPoint(400, 400));
        QTest::mouseRelease(&map, Qt::LeftButton, {}, QPoint(400, 400));
        found = frmIdentify::instance() ? frmIdentify::instance()->lstRecSet->count() : 0;
    });
    const double peer = ogrinfo({"-q", "-al", "-spat", "498", "498", "502", "502", QString::fromStdString(path)});
    std::printf("identify: 300000 points, %d found\n", found);
    line("click to filled identify window", ms, peer, "<= 200 ms");
    delete frmIdentify::instance();
}

void table(const std::string& dir) {
    const std::string shp = datagen::writeMeshCellLayer(dir + "/mesh", 300000);
    const std::string dbf = shp.substr(0, shp.size() - 3) + "dbf";
    const double dbfMb = static_cast<double>(fs::file_size(dbf)) / (1024.0 * 1024.0);
    const std::string program = dir + "/program";
    fs::create_directories(program);
    std::vector<double> growth;
    const double ms = medianMillis([&] {
        ::malloc_trim(0);
        const double before = residentMb();
        viewer::openTableView(viewer::SelectedTheme{true, "mesh", dbf}, program);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = qobject_cast<frmTableView*>(w)) {
                t->repaint();
                growth.push_back(residentMb() - before);
                t->close();
            }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });
    const double peer = ogrinfo({"-q", "-al", "-geom=NO", QString::fromStdString(dbf)});
    std::printf("attribute table: 300000 rows, .dbf %.1f MB\n", dbfMb);
    line("opening the table window", ms, peer, "ratio <= 0.25");
    std::printf("  resident growth %.1f MB = %.3f x the .dbf   (goal <= 1)\n", median(growth), median(growth) / dbfMb);
}

}  // namespace

int main() {
    ui::testApplication();
    polygontest::TempFolder dir("bench-viewer-tools");
    identify(dir.path().string());
    table(dir.path().string());
    return 0;
}
