// Point jobs as the convert button runs them (the headless job runner, the real Brunhale) beside ogr2ogr
// turning the same points, as a UTF-8 CSV in degrees, into a shapefile:
//   - one fixed-column file of 1,000,000 points (two texts, two numbers), datum 2000;
//   - the same points as one comma-separated file through the delimited reader;
//   - ten fixed-column files of 100,000 points merged through the point work database;
//   - one fixed-column file of 100,000 points, to show that memory does not grow with the file;
//   - a land-price CSV of 100,000 points of 320 columns (row 8, data year 2006: the second layout file, a
//     "_Z2" table) as one shapefile beside ogr2ogr on the same points, the same file split, and the same
//     points in four files merged and split.
// Prints the median wall time of each job over the runs, points per second, the ratio to ogr2ogr's
// median, and the peak resident memory of the runner and of Brunhale.
//
//   bench_point [--runs N] [--scale F]    (F scales every count, for a quick look; BENCH_KEEP=1 keeps the
//                                          program folder with its inputs, outputs and logs)
//
// The program folder's "Brunhale" is this program: started under that name it runs the real shape
// writer ("Brunhale.real" beside it, a copy, as Brunhale finds its pair through its own path) and notes
// its peak memory.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/support/BenchSupport.h"
#include "tests/app/jobs/JobCatalogue.h"
#include "tests/tools/gen/PointFileGen.h"

namespace fs = std::filesystem;
using namespace velmora;
using velmora::bench::median;

namespace {

constexpr const char* kPeaksFile = "brunhale-peaks.txt";

// Runs a program, its output dropped, and waits. The runner's own peak is read from /proc while it runs
// (wait4 would fold its children's peaks into it); a program without children is measured by wait4.
bench::ChildRun runProgram(const std::vector<std::string>& args, bool watch) {
    return bench::runChild(args, {.quietOutput = true, .quietErrors = true, .watchPeak = watch});
}

// Started as the program folder's "Brunhale": runs the real one and notes its peak.
int runAsShapeWriter(const fs::path& self) {
    const fs::path folder = self.parent_path();
    const bench::ChildRun r = runProgram({(folder / "Brunhale.real").string()}, false);
    std::ofstream(folder / kPeaksFile, std::ios::app) << r.peakKb << "\n";
    return r.exitCode;
}

struct Job {
    const char* name;
    long points;
    std::vector<std::string> args;
    std::vector<double> seconds;
    long runnerKb = 0, writerKb = 0;
};

long takeWriterPeak(const fs::path& program) {
    long peak = 0;
    std::ifstream in(program / kPeaksFile);
    for (long kb; in >> kb;) peak = std::max(peak, kb);
    fs::remove(program / kPeaksFile);
    return peak;
}

}  // namespace

