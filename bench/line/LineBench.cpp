// Line conversion benchmark: a generated road file of 200,000 links with 8 vertices each, and a railway
// file of 30,000 lines (over 60,000 links) with 10,000 stations, each converted as a job would: database,
// load, writers, Brunhale. Link serial numbers start again in every mesh, as in the data set's files. Runs
// at three sizes (×1, ×4 and ×16, ×16 being the counts above) and prints the median time and MB/s of input
// of each phase over the runs, and per item the time per MB at ×16 over that at ×1 (1 for a linear cost).
// The ratios to ogr2ogr are bench_pipeline's.
//
//   bench_line [--runs N] [--scale F]     (F scales every count, for a quick look)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/support/BenchSupport.h"
#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "convert/core/ProgramRunner.h"
#include "convert/line/LineDb.h"
#include "convert/line/LineLoader.h"
#include "convert/line/LineWriters.h"
#include "convert/line/RoadLinkWriter.h"
#include "convert/line/StationWriters.h"
#include "platform/db/Database.h"
#include "platform/text/Cp932.h"
#include "platform/ui/ScriptedUi.h"
#include "tests/tools/gen/LineFileGen.h"

namespace fs = std::filesystem;
using namespace velmora;
using velmora::bench::Clock;
using velmora::bench::median;
using velmora::bench::seconds;

