// The map control on a generated nationwide layer of mesh cells (300,000 by default; the first argument
// changes it). Medians of five runs, each beside the peer measured in the same run:
// - adding the layer, against `ogrinfo -q -al -geom=SUMMARY` reading the same file; resident growth
//   against the .shp's size;
// - at 800 x 600 and 1600 x 1000: drawing the full extent and views holding about 2 % and 20 % of the
//   cells, against the floor (a plain QPainter loop drawing every polygon with the same symbol into an
//   image of that size); repaint without a change; a shape and a distance search; export at twice the size.
#include "platform/map/MapLayer.h"
#include "platform/map/MapRenderer.h"
#include "platform/map/MapView.h"
#include "platform/map/ShapeData.h"
#include "platform/ui/TestApplication.h"
#include "bench/support/BenchSupport.h"
#include "tests/platform/map/PlainDrawing.h"
#include "tests/polygon/support/TempFolder.h"
#include "tests/tools/gen/ShapeFileGen.h"

#include <QProcess>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

using namespace velmora::map;
using velmora::bench::median;
using velmora::bench::millis;
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

// A view around the layer's middle cell holding about `share` of the cells.
MapRect viewHolding(const MapLayer& layer, double share) {
    const ShapeData& d = layer.shapes();
    const MapPoint c = d.boxes[d.count() / 2].centre();
    const double target = share * static_cast<double>(d.count());
    double lo = 0, hi = 40;
    for (int i = 0; i < 40; ++i) {
        const double half = (lo + hi) / 2;
        const double n = static_cast<double>(d.index.find(MapRect(c.x - half * 1.5, c.x + half * 1.5, c.y - half, c.y + half), d.boxes).size());
        (n < target ? lo : hi) = half;
    }
    return MapRect(c.x - hi * 1.5, c.x + hi * 1.5, c.y - hi, c.y + hi);
}

void line(const char* what, double ms, double peer, const char* peerName, const char* goal) {
    std::printf("  %-34s %9.2f ms   %-10s %9.2f ms   ratio %5.3f   (goal %s)\n", what, ms, peerName, peer, ms / peer, goal);
}

}  // namespace

int main(int argc, char** argv) {
    const long cells = argc > 1 ? std::atol(argv[1]) : 300000;
    velmora::ui::testApplication();
    polygontest::TempFolder dir("bench-map");
    std::printf("map control: %ld third-level mesh cells, medians of %d runs\n", cells, Runs);
    const std::string path = velmora::datagen::writeMeshCellLayer((dir.path() / "mesh").string(), cells);
    const double shpMb = static_cast<double>(fs::file_size(path)) / (1024.0 * 1024.0);

    // Adding the layer: reading every shape and building the index. The generator's memory is handed back
    // first, so that the growth is the layer's own.
    ::malloc_trim(0);
    const double before = residentMb();
    std::shared_ptr<MapLayer> kept;
    const double first = millis([&] { kept = std::make_shared<MapLayer>(path); });
    const double growth = residentMb() - before;
    std::vector<double> loads{first};
    for (int i = 1; i < Runs; ++i) loads.push_back(millis([&] { MapLayer again(path); }));
    const double ogrinfo = medianMillis([&] {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.setStandardErrorFile(QProcess::nullDevice());
        p.start("ogrinfo", {"-q", "-al", "-geom=SUMMARY", QString::fromStdString(path)});
        p.waitForFinished(-1);
    });
    std::printf("adding the layer (.shp %.1f MB)\n", shpMb);
    line("MapLayer(path)", median(loads), ogrinfo, "ogrinfo", "<= 1");
    std::printf("  %-34s %9.1f MB   .shp %.1f MB          ratio %5.3f   (goal <= 1.5)\n", "resident growth", growth,
                shpMb, growth / shpMb);

    const QColor fill = toQColor(kept->symbol().color), outline = toQColor(kept->symbol().outlineColor);
    const auto polygons = maptest::readPolygons(path);
    for (const QSize size : {QSize(800, 600), QSize(1600, 1000)}) {
        MapView map;
        map.resize(size);
        map.addLayer(kept);
        const MapRect full = map.fullExtent();
        const MapRect two = viewHolding(*kept, 0.02), twenty = viewHolding(*kept, 0.20);
        const ShapeData& cellsOf = kept->shapes();
        std::printf("drawing at %d x %d (views of %zu and %zu cells)\n", size.width(), size.height(),
                    cellsOf.index.find(two, cellsOf.boxes).size(), cellsOf.index.find(twenty, cellsOf.boxes).size());
        QImage plain(size, QImage::Format_RGB32);
        auto floorFor = [&](const MapRect& view) {
            map.setExtent(view);
            const Viewport vp = Viewport::fit(map.extent(), size.width(), size.height());
            return medianMillis([&] { maptest::plainDrawing(plain, polygons, vp, fill, outline); });
        };
        auto drawFor = [&](const MapRect& view) {
            map.setExtent(view);
            return medianMillis([&] {
                map.refresh();
                map.grab();
            });
        };
        const double floorFull = floorFor(full);
        line("full extent", drawFor(full), floorFull, "floor", "<= 0.5, < 200 ms");
        line("view of about 2 % of the cells", drawFor(two), floorFor(two), "floor", "<= 0.1");
        line("view of about 20 % of the cells", drawFor(twenty), floorFor(twenty), "floor", "<= 0.4");
        map.setExtent(full);
        map.grab();
        const double repaint = medianMillis([&] { map.grab(); }, 21);
        std::printf("  %-34s %9.2f ms   (goal <= 5 ms)\n", "repaint without change", repaint);
        const MapRect e = map.extent();
        map.setExtent(two);
        const double distance = map.extent().width() / 50;
        std::vector<double> shapeSearch, distanceSearch;
        const ShapeData& d = kept->shapes();
        for (int i = 0; i < 101; ++i) {
            const MapPoint p = d.boxes[(d.count() / 101) * i].centre();
            shapeSearch.push_back(millis([&] { kept->searchShape(p, 12, ""); }));
            distanceSearch.push_back(millis([&] { kept->searchByDistance(p, distance, ""); }));
        }
        std::printf("  %-34s %9.3f ms   (goal <= 1 ms)\n", "search by shape (code 12)", median(shapeSearch));
        std::printf("  %-34s %9.3f ms   (goal <= 1 ms; distance %.4f)\n", "search by distance", median(distanceSearch),
                    distance);
        map.setExtent(e);
        const std::string bmp = (dir.path() / "export.bmp").string();
        const double exportMs = medianMillis([&] { map.exportMap(1, bmp, 2.0); });
        std::printf("  %-34s %9.2f ms   (%lld bytes)\n", "export at 2 x, full extent", exportMs,
                    static_cast<long long>(fs::file_size(bmp)));
        map.clearLayers();
    }
    return 0;
}
