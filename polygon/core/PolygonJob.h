#pragma once
// One run of an export: checks the arguments and input files, runs the worker that builds and saves the
// polygons while the progress window is shown on the calling thread, then writes the log. Made on the
// export's stack and destroyed before the export returns; the borrowed texts belong to the caller.
//
// Paths (input files, output, log) are in the file system's encoding (UTF-8) and are converted to CP932
// only where they are written into the log; codes are ASCII. Log lines are CP932.
#include <atomic>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "polygon/core/DataItems.h"
#include "polygon/core/JobUi.h"
#include "polygon/core/PolygonStats.h"

namespace ostrand {

enum class JobResult : std::int16_t {
    Ok = 0,
    BadDataId = 1,
    NoInputFiles = 2,
    NoOutputPath = 3,
    NoLogPath = 4,
    NoMeshCodes = 5,
    UserDeclined = 11,
    NoMatchingFiles = 12,
    MixedYears = 13,
    WindowFailed = 101,
    ProcessingError = 102,
};

class PolygonJob {
public:
    PolygonJob(int data_id, const char* input_files, const char* output_path, const char* log_path,
               const char* mesh_codes, const char* basin_codes, JobUi& ui);
    PolygonJob(const PolygonJob&) = delete;
    PolygonJob& operator=(const PolygonJob&) = delete;

    // The whole job; `stats` receives the counts once the polygons have been built.
    JobResult run(PolygonStats* stats);

    // Input checks (PolygonJobChecks.cpp). check_input: true to go on, else `result` holds the refusal.
    bool check_input();
    // Splits `files` into matching and other files, logs both lists and keeps the matching ones: 0 when
    // none matched, negative when some did not match, positive when all matched.
    long long group_files(std::set<std::string>& codes);
    // The record count of a file of the job's data item (its code joins `codes`), else 0.
    long long check_file(const std::string& path, std::set<std::string>& codes);

    void save_log();

    int data_id;
    const char* input_files;
    const char* output_path;
    const char* log_path;
    const char* mesh_codes;
    const char* basin_codes;
    JobResult result = JobResult::Ok;
    PolygonStats* stats = nullptr;
    std::vector<std::string> files;
    LayerRecord layer;
    std::vector<std::string> log_lines;
    JobUi& ui;
    // Set just before the worker starts, cleared as soon as the modal window has returned.
    std::atomic<bool> dialog_running{false};
};

// The worker thread's procedure (PolygonJobWorker.cpp).
int polygon_worker(PolygonJob& job);

// A UTF-8 path as it stands in the log: CP932, with "?" for a character CP932 cannot hold.
std::string log_text_of_path(const std::string& path);

}  // namespace ostrand
