// The exports. Each runs one PolygonJob on its own stack with the Qt progress window when a QApplication
// runs on the calling thread, headless otherwise, and hands back the status and counts. Nothing thrown
// may cross the C boundary: an escaping failure is reported as a processing failure.
#include "polygon/lib/OstrandExports.h"

#include <cstdlib>

#include "polygon/core/JobUiHeadless.h"
#include "polygon/core/PolygonJob.h"
#include "polygon/lib/QtJobUi.h"

namespace ostrand {

namespace {

// Headless callers may ask for a progress window that never appears, to see the job's window failure.
constexpr const char* kWindowFailsVariable = "OSTRAND_TEST_WINDOW_FAILS";

std::int16_t run_job(int data_id, const char* input_files, const char* output_path, const char* log_path,
                     const char* mesh_codes, const char* basin_codes, PolygonStats& stats) {
    try {
        const auto run = [&](JobUi& ui) {
            PolygonJob job(data_id, input_files, output_path, log_path, mesh_codes, basin_codes, ui);
            return static_cast<std::int16_t>(job.run(&stats));
        };
        if (qt_application_on_this_thread()) {
            QtJobUi ui;
            return run(ui);
        }
        const char* fails = std::getenv(kWindowFailsVariable);
        HeadlessJobUi ui(HeadlessJobUi::Options{fails != nullptr && *fails == '1'});
        return run(ui);
    } catch (...) {
        return static_cast<std::int16_t>(JobResult::ProcessingError);
    }
}

}  // namespace

}  // namespace ostrand

std::int16_t Ostrand(
    std::int16_t data_id, const char* input_files, const char* output_path, const char* log_path,
    const char* mesh_codes, std::int32_t* total, std::int32_t* made, std::int32_t* incomplete,
    std::int32_t* rural_records) {
    ostrand::PolygonStats stats;
    const std::int16_t status =
        ostrand::run_job(data_id, input_files, output_path, log_path, mesh_codes, nullptr, stats);
    if (total && made && incomplete && rural_records) {
        *total = stats.total;
        *made = stats.made;
        *incomplete = stats.incomplete;
        *rural_records = stats.rural_records;
    }
    return status;
}

std::int16_t MakeSyusuiV6(
    const char* basin_codes, const char* input_files, const char* output_path, const char* log_path,
    std::int32_t* total, std::int32_t* made, std::int32_t* incomplete) {
    ostrand::PolygonStats stats;
    const std::int16_t status = ostrand::run_job(20, input_files, output_path, log_path, nullptr, basin_codes, stats);
    if (total && made && incomplete) {
        *total = stats.total;
        *made = stats.made;
        *incomplete = stats.incomplete;
    }
    return status;
}
