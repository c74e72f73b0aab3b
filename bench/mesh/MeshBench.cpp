// Mesh job benchmarks, each beside ogr2ogr writing the same cells from CSV/WKT in the same run.
//
// subdivided: a prefecture-scale 1/10-subdivided layer, twelve generated files of one first-level
// mesh each (6,400 records of 100 cells per file: 76,800 records, 7,680,000 cells), converted by the
// headless job runner with the real Brunhale; in the same run ogr2ogr writes the same cells from a CSV
// with WKT and a .csvt of the same fields. Prints the median wall times, cells per second, the ratio of
// the two, the peak resident memory of jobrun and of Brunhale (sampled from /proc while they run), jobrun's
// peak at a quarter of the size, and whether the two .shp files are byte-identical.
//
// forest: twelve files of 6,400 records with 3,000 ledger records each, every record naming one to five
// ledger numbers; the peer's CSV carries the joined values. fourway: 200,000 records over four files, the
// four seasons' shapefiles; the peer writes four shapefiles from four CSVs. Both print the times, their
// ratio (goal at most 0.5) and the peak memory.
//
//   bench_mesh [--workload subdivided|forest|fourway|all] [--runs N] [--files K]
//              (K first-level meshes of the subdivided workload, 12 by default; BENCH_KEEP=1 keeps the
//               program folders with their inputs and outputs)
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/BenchSupport.h"
#include "convert/mesh/MeshGeometry.h"
#include "convert/mesh/MeshSeasonConversion.h"
#include "platform/text/Conversions.h"
#include "tests/app/jobs/JobCatalogue.h"
#include "tests/tools/gen/MeshFileGen.h"

namespace fs = std::filesystem;
using namespace velmora;
using velmora::bench::median;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRow = 12;
constexpr const char* kLayerName = "土地利用メッシュ・1/10細分区画";
// First-level meshes of about one prefecture and its neighbours.
constexpr int kMeshes[] = {5339, 5340, 5439, 5440, 5239, 5240, 5338, 5438,
                           5238, 5341, 5441, 5241, 5437, 5237, 5342, 5442};

