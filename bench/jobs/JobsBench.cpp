// Whole-job benchmark: the headless job runner converts, as the convert button does, a line job over four
// generated files (50,000 links of 8 vertices and 25,000 lines each) and an attribute-table job over
// 200,000 rows. Prints the median wall time of each job over the runs and features per second.
//
//   bench_jobs [--runs N] [--scale F]     (F scales every count, for a quick look; BENCH_KEEP=1 keeps the
//                                          program folder with its inputs, outputs and logs)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/BenchSupport.h"
#include "tests/app/jobs/JobCatalogue.h"
#include "tests/tools/gen/AttrFileGen.h"
#include "tests/tools/gen/LineFileGen.h"

namespace fs = std::filesystem;
using namespace velmora;
using velmora::bench::median;
using Clock = std::chrono::steady_clock;

namespace {

// Runs jobrun with the arguments and gives its wall time; a job that fails ends the benchmark.
double timedJob(const fs::path& program, const std::string& arguments) {
    const std::string command = std::string(VELMORA_BINARY_DIR) + "/tools/jobrun --program-folder '" +
                                program.string() + "' " + arguments + " > /dev/null";
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "bench_jobs: job failed: %s\n", arguments.c_str());
        std::exit(1);
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 5;
    double scale = 1.0;
    bench::readRunsAndScale(argc, argv, runs, scale);
    auto scaled = [scale](long n) { return std::max(1L, static_cast<long>(n * scale)); };

    const fs::path program = fs::temp_directory_path() / ("velmora_bench_jobs_" + std::to_string(::getpid()));
    fs::remove_all(program);
    fs::create_directories(program / "Log");
    fs::create_directories(program / "in");
    fs::create_directories(program / "out");
    fs::copy_file(fs::path(VELMORA_PROGRAM_DIR) / "Brunhale", program / "Brunhale");
    const std::vector<testsupport::CatalogueItem> beach = {
        {"コード", "Text", 4, 5, true}, {"名称", "Text1", 9, 20, true}, {"人数", "Long", 29, 8, true}};
    testsupport::writeCatalogue(program, {{CatalogKind::Line, 3, "海岸線", "N03-L",
                                           testsupport::lineItems(gen::ordinaryLedgerItems())},
                                          {CatalogKind::Attr, 3, "海水浴台帳", "W07", beach}});

    const int files = 4;
    const long links = scaled(50000), lines = scaled(25000), rows = scaled(200000);
    std::string lineInputs;
    for (int f = 0; f < files; ++f) {
        gen::LineFileOptions o = testsupport::coastlineFile(1);
        o.firstLinkSerial = static_cast<int>(1 + f * links);
        o.firstLineSerial = static_cast<int>(1 + f * lines);
        o.links = static_cast<int>(links);
        o.lines = static_cast<int>(lines);
        o.verticesPerLink = 8;
        const fs::path p = program / "in" / ("coast" + std::to_string(f) + ".txt");
        gen::writeLineFile(p.string(), gen::makeLineFileModel(o));
        lineInputs += " '" + p.string() + "'";
    }
    gen::AttrBulkOptions options;
    options.header = {"", "W07", "", "2008", "1", rows};
    options.columns = {{4, 5, false}, {9, 20, false}, {29, 8, true}};
    options.rows = rows;
    const fs::path table = program / "in" / "beach.txt";
    gen::writeBulkAttrFile(table.string(), options);

    std::vector<double> lineTimes, attrTimes;
    for (int r = 0; r < runs; ++r) {
        lineTimes.push_back(timedJob(program, "--kind line --row 3 --answer yes --answer no --out '" +
                                                  (program / "out" / "coast.shp").string() + "'" + lineInputs));
        attrTimes.push_back(timedJob(program, "--kind attr --row 3 --out '" + (program / "out" / "beach.dbf").string() +
                                                  "' '" + table.string() + "'"));
    }
    const double lineMedian = median(lineTimes), attrMedian = median(attrTimes);
    std::printf("line job   (%d files, %ld lines): median %.3f s, %.0f lines/s\n", files, files * lines, lineMedian,
                files * lines / lineMedian);
    std::printf("attr job   (%ld rows): median %.3f s, %.0f rows/s\n", rows, attrMedian, rows / attrMedian);
    if (!std::getenv("BENCH_KEEP")) fs::remove_all(program);
    return 0;
}
