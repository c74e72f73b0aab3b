// The line and attribute-table pipeline against ogr2ogr, in one run: generated road, railway, generic line
// and attribute-table files (streamed and ledger-joined) converted by the real jobs through the headless
// job runner, and the same features written by ogr2ogr from an equivalent UTF-8 CSV with WKT geometry and
// the same fields (made from our own output with ogr2ogr, untimed). Prints, as medians over the runs:
//   - per phase the time and MB/s of input: load (the work database from its creation to its last write),
//     query and pair writing (from there to the start of Brunhale), Brunhale; and end to end (the job
//     runner's whole life, start-up and the closing steps included, measured on a run of its own);
//   - the job's end to end time over ogr2ogr's (< 1: faster), and the peak resident memory of both (wait4;
//     the job's figure covers Brunhale too);
//   - the I/O floor: cat of the inputs and cp of the outputs;
//   - for a line job, SQLite's floor: its work database's tables, rows and indexes with made-up values,
//     written straight through sqlite3 (nothing a job can go below while it keeps that database).
//
//   - every line item at three sizes (×1, ×4 and ×16; ×16 is road 200,000 links of 8 vertices), with
//     the ratio to ogr2ogr at each and the ratio at ×16 over that at ×1: a cost that grows faster than
//     the input shows there. Link serial numbers start again in every mesh, as in the data set's files.
//
//   bench_pipeline [--runs N] [--scale F] [--only NAME] [--sizes A,B,...]
//                  (F scales every count; NAME a pipeline without its size; BENCH_KEEP=1 keeps the folder;
//                   BENCH_JOBRUN=PATH runs another build's job runner)
//
// The phases are read from outside the job: an inotify watch on the program folder notes every write to
// the work database, and the program folder's Brunhale is a small script that notes the time around the
// real writer (kept beside it, so it finds the pair in its own folder as always). The script starts four
// processes (a shell, dirname, date twice) that the shipped program does not, and the watch wakes at every
// write: the end-to-end time and the peak come from a second run of each round, with the real Brunhale and
// no watch.
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "bench/pipeline/LineDbFloor.h"
#include "bench/support/BenchSupport.h"
#include "tests/app/jobs/JobCatalogue.h"
#include "tests/convert/attr/AttrTableItems.h"
#include "tests/tools/gen/AttrFileGen.h"
#include "tests/tools/gen/LineFileGen.h"


namespace fs = std::filesystem;
using namespace velmora;
using velmora::bench::median;

namespace {

double now() {
    timespec t{};
    ::clock_gettime(CLOCK_REALTIME, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Runs argv (found in PATH, no shell) with stdout and stderr appended to `log`.
bench::ChildRun runProcess(const std::vector<std::string>& argv, const std::string& log = "/dev/null") {
    bench::ChildOptions options;
    options.log = log;
    options.searchPath = true;
    return bench::runChild(argv, options);
}

// Writes of the work database, as the inotify watch of the program folder sees them.
class DatabaseWatch {
public:
    explicit DatabaseWatch(const fs::path& folder) {
        fd_ = ::inotify_init1(IN_NONBLOCK);
        ::inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MODIFY);
        thread_ = std::thread([this] { loop(); });
    }
    ~DatabaseWatch() {
        stop_ = true;
        thread_.join();
        ::close(fd_);
    }
    // Time of the database's creation and of its last write (0 when none was seen).
    std::pair<double, double> span() {
        std::lock_guard<std::mutex> l(m_);
        return {created_, written_};
    }

private:
    void loop() {
        alignas(inotify_event) char buf[64 * 1024];
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            const ssize_t n = ::read(fd_, buf, sizeof buf);
            const double t = now();
            for (ssize_t at = 0; at < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
                if (!e->len || !std::string_view(e->name).ends_with(".mdb")) continue;
                std::lock_guard<std::mutex> l(m_);
                if (e->mask & IN_CREATE) created_ = t;
                else written_ = t;
            }
        }
    }
    int fd_ = -1;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex m_;
    double created_ = 0, written_ = 0;
};

// Brunhale as a script noting the time around the real writer, kept as Brunhale.timed beside the real one
// (Brunhale.real); `useWriter` puts one of them in place.
void installTimedWriter(const fs::path& program) {
    fs::copy_file(fs::path(VELMORA_PROGRAM_DIR) / "Brunhale", program / "Brunhale.real",
                  fs::copy_options::overwrite_existing);
    const fs::path p = program / "Brunhale.timed";
    std::ofstream(p, std::ios::trunc) << "#!/bin/sh\nd=$(dirname \"$0\")\n"
                                         "t0=$(date +%s.%N)\n\"$d/Brunhale.real\"\nrc=$?\n"
                                         "echo \"$t0 $(date +%s.%N)\" >> \"$d/writer.times\"\nexit $rc\n";
    ::chmod(p.c_str(), 0755);
}

void useWriter(const fs::path& program, bool timed) {
    fs::copy_file(program / (timed ? "Brunhale.timed" : "Brunhale.real"), program / "Brunhale",
                  fs::copy_options::overwrite_existing);
}

// Runs `make` in a child process: the generator's models are large, and a spawned process starts with its
// parent's peak resident memory (vfork shares the parent's memory until exec), which would spoil every
// figure measured after.
void inChild(const std::function<void()>& make) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        make();
        std::fflush(nullptr);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
}