namespace {

struct Phases {
    std::vector<double> load, write, brunhale;
};

// The writers run a stand-in that moves the pair aside, so that writing is timed alone; the real Brunhale
// then converts each moved pair in a folder of its own, timed on its own.
double runRealBrunhale(const fs::path& program) {
    double total = 0;
    std::vector<fs::path> pairs;
    for (const auto& e : fs::directory_iterator(program / "pairs")) pairs.push_back(e.path());
    std::sort(pairs.begin(), pairs.end());
    for (const fs::path& pair : pairs) {
        fs::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/Brunhale", pair / "Brunhale");
        const auto t0 = Clock::now();
        const int code = modCommon::RunProcessWait((pair / "Brunhale").string(), 1, -1);
        total += seconds(t0, Clock::now());
        if (code != 0) std::fprintf(stderr, "Brunhale failed with %d on %s\n", code, pair.c_str());
    }
    return total;
}

bool convert(const fs::path& program, int row, const std::string& input, bool stations, Phases& phases) {
    ConversionState& s = conversionState();
    s.SelectedIndex = static_cast<std::int16_t>(row);
    s.LinkIdxCounter = {0, 0};
    fs::remove_all(program / "pairs");
    fs::create_directory(program / "pairs");

    const auto t0 = Clock::now();
    if (!ModLine::MakeLineDb()) return false;
    db::Database database = db::Database::open(ModLine::LineDbPath());
    if (!ModLine::SetLineTextToTbl(database, input)) return false;
    const auto t1 = Clock::now();
    bool ok = false;
    if (row == ModLine::kRoadRow) {
        bool goOn = false;
        ok = ModLine::MakeShapeLineFileData_Doro(database, goOn) && goOn;
    } else {
        ok = ModLine::MakeShapeLineFileData(database) && (!stations || ModLine::MakeShapeLine_PointFileData(database));
    }
    const auto t2 = Clock::now();
    database.close();
    if (!ok) return false;
    phases.load.push_back(seconds(t0, t1));
    phases.write.push_back(seconds(t1, t2));
    phases.brunhale.push_back(runRealBrunhale(program));
    return true;
}

// Prints the phases and gives the end-to-end seconds per MB.
double report(const std::string& what, double mb, const Phases& p) {
    const double load = median(p.load), write = median(p.write), brun = median(p.brunhale);
    const double total = load + write + brun;
    std::printf("%-12s input %7.1f MB\n", what.c_str(), mb);
    std::printf("  load                      %7.2f s  %7.1f MB/s\n", load, mb / load);
    std::printf("  query and pair writing    %7.2f s  %7.1f MB/s\n", write, mb / write);
    std::printf("  Brunhale                  %7.2f s  %7.1f MB/s\n", brun, mb / brun);
    std::printf("  end to end                %7.2f s  %7.1f MB/s\n", total, mb / total);
    return total / mb;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 3;
    double scale = 1.0;
    bench::readRunsAndScale(argc, argv, runs, scale);
    const fs::path program = fs::temp_directory_path() / ("velmora_bench_line_" + std::to_string(::getpid()));
    fs::remove_all(program);
    fs::create_directories(program / "Log");
    fs::create_directories(program / "out");
    setProgramFolder(program.string());
    ui::ScriptedUi ui;
    ui.install();

    ConversionState& s = conversionState();
    s.AppFolder = program.string() + "/";
    s.SelectedKind = DataKind::Line;
    s.DatumCode = 2000;
    gen::fillLineLayerRow(s.LineLayers[ModLine::kRoadRow], "道路", "N01-RD", gen::roadLedgerItems());
    gen::fillLineLayerRow(s.LineLayers[ModLine::kRailwayRow], "鉄道", "N02-RW", gen::ordinaryLedgerItems());
    s.LogFilePath = (program / "Log" / "bench.log").string();
    modCommon::openLogFile(text::LineWriter::Mode::Replace);
    bench::installPairCollectingStandIn(program);

    std::vector<int> meshes;
    for (int pq = 53; pq <= 54; ++pq)
        for (int rs = 39; rs <= 40; ++rs)
            for (int t = 0; t < 8; ++t)
                for (int u = 0; u < 8; ++u) meshes.push_back(pq * 10000 + rs * 100 + t * 10 + u);

    std::printf("line conversion, median of %d runs\n", runs);
    double firstRoad = 0, firstRail = 0, lastRoad = 0, lastRail = 0;
    for (int size : {1, 4, 16}) {
        const double sized = scale * size / 16;
        gen::LineFileOptions road;
        road.item = gen::LineItem::Road;
        road.headerKey = "N01-RD";
        road.meshes = meshes;
        road.links = std::max(1, static_cast<int>(200000 * sized));
        road.verticesPerLink = 8;
        road.serialsPerMesh = true;
        const std::string roadPath = (program / "road.txt").string();
        gen::writeLineFile(roadPath, gen::makeLineFileModel(road));

        gen::LineFileOptions rail;
        rail.item = gen::LineItem::Railway;
        rail.headerKey = "N02-RW";
        rail.meshes = meshes;
        rail.links = std::max(1, static_cast<int>(60000 * sized));
        rail.verticesPerLink = 8;
        rail.lines = std::max(1, static_cast<int>(30000 * sized));
        rail.linksPerLine = 3;
        rail.stations = std::max(1, static_cast<int>(10000 * sized));
        rail.serialsPerMesh = true;
        const std::string railPath = (program / "rail.txt").string();
        gen::writeLineFile(railPath, gen::makeLineFileModel(rail));

        const double roadMb = static_cast<double>(fs::file_size(roadPath)) / 1e6;
        const double railMb = static_cast<double>(fs::file_size(railPath)) / 1e6;

        Phases roadPhases, railPhases;
        for (int r = 0; r < runs; ++r) {
            s.OutputPath = (program / "out" / "road.shp").string();
            if (!convert(program, ModLine::kRoadRow, roadPath, false, roadPhases)) {
                std::fprintf(stderr, "road conversion failed\n");
                return 1;
            }
            s.OutputPath = (program / "out" / "rail.shp").string();
            if (!convert(program, ModLine::kRailwayRow, railPath, true, railPhases)) {
                std::fprintf(stderr, "railway conversion failed\n");
                return 1;
            }
        }
        const std::string tag = " ×" + std::to_string(size);
        lastRoad = report("road" + tag, roadMb, roadPhases);
        lastRail = report("railway" + tag, railMb, railPhases);
        if (firstRoad == 0) firstRoad = lastRoad, firstRail = lastRail;
        std::fflush(stdout);
    }
    std::printf("time per MB, ×16 over ×1: road %.2f, railway %.2f\n", lastRoad / firstRoad, lastRail / firstRail);
    s.LogFileNo.closeQuietly();
    for (const ui::BoxRecord& b : ui.boxes()) std::fprintf(stderr, "box: %s\n", b.text.c_str());
    fs::remove_all(program);
    return 0;
}
