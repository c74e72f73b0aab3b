// Runs one whole polygon job headless with a fixed clock, so that two builds of the library can be
// compared by the files they write. Built twice: with the library's searches (polygon_job_indexed) and
// with their literal forms linked in their place (polygon_job_literal).
//
//   polygon_job_* ITEM FILES OUTPUT LOG MESHES BASINS     ("-" for MESHES or BASINS: none given)
//
// Prints the job's result and counters on one line.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "polygon/core/JobUiHeadless.h"
#include "polygon/core/PolygonJob.h"
#include "polygon/core/TextUtil.h"

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: %s ITEM FILES OUTPUT LOG MESHES|- BASINS|-\n", argv[0]);
        return 2;
    }
    auto given = [](const char* s) { return std::strcmp(s, "-") == 0 ? nullptr : s; };
    ostrand::set_clock([] { return ostrand::LocalTime{2005, 11, 15, 6, 7, 9}; });
    ostrand::HeadlessJobUi ui;
    ostrand::PolygonJob job(std::atoi(argv[1]), argv[2], argv[3], argv[4], given(argv[5]), given(argv[6]), ui);
    ostrand::PolygonStats stats;
    const ostrand::JobResult result = job.run(&stats);
    std::printf("result %d total %d made %d incomplete %d dropped %d rural %d\n", static_cast<int>(result),
                stats.total, stats.made, stats.incomplete, stats.dropped, stats.rural_records);
    return 0;
}