int main(int argc, char** argv) {
    if (fs::path(argv[0]).filename() == "Brunhale") return runAsShapeWriter(argv[0]);
    int runs = 3;
    double scale = 1.0;
    bench::readRunsAndScale(argc, argv, runs, scale);
    auto scaled = [scale](long n) { return std::max(1L, static_cast<long>(n * scale)); };

    const fs::path program = fs::temp_directory_path() / ("velmora_bench_point_" + std::to_string(::getpid()));
    fs::remove_all(program);
    for (const char* d : {"Log", "in", "out"}) fs::create_directories(program / d);
    fs::copy_file(fs::path(VELMORA_PROGRAM_DIR) / "Brunhale", program / "Brunhale.real");
    fs::create_symlink(fs::canonical("/proc/self/exe"), program / "Brunhale");
    const gen::PointGenLayer layer = gen::standardPointLayer();
    testsupport::CatalogueRow row{CatalogKind::Point, 12, layer.name, layer.headerKey, {}};
    for (const gen::PointGenItem& it : layer.items) row.items.push_back({it.name, it.type, it.start, it.width, it.output});
    const gen::PointGenLayer landPrice = gen::landPriceCsvLayer("2006", 314);
    testsupport::CatalogueRow landPriceRow{CatalogKind::Point, 8, landPrice.name, landPrice.headerKey, {}};
    for (const gen::PointGenItem& it : landPrice.items)
        landPriceRow.items.push_back({it.name, it.type, it.start, it.width, it.output});
    testsupport::writeCatalogue(program, {row, landPriceRow});
    gen::writeCsvLayoutFile((program / "DataDBFItemCS.csv").string(), {layer});
    gen::writeCsvLayoutFile((program / "DataDBFItemCS2.csv").string(), {landPrice});

    const long big = scaled(1000000), small = scaled(100000);
    auto in = [&](const std::string& name) { return (program / "in" / name).string(); };
    auto out = [&](const std::string& name) { return (program / "out" / name).string(); };
    std::printf("generating inputs ...\n");
    std::fflush(stdout);
    gen::PointFileOptions o;
    o.points = big;
    gen::writeFixedPointFile(in("big.txt"), layer, o);
    gen::writeDelimitedPointFile(in("big.csv"), layer, o, ',');
    gen::writeOgrCsv(in("ogr.csv"), layer, o);
    o.points = small;
    gen::writeFixedPointFile(in("small.txt"), layer, o);
    std::vector<std::string> parts;
    for (int f = 0; f < 10; ++f) {
        o.first = f * small;
        parts.push_back(in("part" + std::to_string(f) + ".txt"));
        gen::writeFixedPointFile(parts.back(), layer, o);
    }

    const long landPricePoints = scaled(100000);
    o = {};
    o.arcSeconds = true;
    o.points = landPricePoints;
    gen::writeDelimitedPointFile(in("chika.csv"), landPrice, o, ',');
    gen::writeOgrCsv(in("chika_ogr.csv"), landPrice, o);
    std::vector<std::string> quarters;
    for (int f = 0; f < 4; ++f) {
        o.points = landPricePoints / 4;
        o.first = f * o.points;
        quarters.push_back(in("chika" + std::to_string(f) + ".csv"));
        gen::writeDelimitedPointFile(quarters.back(), landPrice, o, ',');
    }

    const std::string jobrun = std::string(VELMORA_BINARY_DIR) + "/tools/jobrun";
    // Answers: a land-price job first answers the split question; then No to the questions that follow,
    // the add-to-map question first: this times the conversion, not loading its points into the map.
    // Every run starts from an empty output folder (below), so no run is asked whether to overwrite: a
    // later run would take that question before the split question and shift every answer.
    auto pointJob = [&](const std::string& output, std::vector<std::string> inputs, int row = 12, bool split = false) {
        std::vector<std::string> a = {jobrun, "--program-folder", program.string(), "--kind", "point", "--row",
                                      std::to_string(row), "--datum", "2000"};
        if (row == 8) a.insert(a.end(), {"--answer", split ? "yes" : "no"});
        a.insert(a.end(), {"--answer", "no", "--answer", "no", "--out", out(output)});
        a.insert(a.end(), inputs.begin(), inputs.end());
        return a;
    };
    std::vector<Job> jobs = {
        {"fixed-column file", big, pointJob("big.shp", {in("big.txt")}), {}},
        {"comma-separated file", big, pointJob("csv.shp", {in("big.csv")}), {}},
        {"10 files merged", 10 * small, pointJob("merged.shp", parts), {}},
        {"fixed-column file (small)", small, pointJob("small.shp", {in("small.txt")}), {}},
    };
    std::vector<Job> landPriceJobs = {
        {"land-price CSV, one table", landPricePoints, pointJob("chika.shp", {in("chika.csv")}, 8, false), {}},
        {"land-price CSV, split", landPricePoints, pointJob("chika_split.shp", {in("chika.csv")}, 8, true), {}},
        {"4 land-price CSV merged, split", landPricePoints, pointJob("chika_merged.shp", quarters, 8, true), {}},
    };
    std::vector<Job*> all;
    for (std::vector<Job>* list : {&jobs, &landPriceJobs})
        for (Job& job : *list) all.push_back(&job);
    std::vector<double> ogrSeconds, landPriceOgrSeconds;
    long ogrKb = 0, landPriceOgrKb = 0;
    // ogr2ogr writing the points of a CSV file in degrees as a shapefile.
    auto ogr2ogr = [&](const char* shp, const char* csv) {
        return runProgram({"/usr/bin/ogr2ogr", "-overwrite", "-f", "ESRI Shapefile", out(shp), in(csv), "-oo",
                           "X_POSSIBLE_NAMES=X", "-oo", "Y_POSSIBLE_NAMES=Y", "-a_srs", "EPSG:4612", "-lco",
                           "ENCODING=CP932"},
                          false);
    };
    for (int r = 0; r < runs; ++r) {
        for (Job* job : all) {
            for (const auto& e : fs::directory_iterator(program / "out")) fs::remove_all(e.path());
            const bench::ChildRun run = runProgram(job->args, true);
            if (run.exitCode != 0) {
                std::fprintf(stderr, "bench_point: the %s job failed\n", job->name);
                return 1;
            }
            job->seconds.push_back(run.seconds);
            job->runnerKb = std::max(job->runnerKb, run.peakKb);
            job->writerKb = std::max(job->writerKb, takeWriterPeak(program));
        }
        const bench::ChildRun ogr = ogr2ogr("ogr.shp", "ogr.csv");
        if (ogr.exitCode != 0) {
            std::fprintf(stderr, "bench_point: ogr2ogr failed\n");
            return 1;
        }
        ogrSeconds.push_back(ogr.seconds);
        ogrKb = std::max(ogrKb, ogr.peakKb);
        const bench::ChildRun lpOgr = ogr2ogr("chika_ogr.shp", "chika_ogr.csv");
        if (lpOgr.exitCode != 0) {
            std::fprintf(stderr, "bench_point: ogr2ogr failed on the land-price points\n");
            return 1;
        }
        landPriceOgrSeconds.push_back(lpOgr.seconds);
        landPriceOgrKb = std::max(landPriceOgrKb, lpOgr.peakKb);
    }
    const double ogrMedian = median(ogrSeconds);
    std::printf("%d runs; medians\n", runs);
    std::printf("%-27s %9ld points  %7.2f s  %10.0f points/s  %5.1f MB peak\n", "ogr2ogr (CSV in degrees)", big,
                ogrMedian, big / ogrMedian, ogrKb / 1024.0);
    for (const Job& job : jobs) {
        const double m = median(job.seconds);
        std::printf("%-27s %9ld points  %7.2f s  %10.0f points/s  %.2f x ogr2ogr  runner %5.1f MB, Brunhale %5.1f MB\n",
                    job.name, job.points, m, job.points / m, m / ogrMedian * (static_cast<double>(big) / job.points),
                    job.runnerKb / 1024.0, job.writerKb / 1024.0);
    }
    const double lpOgrMedian = median(landPriceOgrSeconds);
    std::printf("%-27s %9ld points  %7.2f s  %10.0f points/s  %5.1f MB peak\n", "ogr2ogr (land-price CSV)",
                landPricePoints, lpOgrMedian, landPricePoints / lpOgrMedian, landPriceOgrKb / 1024.0);
    for (const Job& job : landPriceJobs) {
        const double m = median(job.seconds);
        std::printf("%-27s %9ld points  %7.2f s  %10.0f points/s  %.2f x ogr2ogr  runner %5.1f MB, Brunhale %5.1f MB\n",
                    job.name, job.points, m, job.points / m, m / lpOgrMedian, job.runnerKb / 1024.0,
                    job.writerKb / 1024.0);
    }
    std::printf("(ratios are per point: the job's time per point over ogr2ogr's)\n");
    if (!std::getenv("BENCH_KEEP")) fs::remove_all(program);
    return 0;
}