long vmHwmKb(pid_t pid) {
    std::ifstream f("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(f, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

std::string commandName(pid_t pid) {
    std::ifstream f("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(f, name);
    return name;
}

std::vector<pid_t> children(pid_t pid) {
    std::ifstream f("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children");
    std::vector<pid_t> c;
    for (long p; f >> p;) c.push_back(static_cast<pid_t>(p));
    return c;
}

struct Watched {
    double seconds = 0;
    long peakKb = 0;       // the program itself
    long childPeakKb = 0;  // the largest program it started (Brunhale)
};

// Runs a command line through /bin/sh -c (stdout to /dev/null) and samples the peak memory of the shell's
// program (exec'd in place) and of its children while it runs; a failed command ends the benchmark.
Watched watched(const std::string& command) {
    Watched w;
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const std::string c = "exec " + command + " > /dev/null";
        execl("/bin/sh", "sh", "-c", c.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    for (;;) {
        w.peakKb = std::max(w.peakKb, vmHwmKb(pid));
        // A child caught between its fork and its exec still shows the parent's memory as its own.
        const std::string parent = commandName(pid);
        for (pid_t c : children(pid))
            if (commandName(c) != parent) w.childPeakKb = std::max(w.childPeakKb, vmHwmKb(c));
        if (waitpid(pid, &status, WNOHANG) == pid) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    w.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench_mesh: failed: %s\n", command.c_str());
        std::exit(1);
    }
    return w;
}

// The cells of one generated file as CSV rows for ogr2ogr: the polygon as WKT with the coordinate texts the
// pair carries, then the same values the job writes.
void appendCsv(std::ofstream& csv, const gen::MeshFileModel& m) {
    std::string row;
    for (const gen::GenMeshRecord& r : m.records)
        for (std::int16_t j = 0; j < 10; ++j)
            for (std::int16_t i = 0; i < 10; ++i) {
                const ModMesh::MeshRing ring = ModMesh::CellRing(r.code, 3, 10, ModMesh::SubCell{i, j});
                row = "\"POLYGON ((";
                for (int k = 0; k < 5; ++k)
                    row += (k ? "," : "") + text::formatNumber(ring.x[k]) + " " + text::formatNumber(ring.y[k]);
                const std::size_t cell = static_cast<std::size_t>(j * 10 + i);
                row += "))\"," + r.code.substr(0, 4) + "," + r.code.substr(0, 6) + "," + r.code.substr(0, 8) + "," +
                       std::to_string(j) + std::to_string(i) + "," + r.values[2 * cell] + "," + r.values[2 * cell + 1] +
                       "\n";
                csv << row;
            }
}

std::string shellQuoted(const fs::path& p) { return "'" + p.string() + "'"; }

// A fresh program folder with Brunhale and one catalogue row.
fs::path programFolder(const std::string& name, const testsupport::CatalogueRow& row) {
    const fs::path program = fs::temp_directory_path() / ("velmora_bench_mesh_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(program);
    for (const char* sub : {"Log", "in", "out"}) fs::create_directories(program / sub);
    fs::copy_file(fs::path(VELMORA_PROGRAM_DIR) / "Brunhale", program / "Brunhale");
    testsupport::writeCatalogue(program, {row});
    return program;
}

// Removes the outputs of an earlier run (files beginning with the output's stem), so that the job asks
// no question about overwriting them and ogr2ogr writes afresh.
void removeOutputs(const fs::path& out) {
    std::vector<fs::path> old;
    for (const auto& e : fs::directory_iterator(out.parent_path()))
        if (e.path().filename().string().rfind(out.stem().string(), 0) == 0) old.push_back(e.path());
    for (const fs::path& p : old) fs::remove(p);
}

std::string jobCommand(const fs::path& program, int row, const fs::path& out, const std::vector<std::string>& inputs) {
    removeOutputs(out);
    std::string command = std::string(VELMORA_BINARY_DIR) + "/tools/jobrun --program-folder " + shellQuoted(program) +
                          " --kind mesh --row " + std::to_string(row) + " --datum 2000 --answer no --out " + shellQuoted(out);
    for (const std::string& in : inputs) command += " " + shellQuoted(in);
    return command;
}

std::string peerCommand(const fs::path& csv, const fs::path& out) {
    removeOutputs(out);
    return "ogr2ogr -f 'ESRI Shapefile' -lco ENCODING=CP932 -nlt POLYGON -oo GEOM_POSSIBLE_NAMES=WKT "
           "-oo KEEP_GEOM_COLUMNS=NO " + shellQuoted(out) + " " + shellQuoted(csv);
}

std::string wkt(const ModMesh::MeshRing& ring) {
    std::string w = "\"POLYGON ((";
    for (int k = 0; k < 5; ++k) w += (k ? "," : "") + text::formatNumber(ring.x[k]) + " " + text::formatNumber(ring.y[k]);
    return w + "))\"";
}

void report(const char* workload, double cells, const std::vector<double>& jobTimes, const std::vector<double>& peerTimes,
            long jobPeak, long writerPeak, double goal) {
    const double jt = median(jobTimes), pt = median(peerTimes);
    std::printf("[%s] cells: %.0f\n", workload, cells);
    std::printf("[%s] job (jobrun + Brunhale): %.2f s, %.0f cells/s\n", workload, jt, cells / jt);
    std::printf("[%s] ogr2ogr (CSV/WKT):       %.2f s, %.0f cells/s\n", workload, pt, cells / pt);
    std::printf("[%s] ratio job / ogr2ogr:     %.3f (goal at most %.1f)\n", workload, jt / pt, goal);
    std::printf("[%s] peak memory: jobrun %.1f MB, Brunhale %.1f MB (goal below 256 MB)\n", workload, jobPeak / 1024.0,
                writerPeak / 1024.0);
}

// Generates one input file of a workload into the program's "in" folder and lists it.
gen::MeshFileModel inputFile(const fs::path& program, const gen::MeshFileOptions& o, std::vector<std::string>& inputs) {
    gen::MeshFileModel m = gen::makeMeshFileModel(o);
    const fs::path p = program / "in" / (o.headerKey + "-" + std::to_string(o.firstLevelMesh) + ".txt");
    gen::writeMeshFile(p.string(), m);
    inputs.push_back(p.string());
    return m;
}

// The figures of the runs of a workload.
struct Runs {
    std::vector<double> job, peer;
    long jobPeak = 0, writerPeak = 0;
    void add(const Watched& j, double peerSeconds) {
        job.push_back(j.seconds);
        jobPeak = std::max(jobPeak, j.peakKb);
        writerPeak = std::max(writerPeak, j.childPeakKb);
        peer.push_back(peerSeconds);
    }
};

void finish(const fs::path& program) {
    if (!std::getenv("BENCH_KEEP")) fs::remove_all(program);
}

int forestWorkload(int runs) {
    const auto items = gen::layerItems(gen::MeshLayerKind::Forest);
    const fs::path program = programFolder("forest", {CatalogKind::Mesh, 2, "森林・国公有地メッシュ", "A45",
                                                      testsupport::lineItems(items), 3, 0});
    std::printf("[forest] generating 12 files of 6,400 records and 3,000 ledger records ...\n");
    std::ofstream csv(program / "cells.csv");
    std::ofstream csvt(program / "cells.csvt");
    csv << "WKT,1MCODE,2MCODE,3MCODE";
    csvt << "WKT,String(4),String(6),String(8)";
    for (std::size_t k = 0; k < items.size(); ++k) {
        csv << "," << items[k].name;
        csvt << "," << (items[k].type == "Integer" ? "Integer(" : "String(") << items[k].width << ")";
        if ((k + 1) >= 10 && (k + 1) <= 26 && (k + 1 - 10) % 4 == 0) {
            const std::string n = std::to_string((k + 1 - 10) / 4 + 1);
            csv << ",台" << n << "№1,台" << n << "№2,台" << n << "組織CD,台" << n << "部局,台" << n << "面積,台" << n
                << "口座名,台" << n << "所在地";
            csvt << ",Integer(3),Integer(1),Integer(3),Integer(6),Integer64(10),String(80),String(60)";
        }
    }
    csv << "\n";
    csvt << "\n";
    std::vector<std::string> inputs;
    for (int f = 0; f < 12; ++f) {
        gen::MeshFileOptions o;
        o.kind = gen::MeshLayerKind::Forest;
        o.headerKey = "A45";
        o.firstLevelMesh = kMeshes[f];
        o.records = 6400;
        o.ledgerRecords = 3000;
        const gen::MeshFileModel m = inputFile(program, o, inputs);
        for (const gen::GenMeshRecord& r : m.records) {
            std::string row = wkt(ModMesh::CellRing(r.code, 3, 0)) + "," + r.code.substr(0, 4) + "," + r.code.substr(0, 6) +
                              "," + r.code.substr(0, 8);
            for (std::size_t k = 0; k < r.values.size(); ++k) {
                row += "," + r.values[k];
                if ((k + 1) >= 10 && (k + 1) <= 26 && (k + 1 - 10) % 4 == 0) {
                    const std::string& key = r.keys[(k + 1 - 10) / 4];
                    if (key.empty()) {
                        row += ",,,,,,,";
                        continue;
                    }
                    const gen::GenForestLedger l = gen::generatedForestLedger(std::stoi(key) - 1000000);
                    row += "," + std::to_string(l.no1) + "," + std::to_string(l.no2) + "," + std::to_string(l.organisation) +
                           "," + std::to_string(l.office) + "," + std::to_string(l.area) + "," + l.name + "," + l.address;
                }
            }
            csv << row << "\n";
        }
    }
    csv.close();
    csvt.close();
    Runs all;
    for (int r = 0; r < runs; ++r)
        all.add(watched(jobCommand(program, 2, program / "out" / "forest.shp", inputs)),
                watched(peerCommand(program / "cells.csv", program / "out" / "peer.shp")).seconds);
    report("forest", 6400.0 * 12, all.job, all.peer, all.jobPeak, all.writerPeak, 0.5);
    finish(program);
    return 0;
}

int fourWayWorkload(int runs) {
    const auto items = gen::layerItems(gen::MeshLayerKind::FourWay);
    const fs::path program = programFolder("fourway", {CatalogKind::Mesh, 4, ModMesh::kFourWayLayerName, "C20",
                                                       testsupport::lineItems(items), 2, 0});
    std::printf("[fourway] generating 4 files of 50,000 records ...\n");
    std::vector<std::ofstream> csv;
    for (int k = 1; k <= 4; ++k) {
        csv.emplace_back(program / ("season" + std::to_string(k) + ".csv"));
        csv.back() << "WKT,1MCODE,2MCODE,波向,海霧,漁場\n";
        std::ofstream(program / ("season" + std::to_string(k) + ".csvt")) << "WKT,String(4),String(6),String(2),Integer(3),String(4)\n";
    }
    std::vector<std::string> inputs;
    for (int f = 0; f < 4; ++f) {
        gen::MeshFileOptions o;
        o.kind = gen::MeshLayerKind::FourWay;
        o.headerKey = "C20";
        o.firstLevelMesh = kMeshes[f];
        o.records = 50000;
        const gen::MeshFileModel m = inputFile(program, o, inputs);
        for (const gen::GenMeshRecord& r : m.records)
            csv[static_cast<std::size_t>(r.season[0] - '1')] << wkt(ModMesh::CellRing(r.code, 2, 0)) << "," << r.code.substr(0, 4)
                                                              << "," << r.code.substr(0, 6) << "," << r.values[0] << ","
                                                              << r.values[1] << "," << r.values[2] << "\n";
    }
    for (auto& c : csv) c.close();
    Runs all;
    for (int r = 0; r < runs; ++r) {
        const Watched j = watched(jobCommand(program, 4, program / "out" / "wave.shp", inputs));
        double peer = 0;
        for (int k = 1; k <= 4; ++k)
            peer += watched(peerCommand(program / ("season" + std::to_string(k) + ".csv"),
                                        program / "out" / ("peer" + std::to_string(k) + ".shp")))
                        .seconds;
        all.add(j, peer);
    }
    report("fourway", 200000.0, all.job, all.peer, all.jobPeak, all.writerPeak, 0.5);
    finish(program);
    return 0;
}

int subdividedWorkload(int runs, int files) {
    const fs::path program = programFolder("subdivided", {CatalogKind::Mesh, kRow, kLayerName, "L03-51M",
                                                          testsupport::meshCatalogueItems(gen::MeshFileFormat::Fixed, 10), 3, 10});

    std::printf("generating %d files of 6,400 records ...\n", files);
    std::vector<std::string> inputs;
    std::ofstream csv(program / "cells.csv");
    csv << "WKT,1MCODE,2MCODE,3MCODE,1/10CODE,土地利用,標高\n";
    std::uintmax_t inputBytes = 0;
    for (int f = 0; f < files; ++f) {
        gen::MeshFileOptions o;
        o.headerKey = "L03-51M";
        o.subdivision = 10;
        o.firstLevelMesh = kMeshes[f];
        o.records = 6400;
        const gen::MeshFileModel m = inputFile(program, o, inputs);
        inputBytes += fs::file_size(inputs.back());
        appendCsv(csv, m);
    }
    csv.close();
    std::ofstream(program / "cells.csvt") << "WKT,String(4),String(6),String(8),String(2),String(1),Integer(3)\n";
    const double cells = 6400.0 * 100 * files;

    auto job = [&](std::size_t fileCount, const std::string& out) {
        const std::vector<std::string> some(inputs.begin(), inputs.begin() + static_cast<long>(fileCount));
        return watched(jobCommand(program, kRow, program / "out" / out, some));
    };
    auto peer = [&] { return watched(peerCommand(program / "cells.csv", program / "out" / "peer.shp")); };

    std::vector<double> jobTimes, peerTimes;
    long jobPeak = 0, writerPeak = 0, peerPeak = 0;
    for (int r = 0; r < runs; ++r) {
        const Watched j = job(inputs.size(), "job.shp");
        jobTimes.push_back(j.seconds);
        jobPeak = std::max(jobPeak, j.peakKb);
        writerPeak = std::max(writerPeak, j.childPeakKb);
        const Watched p = peer();
        peerTimes.push_back(p.seconds);
        peerPeak = std::max(peerPeak, p.peakKb);
    }
    const Watched quarter = job(inputs.size() / 4, "quarter.shp");

    const std::string cmp =
        "cmp -s " + shellQuoted(program / "out" / "job.shp") + " " + shellQuoted(program / "out" / "peer.shp");
    const bool identical = std::system(cmp.c_str()) == 0;

    const double jt = median(jobTimes), pt = median(peerTimes);
    std::printf("cells: %.0f in %d files (%.1f MB of input)\n", cells, files, inputBytes / 1e6);
    std::printf("job (jobrun + Brunhale): %.2f s, %.0f cells/s, %.1f MB/s of input\n", jt, cells / jt, inputBytes / 1e6 / jt);
    std::printf("ogr2ogr (CSV/WKT):       %.2f s, %.0f cells/s\n", pt, cells / pt);
    std::printf("ratio job / ogr2ogr:     %.3f (goal at most 0.3)\n", jt / pt);
    std::printf("peak memory: jobrun %.1f MB, Brunhale %.1f MB, ogr2ogr %.1f MB (goal below 256 MB)\n", jobPeak / 1024.0,
                writerPeak / 1024.0, peerPeak / 1024.0);
    std::printf("jobrun peak at a quarter of the size: %.1f MB (%+.1f%% of the full size's; goal within 10%%)\n",
                quarter.peakKb / 1024.0, 100.0 * (jobPeak - quarter.peakKb) / std::max(1L, quarter.peakKb));
    std::printf(".shp files byte-identical: %s\n", identical ? "yes" : "NO");

    finish(program);
    return identical ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 1, files = 12;
    std::string workload = "all";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
        else if (a == "--files") files = std::clamp(std::atoi(argv[i + 1]), 4, 16);
        else if (a == "--workload") workload = argv[i + 1];
    }
    int result = 0;
    if (workload == "all" || workload == "subdivided") result |= subdividedWorkload(runs, files);
    if (workload == "all" || workload == "forest") result |= forestWorkload(runs);
    if (workload == "all" || workload == "fourway") result |= fourWayWorkload(runs);
    return result;
}