struct Pipeline {
    Pipeline(std::string name, std::string jobArguments, std::string output, std::vector<std::string> inputs,
             std::string ogrLayerType)
        : name(std::move(name)), jobArguments(std::move(jobArguments)), output(std::move(output)),
          inputs(std::move(inputs)), ogrLayerType(std::move(ogrLayerType)) {}

    std::string name;
    std::string size;                  // "×4" for a line item at that size; empty for the others
    std::string jobArguments;          // kind and row
    std::string output;                // file name under out/
    std::vector<std::string> inputs;   // generated files
    std::string ogrLayerType;          // -nlt of ogr2ogr; empty for a table
    double inputMb = 0;
    std::vector<bench::FloorTable> floorTables;  // the job's work database, when it has one
    std::vector<double> sqliteFloor;
    std::vector<double> load, pair, writer, total, ogr, cat, cp;
    long peakKb = 0, ogrPeakKb = 0;
};

struct Bench {
    fs::path program;
    int runs = 3;

    std::vector<fs::path> outputsOf(const Pipeline& p) const {
        std::vector<fs::path> files;
        const std::string stem = fs::path(p.output).stem().string();
        for (const char* ext : {".shp", ".shx", ".dbf", ".prj"})
            if (fs::exists(program / "out" / (stem + ext))) files.push_back(program / "out" / (stem + ext));
        return files;
    }

    void clearOutputs() const {
        for (const auto& e : fs::directory_iterator(program / "out")) fs::remove_all(e.path());
        for (const auto& e : fs::directory_iterator(program / "Log")) fs::remove_all(e.path());
        fs::remove(program / "writer.times");
    }

    // A timed run gives the phases; a plain one the end-to-end time and the peak.
    bool runJob(Pipeline& p, bool timed) {
        clearOutputs();
        useWriter(program, timed);
        std::unique_ptr<DatabaseWatch> watch;
        if (timed) watch = std::make_unique<DatabaseWatch>(program);
        const char* other = std::getenv("BENCH_JOBRUN");
        std::vector<std::string> argv = {other ? other : std::string(VELMORA_BINARY_DIR) + "/tools/jobrun",
                                         "--program-folder", program.string()};
        std::istringstream words(p.jobArguments);
        for (std::string w; words >> w;) argv.push_back(w);
        argv.insert(argv.end(), {"--out", (program / "out" / p.output).string()});
        argv.insert(argv.end(), p.inputs.begin(), p.inputs.end());
        const double start = now();
        const bench::ChildRun run = runProcess(argv, (program / "jobrun.txt").string());
        if (run.exitCode != 0) {
            std::fprintf(stderr, "bench_pipeline: the %s job failed (see %s)\n", p.name.c_str(),
                         (program / "jobrun.txt").c_str());
            return false;
        }
        if (!timed) {
            p.total.push_back(run.seconds);
            p.peakKb = std::max(p.peakKb, run.peakKb);
            return true;
        }
        double w0 = 0, w1 = 0;
        std::ifstream(program / "writer.times") >> w0 >> w1;
        const auto [created, written] = watch->span();
        // Without a work database the pair is written while the input is read: all of it is pair writing.
        const double pairStart = created ? written : start;
        p.load.push_back(created ? written - created : 0);
        p.pair.push_back(w0 - pairStart);
        p.writer.push_back(w1 - w0);
        return true;
    }

