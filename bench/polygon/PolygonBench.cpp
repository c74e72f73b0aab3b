// The polygon makers on nationwide-scale generated area files: reading, building and saving, median of
// three rounds per item. bench_polygon [cols rows vertices]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "polygon/core/KsPolygonMaker.h"
#include "tests/tools/gen/AreaFileGen.h"

using namespace ostrand;
namespace gen = velmora::datagen;
using Clock = std::chrono::steady_clock;

namespace {

double ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void bench(const char* what, const gen::AreaGenOptions& o, const char* meshes, const std::filesystem::path& dir) {
    const gen::AreaGenResult files = gen::generate_area_files((dir / "area").string(), o);
    std::vector<double> read, build, save;
    int made = 0;
    for (int round = 0; round < 3; ++round) {
        std::vector<std::string> log;
        const LayerRecord layer = *find_layer_record(o.data_id);
        std::unique_ptr<KsPolygonMaker> maker;
        if (o.data_id == 3 || o.data_id == 4) maker = std::make_unique<KsPolygonMakerRural>(layer, meshes, &log);
        else maker = std::make_unique<KsPolygonMakerRepair>(layer, meshes, &log);
        const auto t0 = Clock::now();
        for (const std::string& f : files.files) maker->open(f);
        const auto t1 = Clock::now();
        PolygonStats stats;
        maker->build(&stats);
        const auto t2 = Clock::now();
        maker->save_shape((dir / "out.shp").string());
        maker->save_dbf((dir / "out.shp").string());
        const auto t3 = Clock::now();
        read.push_back(ms(t0, t1));
        build.push_back(ms(t1, t2));
        save.push_back(ms(t2, t3));
        made = stats.made;
    }
    std::printf("%-34s links %7lld vertices %8lld made %6d: read %7.0f ms, build %7.0f ms, save %6.0f ms\n", what,
                files.links, files.vertices, made, median(read), median(build), median(save));
}

}  // namespace

int main(int argc, char** argv) {
    gen::AreaGenOptions o;
    o.cols = argc > 1 ? std::atoi(argv[1]) : 300;
    o.rows = argc > 2 ? std::atoi(argv[2]) : 300;
    o.vertices_per_link = argc > 3 ? std::atoi(argv[3]) : 20;
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "velmora-bench-polygon";
    std::filesystem::create_directories(dir);

    o.data_id = 4;
    o.islands = true;
    bench("forest, islands nested", o, "", dir);
    o.islands = false;
    o.data_id = 9;
    o.files = 4;
    o.gap_links = 200;
    o.gap_degrees = 5e-4;
    bench("lakes, 4 files, 200 gaps repaired", o, "", dir);
    bench("lakes, two meshes selected", o, "533920,533921", dir);
    std::filesystem::remove_all(dir);
}
