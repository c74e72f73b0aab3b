// Area-structure conversion benchmark: two generated files of the boundary item (300,000 links of 12
// vertices, 150,000 areas with ledgers, the links between the two files' strips in both), converted in
// the area job's order: work database, counters, each file, representative points, boundary lines. The
// writers hand their pairs to a stand-in that moves them aside, so that writing is timed alone; the real
// Brunhale then converts each pair on its own. The peer is ogr2ogr writing the same lines and points, with
// the same fields, from CSV files with WKT geometry made from those pairs. Prints the median of each
// phase and the peak resident memory of the converter, of Brunhale and of ogr2ogr, and SQLite's floor: the
// work database's tables, rows and indexes with made-up values written straight through sqlite3, which no
// job keeping that database goes below.
//
// It runs at three sizes, ×1, ×4 and ×16 (×16 being the files above), and prints the ratio to ogr2ogr at
// each and the ratio at ×16 over that at ×1: a cost that grows faster than the input shows there.
//
//   bench_area [--runs N] [--scale F] [--keep 1] [--sizes A,B,...]
//              (F scales the grid's area count, for a quick look; --keep leaves the work folder with the
//               last run's files)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/support/BenchSupport.h"
#include "bench/support/FixedColumnCounts.h"
#include "bench/support/WorkDbFloor.h"
#include "convert/area/AreaShapeWriters.h"
#include "convert/area/PolygonDb.h"
#include "convert/area/PolygonLoader.h"
#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "platform/db/Database.h"
#include "platform/text/Cp932.h"
#include "platform/text/LineReader.h"
#include "platform/ui/ScriptedUi.h"
#include "tests/tools/gen/AreaFileGen.h"

namespace fs = std::filesystem;
using namespace velmora;
using velmora::bench::Clock;
using velmora::bench::median;
using velmora::bench::seconds;

namespace {

// The area work database the files fill, as table sizes for SQLite's floor.
std::vector<bench::FloorTable> areaDbFloorTables(const std::vector<std::string>& files, int ledgerItems) {
    const bench::FixedColumnCounts c = bench::countFixedColumnRecords(files);
    // The links' points are kept outside the database.
    return {
        {11, c.of("N"), {}},                 // ノードデータ
        {12, c.of("L"), {9}},                // リンクデータ: LinkIdx
        {9, c.of("A"), {8}},                 // ポリゴンデータ: LinkIdx
        {5, c.references, {}, false},        // ポリゴンリンクデータ
        {3 + ledgerItems, c.of("DA"), {1}},  // エリア台帳データ: 属性番号
    };
}

// Row 11 has a Japanese text ledger item; row 8 would run out of its two-digit prefecture codes long
// before 150,000 distinct attribute numbers.
constexpr int kRow = 11;

// A field of /proc/self/status in kB: "VmHWM" the peak resident memory, "RssAnon" and "RssFile" what is
// resident now of the heap and of mapped files (the work database is read through a memory map).
long statusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    const std::string key = std::string(field) + ":";
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + key.size());
    return 0;
}
long peakKb() { return statusKb("VmHWM"); }

// A child started from this large process inherits its peak memory in the kernel's accounting, so every
// program is started by a small copy of the benchmark ("--measure"), which starts the program itself and
// reports what its own child used.
bench::ChildRun run(const std::vector<std::string>& argv, const fs::path& folder) {
    const fs::path report = fs::temp_directory_path() / ("velmora_bench_area_run_" + std::to_string(::getpid()));
    std::vector<std::string> measured = {fs::read_symlink("/proc/self/exe").string(), "--measure", report.string(),
                                         folder.string()};
    measured.insert(measured.end(), argv.begin(), argv.end());
    bench::ChildOptions options;
    options.folder = folder;
    bench::runChild(measured, options);
    bench::ChildRun r;
    std::ifstream(report) >> r.exitCode >> r.seconds >> r.peakKb;
    fs::remove(report);
    return r;
}

