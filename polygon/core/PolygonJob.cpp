#include "polygon/core/PolygonJob.h"

#include <exception>
#include <thread>

#include "platform/text/Cp932.h"
#include "platform/text/LineWriter.h"

namespace ostrand {

PolygonJob::PolygonJob(int id, const char* input, const char* output, const char* log, const char* meshes,
                       const char* basins, JobUi& job_ui)
    : data_id(id),
      input_files(input),
      output_path(output),
      log_path(log),
      mesh_codes(meshes),
      basin_codes(basins),
      layer(-1, "", ""),
      ui(job_ui) {}

JobResult PolygonJob::run(PolygonStats* job_stats) {
    result = JobResult::Ok;
    log_lines.clear();
    stats = job_stats;
    if (!check_input()) {
        log_lines.clear();
        return result;
    }

    dialog_running = true;
    std::thread worker([this] {
        polygon_worker(*this);
        ui.worker_ended();
    });
    try {
        ui.run_modal();
    } catch (...) {
        dialog_running = false;
        worker.join();
        throw;
    }
    dialog_running = false;
    ui.wait_for_worker();
    worker.join();

    if (log_path && *log_path) save_log();
    return result;
}

void PolygonJob::save_log() {
    try {
        velmora::text::LineWriter out(log_path, velmora::text::LineWriter::Mode::Replace);
        // Written as a text file: a line feed inside a line (the time stamps end in one) becomes CR LF as
        // well, so such a line is followed by an empty line.
        std::string text;
        for (const std::string& line : log_lines) {
            text.clear();
            for (char c : line) {
                if (c == '\n') text += '\r';
                text += c;
            }
            out.writeLine(text);
        }
        out.close();
    } catch (const std::exception&) {
        ui.message_box("ログファイルの保存に失敗しました", "メッセージ", BoxIcon::Warning, BoxButtons::Ok);
    }
}

std::string log_text_of_path(const std::string& path) {
    using velmora::text::canEncodeCp932;
    using velmora::text::toCp932;
    if (canEncodeCp932(path)) return toCp932(path);
    std::string out;
    for (std::size_t i = 0; i < path.size();) {
        const unsigned char lead = static_cast<unsigned char>(path[i]);
        std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (i + n > path.size()) n = path.size() - i;
        const std::string ch = path.substr(i, n);
        out += canEncodeCp932(ch) ? toCp932(ch) : std::string("?");
        i += n;
    }
    return out;
}

}  // namespace ostrand