    // The CSV of WKT that ogr2ogr reads, made from the job's own output.
    fs::path makeCsv(const Pipeline& p) const {
        const fs::path csv = program / "in" / (p.name + ".csv");
        fs::remove(csv);
        fs::remove(fs::path(csv).replace_extension(".csvt"));
        std::vector<std::string> argv = {"ogr2ogr", "-f", "CSV", "-lco", "CREATE_CSVT=YES"};
        if (!p.ogrLayerType.empty()) argv.insert(argv.end(), {"-lco", "GEOMETRY=AS_WKT"});
        const fs::path source = program / "out" / p.output;
        argv.insert(argv.end(), {csv.string(), source.string()});
        runProcess(argv);
        return csv;
    }

    void runOgr(Pipeline& p, const fs::path& csv) const {
        const fs::path ogrOut = program / "ogr";
        fs::remove_all(ogrOut);
        fs::create_directories(ogrOut);
        const std::string target = (ogrOut / (fs::path(p.output).stem().string() + (p.ogrLayerType.empty() ? ".dbf" : ".shp"))).string();
        std::vector<std::string> argv = {"ogr2ogr", "-f", "ESRI Shapefile", "-lco", "ENCODING=CP932"};
        // The WKT column is read as the geometry only: kept as a field too it would make ogr2ogr write a
        // 254-character text per feature that our output does not have.
        if (!p.ogrLayerType.empty())
            argv.insert(argv.end(), {"-nlt", p.ogrLayerType, "-a_srs", "EPSG:4612", "-oo", "KEEP_GEOM_COLUMNS=NO"});
        argv.insert(argv.end(), {target, csv.string()});
        const bench::ChildRun r = runProcess(argv);
        if (r.exitCode != 0) std::fprintf(stderr, "bench_pipeline: ogr2ogr failed on %s\n", csv.c_str());
        p.ogr.push_back(r.seconds);
        p.ogrPeakKb = std::max(p.ogrPeakKb, r.peakKb);
    }

    void runFloor(Pipeline& p) const {
        std::vector<std::string> cat = {"cat"};
        cat.insert(cat.end(), p.inputs.begin(), p.inputs.end());
        p.cat.push_back(runProcess(cat).seconds);
        const fs::path copies = program / "copies";
        fs::remove_all(copies);
        fs::create_directories(copies);
        std::vector<std::string> cp = {"cp"};
        for (const fs::path& f : outputsOf(p)) cp.push_back(f.string());
        cp.push_back(copies.string());
        p.cp.push_back(runProcess(cp).seconds);
        fs::remove_all(copies);
    }

    bool measure(Pipeline& p) {
        for (const std::string& in : p.inputs) p.inputMb += static_cast<double>(fs::file_size(in)) / 1e6;
        if (!runJob(p, false)) return false;  // a first run, also the source of the CSV
        const fs::path csv = makeCsv(p);
        p.load.clear(), p.pair.clear(), p.writer.clear(), p.total.clear(), p.peakKb = 0;
        for (int r = 0; r < runs; ++r) {
            if (!runJob(p, true) || !runJob(p, false)) return false;
            runFloor(p);
            if (!p.floorTables.empty()) p.sqliteFloor.push_back(bench::measureWorkDbFloor(program, p.floorTables).total());
            runOgr(p, csv);
        }
        return true;
    }
};

