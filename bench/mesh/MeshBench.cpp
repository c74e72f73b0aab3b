// Mesh job benchmark: a prefecture-scale 1/10-subdivided layer, twelve generated files of one first-level
// mesh each (6,400 records of 100 cells per file: 76,800 records, 7,680,000 cells), converted by the
// headless job runner with the real Brunhale; in the same run ogr2ogr writes the same cells from a CSV
// with WKT and a .csvt of the same fields. Prints the median wall times, cells per second, the ratio of
// the two, the peak resident memory of jobrun and of Brunhale (sampled from /proc while they run), jobrun's
// peak at a quarter of the size, and whether the two .shp files are byte-identical.
//
//   bench_mesh [--runs N] [--files K]     (K first-level meshes, 12 by default; BENCH_KEEP=1 keeps the
//                                          program folder with its inputs and outputs)
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

#include "convert/mesh/MeshGeometry.h"
#include "platform/text/Conversions.h"
#include "tests/app/jobs/JobCatalogue.h"
#include "tests/tools/gen/MeshFileGen.h"

namespace fs = std::filesystem;
using namespace velmora;
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
        for (pid_t c : children(pid)) w.childPeakKb = std::max(w.childPeakKb, vmHwmKb(c));
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

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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

}  // namespace

int main(int argc, char** argv) {
    int runs = 1, files = 12;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
        else if (a == "--files") files = std::clamp(std::atoi(argv[i + 1]), 4, 16);
    }

    const fs::path program = fs::temp_directory_path() / ("velmora_bench_mesh_" + std::to_string(::getpid()));
    fs::remove_all(program);
    for (const char* sub : {"Log", "in", "out"}) fs::create_directories(program / sub);
    fs::copy_file(fs::path(VELMORA_PROGRAM_DIR) / "Brunhale", program / "Brunhale");
    testsupport::writeCatalogue(program, {{CatalogKind::Mesh, kRow, kLayerName, "L03-51M",
                                           testsupport::meshCatalogueItems(gen::MeshFileFormat::Fixed, 10), 3, 10}});

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
        const gen::MeshFileModel m = gen::makeMeshFileModel(o);
        const fs::path p = program / "in" / ("L03-51M-" + std::to_string(kMeshes[f]) + ".txt");
        gen::writeMeshFile(p.string(), m);
        inputBytes += fs::file_size(p);
        inputs.push_back(p.string());
        appendCsv(csv, m);
    }
    csv.close();
    std::ofstream(program / "cells.csvt") << "WKT,String(4),String(6),String(8),String(2),String(1),Integer(3)\n";
    const double cells = 6400.0 * 100 * files;

    auto job = [&](std::size_t fileCount, const std::string& out) {
        std::string command = std::string(VELMORA_BINARY_DIR) + "/tools/jobrun --program-folder " + shellQuoted(program) +
                              " --kind mesh --row " + std::to_string(kRow) + " --datum 2000 --answer no --out " +
                              shellQuoted(program / "out" / out);
        for (std::size_t f = 0; f < fileCount; ++f) command += " " + shellQuoted(inputs[f]);
        return watched(command);
    };
    auto peer = [&] {
        fs::remove(program / "out" / "peer.shp");
        return watched("ogr2ogr -f 'ESRI Shapefile' -lco ENCODING=CP932 -nlt POLYGON -oo GEOM_POSSIBLE_NAMES=WKT -oo KEEP_GEOM_COLUMNS=NO " +
                       shellQuoted(program / "out" / "peer.shp") + " " + shellQuoted(program / "cells.csv"));
    };

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

    if (!std::getenv("BENCH_KEEP")) fs::remove_all(program);
    return identical ? 0 : 1;
}
