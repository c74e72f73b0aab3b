// Nationwide line jobs: one generated file of 100,000 lines over 1,600 secondary meshes, converted through
// the headless job runner (a) with the root ticked, (b) with 4 neighbouring meshes, (c) with 60 scattered
// meshes and (d) with one mesh that holds no line (load and query only; the job ends with the no-data
// box), beside the file-list job on the same file and ogr2ogr copying the whole-country output. Prints the
// median wall time and the peak memory (wait4) of each, and the goals:
//   (a) <= 1.1 x the file-list job;
//   (b), (c): time - (d) <= 2 x (share of lines selected) x ((a) - (d)) + 0.3 s;  peak memory <= (a).
//
//   bench_nationwide [--runs N] [--scale F]     (F scales the line count; BENCH_KEEP=1 keeps the folder)
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/app/jobs/JobCatalogue.h"
#include "tests/tools/gen/LineFileGen.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace velmora;
using Clock = std::chrono::steady_clock;

namespace {

struct Run {
    double seconds = 0;
    long peakKb = 0;
    int exitCode = 0;
};

// Runs a command through /bin/sh, its output into `log`; wall time, peak resident memory and exit code.
Run timed(const std::string& command, const std::string& log) {
    const std::string quiet = "exec " + command + " > '" + log + "' 2>&1";
    const char* argv[] = {"/bin/sh", "-c", quiet.c_str(), nullptr};
    pid_t pid = 0;
    const auto start = Clock::now();
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
        std::fprintf(stderr, "bench_nationwide: cannot start %s\n", command.c_str());
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Run r;
    r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    r.peakKb = usage.ru_maxrss;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

struct Figures {
    double seconds;
    long peakKb;
};

Figures medianOf(const std::vector<Run>& runs) {
    std::vector<double> t;
    long peak = 0;
    for (const Run& r : runs) {
        t.push_back(r.seconds);
        peak = std::max(peak, r.peakKb);
    }
    std::sort(t.begin(), t.end());
    return {t[t.size() / 2], peak};
}

std::string meshCode(int row, int col) {
    char c[8];
    std::snprintf(c, sizeof c, "%02d%02d%d%d", row / 8, col / 8, row % 8, col % 8);
    return c;
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
    const fs::path program = fs::temp_directory_path() / ("velmora_bench_nationwide_" + std::to_string(::getpid()));
    fs::remove_all(program);
    for (const char* f : {"Log", "in", "out"}) fs::create_directories(program / f);
    fs::copy_file(fs::path(VELMORA_PROGRAM_DIR) / "Brunhale", program / "Brunhale");
    testsupport::writeCatalogue(program, {{CatalogKind::Line, 3, "海岸線", "N03-L",
                                           testsupport::lineItems(gen::ordinaryLedgerItems())}});

    // 1,600 meshes in a 40 x 40 block, four prefectures of ten mesh rows each; one more mesh without lines.
    std::vector<int> meshes;
    std::string tree;
    for (int p = 0; p < 4; ++p) {
        tree += "1,0" + std::to_string(p + 1) + ",県" + std::to_string(p + 1) + "\n";
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 40; ++c) {
                const std::string code = meshCode(424 + p * 10 + r, 312 + c);
                meshes.push_back(std::stoi(code));
                tree += "2,0" + std::to_string(p + 1) + "," + code + ",m\n";
            }
    }
    const std::string empty = meshCode(500, 312);
    tree += "2,04," + empty + ",empty\n";
    {
        std::vector<std::string> lines;
        std::size_t from = 0;
        for (std::size_t at; (at = tree.find('\n', from)) != std::string::npos; from = at + 1)
            lines.push_back(tree.substr(from, at - from));
        std::string bytes;
        for (const std::string& l : lines) bytes += text::toCp932(l) + "\r\n";
        FILE* f = std::fopen((program / "DataView.csv").c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }

    gen::LineFileOptions o;
    o.headerKey = "N03-L";
    o.meshes = meshes;
    o.links = o.lines = std::max(1, static_cast<int>(100000 * scale));
    o.linksPerLine = 1;
    o.verticesPerLink = 8;
    const fs::path input = program / "in" / "japan.txt";
    // The input is generated in a child process: a spawned job starts in this process's memory until it
    // execs, and the peak wait4 reports would count this process's peak.
    if (const pid_t generator = fork(); generator == 0) {
        gen::writeLineFile(input.string(), gen::makeLineFileModel(o));
        _exit(0);
    } else {
        int status = 0;
        waitpid(generator, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
    }

    std::string four, scattered;
    for (int k = 0; k < 4; ++k) four += (k ? "," : "") + std::to_string(meshes[700 + k]);
    for (int k = 0; k < 60; ++k) scattered += (k ? "," : "") + std::to_string(meshes[static_cast<std::size_t>(k * 26 + 3)]);
    const double shareFour = 4.0 / meshes.size(), shareScattered = 60.0 / meshes.size();

    const std::string jobrun = std::string(VELMORA_BINARY_DIR) + "/tools/jobrun --program-folder '" + program.string() +
                               "' --kind line --row 3 ";
    const std::string in = " '" + input.string() + "'";
    auto out = [&](const char* name) { return "--out '" + (program / "out" / name).string() + "'"; };
    struct Job {
        const char* name;
        std::string command;
        int expectedExit;
        const char* output;  // removed before each run, so that no overwrite question comes
        std::vector<Run> runs;
    };
    std::vector<Job> jobs = {
        {"file-list job", jobrun + out("list.shp") + in, 0, "list", {}},
        {"(a) root", jobrun + "--nationwide --all " + out("all.shp") + in, 0, "all", {}},
        {"(b) 4 meshes", jobrun + "--nationwide --meshes " + four + " " + out("four.shp") + in, 0, "four", {}},
        {"(c) 60 scattered", jobrun + "--nationwide --meshes " + scattered + " " + out("sixty.shp") + in, 0, "sixty", {}},
        {"(d) no lines", jobrun + "--nationwide --meshes " + empty + " " + out("none.shp") + in, 1, "none", {}},
        {"ogr2ogr copy of (a)",
         "ogr2ogr -f 'ESRI Shapefile' '" + (program / "out" / "copy.shp").string() + "' '" +
             (program / "out" / "all.shp").string() + "'",
         0, "copy", {}},
    };
    for (int r = 0; r < runs; ++r) {
        for (Job& j : jobs) {
            for (const char* extension : {".shp", ".shx", ".dbf", ".prj", ".cpg"})
                fs::remove(program / "out" / (std::string(j.output) + extension));
            const std::string log = (program / "job.log").string();
            const Run run = timed(j.command, log);
            if (run.exitCode != j.expectedExit) {
                std::fprintf(stderr, "bench_nationwide: %s ended with %d:\n", j.name, run.exitCode);
                std::system(("cat '" + log + "' >&2").c_str());
                return 1;
            }
            j.runs.push_back(run);
        }
    }
    std::vector<Figures> f;
    for (const Job& j : jobs) {
        f.push_back(medianOf(j.runs));
        std::printf("%-22s median %7.3f s  peak %7.1f MB\n", j.name, f.back().seconds, f.back().peakKb / 1024.0);
    }
    const Figures &list = f[0], &a = f[1], &b = f[2], &c = f[3], &d = f[4], &copy = f[5];
    std::printf("%ld lines over %zu meshes\n", static_cast<long>(o.lines), meshes.size());
    std::printf("(a) / file-list job     %.3f  (goal <= 1.1)\n", a.seconds / list.seconds);
    std::printf("(a) / ogr2ogr copy      %.2f\n", a.seconds / copy.seconds);
    auto goal = [&](const char* name, const Figures& x, double share) {
        const double bound = 2 * share * (a.seconds - d.seconds) + 0.3;
        std::printf("%s - (d) = %.3f s  (goal <= %.3f s)  peak %s (a)\n", name, x.seconds - d.seconds, bound,
                    x.peakKb <= a.peakKb ? "<=" : ">");
    };
    goal("(b)", b, shareFour);
    goal("(c)", c, shareScattered);
    if (!std::getenv("BENCH_KEEP")) fs::remove_all(program);
    return 0;
}