void report(const Pipeline& p) {
    const double load = median(p.load), pair = median(p.pair), writer = median(p.writer);
    const double total = median(p.total), ogr = median(p.ogr);
    auto rate = [&](double s) { return s > 0 ? p.inputMb / s : 0.0; };
    std::printf("%s%s: input %.1f MB in %zu file(s)\n", p.name.c_str(), p.size.empty() ? "" : (" " + p.size).c_str(),
                p.inputMb, p.inputs.size());
    if (load > 0) std::printf("  load                   %7.2f s  %7.1f MB/s\n", load, rate(load));
    std::printf("  query and pair         %7.2f s  %7.1f MB/s\n", pair, rate(pair));
    std::printf("  Brunhale               %7.2f s  %7.1f MB/s\n", writer, rate(writer));
    std::printf("  end to end (job)       %7.2f s  %7.1f MB/s  peak %6.0f MB\n", total, rate(total), p.peakKb / 1024.0);
    std::printf("  ogr2ogr from CSV       %7.2f s             peak %6.0f MB\n", ogr, p.ogrPeakKb / 1024.0);
    std::printf("  job / ogr2ogr          %7.2f\n", ogr > 0 ? total / ogr : 0.0);
    std::printf("  I/O floor: cat input   %7.3f s, cp outputs %.3f s\n", median(p.cat), median(p.cp));
    if (!p.sqliteFloor.empty()) {
        const double floor = median(p.sqliteFloor);
        std::printf("  SQLite floor           %7.2f s = %.2f x ogr2ogr (its work database's rows and indexes alone)\n",
                    floor, ogr > 0 ? floor / ogr : 0.0);
    }
}

double ratio(const Pipeline& p) {
    const double ogr = median(p.ogr);
    return ogr > 0 ? median(p.total) / ogr : 0.0;
}

// The ratios of each line item at its sizes, and the largest size's over the smallest's.
void reportSizes(const std::vector<Pipeline>& pipelines) {
    std::vector<std::string> names;
    for (const Pipeline& p : pipelines)
        if (!p.size.empty() && !p.total.empty() && std::find(names.begin(), names.end(), p.name) == names.end())
            names.push_back(p.name);
    if (names.empty()) return;
    std::printf("job / ogr2ogr by size\n");
    for (const std::string& name : names) {
        std::printf("  %-14s", name.c_str());
        const Pipeline *first = nullptr, *last = nullptr;
        for (const Pipeline& p : pipelines) {
            if (p.name != name || p.total.empty()) continue;
            std::printf("  %s %.2f (%.1f MB, peak %.0f MB)", p.size.c_str(), ratio(p), p.inputMb, p.peakKb / 1024.0);
            if (!first) first = &p;
            last = &p;
        }
        if (first != last && ratio(*first) > 0)
            std::printf("  %s/%s %.2f", last->size.c_str(), first->size.c_str(), ratio(*last) / ratio(*first));
        std::printf("\n");
    }
}