int measure(int argc, char** argv) {
    std::vector<std::string> program(argv + 4, argv + argc);
    bench::ChildOptions options;
    options.folder = argv[3];
    const bench::ChildRun r = bench::runChild(program, options);
    std::ofstream(argv[2]) << r.exitCode << " " << r.seconds << " " << r.peakKb << "\n";
    return 0;
}

// A line of the pair split at its commas.
std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> f;
    std::size_t from = 0;
    for (std::size_t at; (at = line.find(',', from)) != std::string::npos; from = at + 1) f.push_back(line.substr(from, at - from));
    f.push_back(line.substr(from));
    return f;
}

// The peer's input: the pair's shapes as a CSV file with WKT geometry and its fields, plus the .csvt that
// declares the fields as the description does (texts of their widths, numbers as integers). Both files
// of the pair are read in step, one line at a time.
void pairToCsv(const fs::path& pair, const fs::path& csv) {
    text::LineReader h((pair / "MakeShapeFile.fil_H").string()), d((pair / "MakeShapeFile.fil_D").string());
    std::ofstream out(csv, std::ios::trunc), types(fs::path(csv).replace_extension(".csvt"), std::ios::trunc);
    out << "WKT";
    types << "WKT";
    std::string line, coordinate;
    bool lines = false, more = d.next(coordinate);
    while (h.next(line)) {
        const std::vector<std::string> r = fields(line);
        if (r[0] == "SHAPE_TYPE") lines = r[1] == "3";
        if (r[0] == "DBFITEM_NAME") {
            out << ",\"" << text::fromCp932(r[1]) << '"';
            types << (r[2] == "C" ? ",String(" + r[3] + ")" : ",Integer");
        }
        if (r[0] != "DBFITEM") continue;
        std::string wkt = lines ? "LINESTRING (" : "POINT (";
        bool first = true;
        // The shape's "LINKIDX" line, then its "LINKDATA" lines up to the next shape's.
        for (more = more && d.next(coordinate); more && coordinate.rfind("LINKDATA,", 0) == 0; more = d.next(coordinate)) {
            const std::vector<std::string> xy = fields(coordinate);
            wkt += (first ? "" : ",") + xy[1] + " " + xy[2];
            first = false;
        }
        out << "\n\"" << wkt << ")\"";
        for (std::size_t i = 1; i < r.size(); ++i) out << ",\"" << text::fromCp932(r[i]) << '"';
    }
    out << "\n";
}

struct Phases {
    std::vector<double> load, points, lines, brunhale, peer;
    long converterKb = 0, brunhaleKb = 0, peerKb = 0;
    long afterLoadKb = 0, afterPointsKb = 0, anonKb = 0, fileKb = 0;
};

