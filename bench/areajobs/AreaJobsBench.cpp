// The nationwide area job against the polygon library it calls. The input is the library benchmark's rural
// item (data item 4: 100,000 areas with 25-vertex links, every other one holding an island), written by
// areagen. Each run is a process of its own, measured with wait4 (wall time, peak resident memory):
//   - the export alone, headless (ostrandrun, as the main program binds it),
//   - the nationwide area job in jobrun (the real dialog, tree ticks, the binding, the counts box),
// once for the whole file (the tree's root, the empty mesh list) and once for every other secondary mesh
// of the shipped mesh tree (jobrun --meshes @FILE; the same list to the export). Goal: the job takes at
// most 1.1 x the export's time + 1 s and the export's peak memory + 100 MB.
//
//   bench_areajobs [--runs N] [--scale F]   (F scales the grid's areas, for a quick look; BENCH_KEEP=1 keeps
//                                            the folder with the input, outputs and logs)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/text/Cp932.h"
#include "tests/app/jobs/JobCatalogue.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace velmora;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRuralRow = 4;

struct Run {
    int code = -1;
    double seconds = 0;
    double peakMb = 0;
};

// The benchmark itself stays small (the input is written by a child), so what wait4 reports is the child's.
Run spawnAndWait(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    Run r;
    const auto t0 = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        ::wait4(pid, &status, 0, &usage);
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.peakMb = usage.ru_maxrss / 1024.0;
    }
    r.seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    posix_spawn_file_actions_destroy(&actions);
    return r;
}

// Each run starts without the outputs of the one before: the job would ask whether to overwrite them.
Run medianRun(const std::vector<std::string>& argv, int runs, const char* what, const fs::path& outputs) {
    std::vector<Run> all;
    for (int i = 0; i < runs; ++i) {
        fs::remove_all(outputs);
        fs::create_directories(outputs);
        all.push_back(spawnAndWait(argv));
        if (all.back().code != 0) {
            std::fprintf(stderr, "bench_areajobs: %s failed with %d\n", what, all.back().code);
            std::exit(1);
        }
    }
    std::sort(all.begin(), all.end(), [](const Run& a, const Run& b) { return a.seconds < b.seconds; });
    return all[all.size() / 2];
}

// Every other secondary mesh of the mesh tree, in the tree's order, joined by ",".
std::string everyOtherMesh(const fs::path& tree) {
    std::ifstream in(tree, std::ios::binary);
    std::string codes;
    int n = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("2,", 0) != 0) continue;
        const std::size_t a = line.find(',', 2), b = line.find(',', a + 1);
        if (a == std::string::npos || b == std::string::npos || n++ % 2 != 0) continue;
        codes += (codes.empty() ? "" : ",") + line.substr(a + 1, b - a - 1);
    }
    return codes;
}

void compare(const char* what, const Run& library, const Run& job) {
    const double timeGoal = 1.1 * library.seconds + 1.0, memoryGoal = library.peakMb + 100.0;
    std::printf("%-28s export %6.2f s %6.0f MB | job %6.2f s %6.0f MB | time ratio %.2f (goal <= %.2f s: %s), "
                "memory +%.0f MB (goal <= %.0f MB: %s)\n",
                what, library.seconds, library.peakMb, job.seconds, job.peakMb, job.seconds / library.seconds,
                timeGoal, job.seconds <= timeGoal ? "met" : "MISSED", job.peakMb - library.peakMb, memoryGoal,
                job.peakMb <= memoryGoal ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 3;
    double scale = 1.0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
        else if (a == "--scale") scale = std::atof(argv[i + 1]);
    }
    const std::string bin = VELMORA_BINARY_DIR;
    const fs::path programDir = VELMORA_PROGRAM_DIR;
    const fs::path program = fs::temp_directory_path() / ("velmora_bench_areajobs_" + std::to_string(::getpid()));
    fs::remove_all(program);
    for (const char* sub : {"Log", "in", "out"}) fs::create_directories(program / sub);
    for (const char* file : {"Brunhale", "libOstrand.so", "DataView.csv"})
        fs::copy_file(programDir / file, program / file);
    testsupport::writeCatalogue(program, {{CatalogKind::Area, kRuralRow, "森林地域", "A13-60A", {}}});

    const double side = std::sqrt(std::max(scale, 1e-4));
    const int cols = std::max(2, static_cast<int>(400 * side)), rows = std::max(2, static_cast<int>(250 * side));
    const std::string input = (program / "in" / "rural.txt").string();
    if (spawnAndWait({bin + "/tests/areagen", "--item", "4", "--cols", std::to_string(cols), "--rows",
                      std::to_string(rows), "--vertices", "25", "--islands", (program / "in" / "rural").string()})
            .code != 0) {
        std::fprintf(stderr, "bench_areajobs: areagen failed\n");
        return 1;
    }
    const std::string meshes = everyOtherMesh(program / "DataView.csv");
    const std::string meshFile = (program / "in" / "meshes.txt").string();
    std::ofstream(meshFile) << meshes << "\n";
    std::printf("rural item (4): %d x %d areas and their islands, %.0f MB; %zu meshes in the narrowed runs; "
                "median of %d runs each\n",
                cols, rows, fs::file_size(input) / 1e6, static_cast<std::size_t>(std::count(meshes.begin(), meshes.end(), ',') + 1),
                runs);

    const std::string prog = program.string();
    auto exportRun = [&](const std::string& meshList, const char* out) {
        return std::vector<std::string>{bin + "/tools/ostrandrun", "--program-folder", prog, "--meshes", meshList, "4",
                                        input, prog + "/out/" + out + ".shp", prog + "/Log/" + out + ".log"};
    };
    auto jobRun = [&](const std::vector<std::string>& ticks, const char* out) {
        std::vector<std::string> a = {bin + "/tools/jobrun", "--program-folder", prog, "--nationwide", "--kind", "area",
                                      "--row", std::to_string(kRuralRow), "--polygons", "yes", "--attached", "none"};
        a.insert(a.end(), ticks.begin(), ticks.end());
        a.insert(a.end(), {"--out", prog + "/out/" + out + ".shp", input});
        return a;
    };

    const fs::path outputs = program / "out";
    const Run exportAll = medianRun(exportRun("", "export_all"), runs, "export, whole file", outputs);
    const Run jobAll = medianRun(jobRun({"--all"}, "job_all"), runs, "job, whole file", outputs);
    compare("whole file", exportAll, jobAll);
    const Run exportMeshes = medianRun(exportRun("@" + meshFile, "export_meshes"), runs, "export, meshes", outputs);
    const Run jobMeshes = medianRun(jobRun({"--meshes", "@" + meshFile}, "job_meshes"), runs, "job, meshes", outputs);
    compare("every other mesh", exportMeshes, jobMeshes);

    if (!std::getenv("BENCH_KEEP")) fs::remove_all(program);
    else std::printf("kept %s\n", prog.c_str());
    return 0;
}