std::vector<int> meshes() {
    std::vector<int> m;
    for (int pq = 53; pq <= 54; ++pq)
        for (int rs = 39; rs <= 40; ++rs)
            for (int t = 0; t < 8; ++t)
                for (int u = 0; u < 8; ++u) m.push_back(pq * 10000 + rs * 100 + t * 10 + u);
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 3;
    double scale = 1.0;
    std::string only;
    std::vector<int> sizes = {1, 4, 16};
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
        else if (a == "--scale") scale = std::atof(argv[i + 1]);
        else if (a == "--only") only = argv[i + 1];
        else if (a == "--sizes") {
            sizes.clear();
            std::stringstream list(argv[i + 1]);
            for (std::string n; std::getline(list, n, ',');) sizes.push_back(std::max(1, std::atoi(n.c_str())));
        }
    }
    auto scaled = [scale](long n) { return static_cast<int>(std::max(1L, static_cast<long>(n * scale))); };

    Bench bench;
    bench.runs = runs;
    bench.program = fs::temp_directory_path() / ("velmora_bench_pipeline_" + std::to_string(::getpid()));
    const fs::path& program = bench.program;
    fs::remove_all(program);
    for (const char* d : {"Log", "in", "out"}) fs::create_directories(program / d);
    installTimedWriter(program);
    testsupport::writeCatalogue(program, {{CatalogKind::Line, 3, "海岸線", "N03-L",
                                           testsupport::lineItems(gen::ordinaryLedgerItems())},
                                          {CatalogKind::Line, 25, "道路", "N01-RD",
                                           testsupport::lineItems(gen::roadLedgerItems())},
                                          {CatalogKind::Line, 26, "鉄道", "N02-RW",
                                           testsupport::lineItems(gen::ordinaryLedgerItems())},
                                          {CatalogKind::Attr, 3, "河川テーブル", "W10", testsupport::riverTableItems(false)},
                                          {CatalogKind::Attr, 10, "河川・水系域テーブル", "W11",
                                           testsupport::riverTableItems(true)}});

    auto lineFile = [&](const std::string& name, gen::LineFileOptions o) {
        o.meshes = meshes();
        o.verticesPerLink = 8;
        o.serialsPerMesh = true;
        const std::string path = (program / "in" / name).string();
        inChild([&] { gen::writeLineFile(path, gen::makeLineFileModel(o)); });
        return path;
    };
    std::vector<Pipeline> pipelines;
    for (int size : sizes) {
        // Counts at ×16.
        auto sized = [&](long n) { return scaled(n * size / 16); };
        const std::string tag = "×" + std::to_string(size), suffix = "_x" + std::to_string(size);
        {
            gen::LineFileOptions o;
            o.item = gen::LineItem::Road;
            o.headerKey = "N01-RD";
            o.links = sized(200000);
            pipelines.push_back({"road", "--kind line --row 25 --datum 2000", "road.shp",
                                 {lineFile("road" + suffix + ".txt", o)}, "MULTILINESTRING"});
            pipelines.back().floorTables =
                bench::lineDbFloorTables(pipelines.back().inputs, 25, static_cast<int>(gen::roadLedgerItems().size()));
            pipelines.back().size = tag;
        }
        {
            gen::LineFileOptions o;
            o.item = gen::LineItem::Railway;
            o.headerKey = "N02-RW";
            o.links = sized(60000);
            o.lines = sized(30000);
            o.linksPerLine = 3;
            o.stations = sized(10000);
            pipelines.push_back({"railway", "--kind line --row 26 --datum 2000", "rail.shp",
                                 {lineFile("rail" + suffix + ".txt", o)}, "MULTILINESTRING"});
            pipelines.back().floorTables = bench::lineDbFloorTables(pipelines.back().inputs, 26,
                                                                    static_cast<int>(gen::ordinaryLedgerItems().size()));
            pipelines.back().size = tag;
        }
        {
            gen::LineFileOptions o;
            o.headerKey = "N03-L";
            o.links = sized(120000);
            o.lines = sized(40000);
            o.linksPerLine = 3;
            pipelines.push_back({"generic line", "--kind line --row 3 --datum 2000", "coast.shp",
                                 {lineFile("coast" + suffix + ".txt", o)}, "MULTILINESTRING"});
            pipelines.back().floorTables = bench::lineDbFloorTables(pipelines.back().inputs, 3,
                                                                    static_cast<int>(gen::ordinaryLedgerItems().size()));
            pipelines.back().size = tag;
        }
    }
    {
        const std::string path = (program / "in" / "table.txt").string();
        const long rows = scaled(300000);
        inChild([&] {
            gen::writeBulkAttrFile(path, {{"", "W10", "", "2008", "1", rows}, testsupport::riverTableColumns(), rows, 11, false});
        });
        pipelines.push_back({"attribute table", "--kind attr --row 3", "table.dbf", {path}, ""});
    }
    {
        const std::string path = (program / "in" / "joined.txt").string();
        const long rows = scaled(150000);
        inChild([&] {
            gen::writeBulkAttrFile(path, {{"", "W11", "", "2008", "1", rows}, testsupport::riverTableColumns(), rows, 12, true});
        });
        pipelines.push_back({"ledger-joined table", "--kind attr --row 10", "joined.dbf", {path}, ""});
    }

    std::printf("line and attribute-table pipeline, median of %d runs\n", runs);
    int failures = 0;
    for (Pipeline& p : pipelines) {
        if (!only.empty() && p.name != only) continue;
        if (bench.measure(p)) report(p);
        else ++failures;
        std::fflush(stdout);
    }
    reportSizes(pipelines);
    if (!std::getenv("BENCH_KEEP")) fs::remove_all(program);
    return failures ? 1 : 0;
}