bool convertOnce(const fs::path& program, const std::vector<std::string>& files, Phases& p) {
    ConversionState& s = conversionState();
    fs::remove_all(program / "pairs");
    fs::create_directory(program / "pairs");
    fs::remove_all(program / "out");
    fs::create_directory(program / "out");
    s.OutputPath = (program / "out" / "area.shp").string();

    const auto t0 = Clock::now();
    if (!ModPolygon::MakePolygonDb()) return false;
    db::Database database = db::Database::open(ModPolygon::PolygonDbPath());
    s.LinkIdxCounter = {0, 0};
    for (const std::string& f : files)
        if (!ModPolygon::PolySetTextToTbl(database, f)) return false;
    const auto t1 = Clock::now();
    // The peak only grows: the phases' own figures come from the first run.
    const bool first = p.load.empty();
    if (first) p.afterLoadKb = peakKb();
    if (!ModPolygon::MakeShapePolygon_PointFileData(database)) return false;
    const auto t2 = Clock::now();
    if (first) p.afterPointsKb = peakKb();
    if (!ModPolygon::MakeShapeArcFileData(database)) return false;
    const auto t3 = Clock::now();
    p.anonKb = std::max(p.anonKb, statusKb("RssAnon"));
    p.fileKb = std::max(p.fileKb, statusKb("RssFile"));
    database.close();
    fs::remove(ModPolygon::PolygonDbPath());
    p.load.push_back(seconds(t0, t1));
    p.points.push_back(seconds(t1, t2));
    p.lines.push_back(seconds(t2, t3));
    p.converterKb = std::max(p.converterKb, peakKb());

    double brunhale = 0, peer = 0;
    for (const char* n : {"0", "1"}) {
        const fs::path pair = program / "pairs" / n;
        fs::copy_file(std::string(VELMORA_PROGRAM_DIR) + "/Brunhale", pair / "Brunhale");
        const bench::ChildRun b = run({(pair / "Brunhale").string()}, pair);
        if (b.exitCode != 0) std::fprintf(stderr, "Brunhale failed with %d on %s\n", b.exitCode, pair.c_str());
        brunhale += b.seconds;
        p.brunhaleKb = std::max(p.brunhaleKb, b.peakKb);

        const fs::path csv = pair / "peer.csv";
        pairToCsv(pair, csv);
        const bench::ChildRun o = run({"/usr/bin/ogr2ogr", "--config", "CPL_LOG", "/dev/null", "-f", "ESRI Shapefile", "-lco", "ENCODING=CP932", "-oo",
                             "GEOM_POSSIBLE_NAMES=WKT", "-oo", "KEEP_GEOM_COLUMNS=NO", (pair / "peer.shp").string(),
                             csv.string()},
                            pair);
        if (o.exitCode != 0) std::fprintf(stderr, "ogr2ogr failed with %d on %s\n", o.exitCode, csv.c_str());
        peer += o.seconds;
        p.peerKb = std::max(p.peerKb, o.peakKb);
    }
    p.brunhale.push_back(brunhale);
    p.peer.push_back(peer);
    return true;
}

struct SizeResult {
    double mb = 0, ratio = 0;
    long converterKb = 0;
};

// Generates the two files at `size` (of 16), converts them `runs` times and prints the phases.
bool benchAtSize(const fs::path& program, double scale, int size, int runs, SizeResult& result) {
    // 500 × 300 areas have 300,800 links; the generator runs in a process of its own, so that its model
    // does not count in the converter's peak memory.
    const double areas = scale * size / 16;
    const int cols = std::max(2, static_cast<int>(std::lround(500 * std::sqrt(areas))));
    const int rows = std::max(1, static_cast<int>(std::lround(300 * std::sqrt(areas))));
    const bench::ChildRun gen = run({AREAGEN_PATH, "--structure", std::to_string(kRow), "--cols", std::to_string(cols), "--rows",
                         std::to_string(rows), "--vertices", "12", "--files", "2", "--first-attribute", "1",
                         (program / "n03").string()},
                        program);
    if (gen.exitCode != 0) {
        std::fprintf(stderr, "areagen failed\n");
        return false;
    }
    const std::vector<std::string> files = {(program / "n03_1.txt").string(), (program / "n03_2.txt").string()};
    double mb = 0;
    for (const std::string& f : files) mb += static_cast<double>(fs::file_size(f)) / 1e6;

    Phases p;
    for (int r = 0; r < runs; ++r)
        if (!convertOnce(program, files, p)) return false;
    std::vector<double> floors;
    const std::vector<bench::FloorTable> floorTables =
        areaDbFloorTables(files, static_cast<int>(datagen::area_ledger_items(kRow).size()));
    for (int r = 0; r < runs; ++r) floors.push_back(bench::measureWorkDbFloor(program, floorTables).total());
    const double load = median(p.load), points = median(p.points), lines = median(p.lines);
    const double brunhale = median(p.brunhale), peer = median(p.peer);
    const double total = load + points + lines + brunhale;
    std::printf("area-structure conversion ×%d, %d x %d areas in two files (%.1f MB), median of %d runs\n", size, cols,
                rows, mb, runs);
    std::printf("  load (database and both files)   %7.2f s  %7.1f MB/s\n", load, mb / load);
    std::printf("  representative points (pair)    %7.2f s\n", points);
    std::printf("  boundary lines (pair)           %7.2f s\n", lines);
    std::printf("  Brunhale (both pairs)           %7.2f s\n", brunhale);
    std::printf("  end to end                      %7.2f s  %7.1f MB/s\n", total, mb / total);
    std::printf("  ogr2ogr, same shapes from CSV   %7.2f s   ratio %.2f (goal at most 0.55)\n", peer, total / peer);
    std::printf("  SQLite floor                    %7.2f s   ratio %.2f (the work database's rows and indexes alone)\n",
                median(floors), median(floors) / peer);
    std::printf("  peak memory: converter %ld MB (goal at most 1.5 x input + 100 MB), Brunhale %ld MB, ogr2ogr %ld MB\n",
                p.converterKb / 1024, p.brunhaleKb / 1024, p.peerKb / 1024);
    std::printf("  converter peak after the load %ld MB, after the points %ld MB (first run); at the end %ld MB heap and %ld MB of "
                "mapped files resident\n",
                p.afterLoadKb / 1024, p.afterPointsKb / 1024, p.anonKb / 1024, p.fileKb / 1024);
    std::fflush(stdout);
    result = {mb, total / peer, p.converterKb};
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && std::string(argv[1]) == "--measure") return measure(argc, argv);
    int runs = 3;
    double scale = 1.0;
    bool keep = false;
    std::vector<int> sizes = {1, 4, 16};
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
        else if (a == "--scale") scale = std::atof(argv[i + 1]);
        else if (a == "--keep") keep = std::atoi(argv[i + 1]) != 0;
        else if (a == "--sizes") {
            sizes.clear();
            std::stringstream list(argv[i + 1]);
            for (std::string n; std::getline(list, n, ',');) sizes.push_back(std::max(1, std::atoi(n.c_str())));
        }
    }
    const fs::path program = fs::temp_directory_path() / ("velmora_bench_area_" + std::to_string(::getpid()));
    fs::remove_all(program);
    fs::create_directories(program / "Log");
    setProgramFolder(program.string());
    ui::ScriptedUi ui;
    ui.install();

    ConversionState& s = conversionState();
    s.AppFolder = program.string() + "/";
    s.SelectedKind = DataKind::Area;
    s.SelectedIndex = kRow;
    s.DatumCode = 2000;
    datagen::fill_area_layer_row(s.PolygonLayers[kRow], "湖岸線", datagen::area_row_header_key(kRow),
                                 datagen::area_ledger_items(kRow));
    s.LogFilePath = (program / "Log" / "bench.log").string();
    modCommon::openLogFile(text::LineWriter::Mode::Replace);
    bench::installPairCollectingStandIn(program);

    // Smallest first: the converter's peak only grows, so each size's figure is its own.
    std::sort(sizes.begin(), sizes.end());
    std::vector<std::pair<int, SizeResult>> results;
    for (int size : sizes) {
        SizeResult r;
        if (!benchAtSize(program, scale, size, runs, r)) {
            std::fprintf(stderr, "area conversion failed\n");
            for (const ui::BoxRecord& b : ui.boxes()) std::fprintf(stderr, "box: %s\n", b.text.c_str());
            return 1;
        }
        results.emplace_back(size, r);
    }
    std::printf("job / ogr2ogr by size\n  area structure");
    for (const auto& [size, r] : results)
        std::printf("  ×%d %.2f (%.1f MB, peak %ld MB)", size, r.ratio, r.mb, r.converterKb / 1024);
    if (results.size() > 1 && results.front().second.ratio > 0)
        std::printf("  ×%d/×%d %.2f", results.back().first, results.front().first,
                    results.back().second.ratio / results.front().second.ratio);
    std::printf("\n");
    s.LogFileNo.closeQuietly();
    if (keep) std::printf("  work folder kept: %s\n", program.c_str());
    else fs::remove_all(program);
    return 0;
}
