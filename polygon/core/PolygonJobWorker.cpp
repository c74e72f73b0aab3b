// The worker thread of a polygon job: waits for the progress window, builds and saves the polygons,
// reports a failure in two boxes, logs the end and closes the window.
#include <exception>
#include <memory>
#include <thread>

#include "platform/errors/RunTimeError.h"
#include "platform/text/Cp932.h"
#include "platform/text/LineReader.h"
#include "polygon/core/KsPolygonMaker.h"
#include "polygon/core/KsPolygonMakerBasinFactory.h"
#include "polygon/core/PolygonJob.h"
#include "polygon/core/TextUtil.h"

namespace ostrand {

namespace {

std::unique_ptr<KsPolygonMaker> make_maker(PolygonJob& job) {
    switch (job.data_id) {
        case 0: case 6: case 9: case 10:
            return std::make_unique<KsPolygonMakerRepair>(job.layer, job.mesh_codes, &job.log_lines);
        case 1: case 2: case 5: case 7: case 8:
            return std::make_unique<KsPolygonMakerClean>(job.layer, job.mesh_codes, &job.log_lines);
        case 3: case 4:
            return std::make_unique<KsPolygonMakerRural>(job.layer, job.mesh_codes, &job.log_lines);
        case 20: {
            std::vector<std::string> codes;
            split(job.basin_codes ? job.basin_codes : "", ',', codes);
            return makeBasinMaker(job.layer, codes, &job.log_lines);
        }
        default:
            // The checks admit only the data items of the table, all of which are handled above.
            throw std::string("Invalid data id. polygon_worker()");
    }
}

// Waits until the window is visible (true) or the modal run has already ended (false).
bool wait_for_window(PolygonJob& job) {
    for (;;) {
        if (job.ui.window_visible()) return true;
        if (!job.dialog_running) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace

int polygon_worker(PolygonJob& job) {
    if (!wait_for_window(job)) {
        job.log_lines.push_back(sjis("システムエラー：ウィンドウの作成に失敗しました。"));
        job.result = JobResult::WindowFailed;
        return 0;
    }
    job.log_lines.push_back(sjis("> 処理開始"));

    JobUi& ui = job.ui;
    std::unique_ptr<KsPolygonMaker> maker;
    // A failure names where reading stood (the file and line a reader broke off at; the job's files when
    // reading had ended) and leaves its cause in the job's log.
    const auto fail = [&](const std::string& text) {
        std::string shown = text;
        if (const auto at = velmora::text::lastReadPosition()) {
            if (text.find(at->path) == std::string::npos) shown += "\r" + velmora::text::positionText(*at);
        } else {
            for (const std::string& path : job.files) shown += "\r" + path;
        }
        ui.stop_progress();
        ui.window_box(shown, "エラー", BoxIcon::Warning);
        std::string line = shown;
        for (char& c : line)
            if (c == '\r') c = ' ';
        if (velmora::text::canEncodeCp932(line)) job.log_lines.push_back(velmora::text::toCp932(line));
        job.result = JobResult::ProcessingError;
    };
    velmora::text::forgetReadPosition();
    try {
        maker = make_maker(job);
        ui.set_read_text("国土数値情報データ(*.txt)を読み込んでいます。");
        ui.start_progress(job.layer.data_id == 4 ? 400000 : 10000);
        maker->open_files(job.files);
        ui.set_read_text("国土数値情報データ(*.txt)を読み込みました。");
        ui.set_convert_text("ポリゴンデータに変換しています。");
        maker->build(job.stats);
        // Success means a written output: a job that kept no polygon fails instead of leaving the caller
        // an earlier file under the output's name.
        if (maker->polygons.empty()) throw sjis("変換できるポリゴンデータがありませんでした。");
        ui.set_convert_text("ポリゴンデータに変換しました。");
        ui.set_shape_text("Shapeファイル(*.shp, *.shx)を保存しています。");
        maker->save_shape(job.output_path);
        ui.set_shape_text("Shapeファイル(*.shp, *.shx)を保存しました。");
        ui.set_dbf_text("属性データファイル(*.dbf)を保存しています。");
        maker->save_dbf(job.output_path);
        ui.set_dbf_text("属性データファイル(*.dbf)を保存しました。");
    } catch (const std::string& text) {
        fail(velmora::text::fromCp932(text));
    } catch (const velmora::RunTimeError& e) {
        fail(e.description());  // already UTF-8 (Japanese)
    } catch (const std::exception& e) {
        fail(velmora::text::fromCp932(e.what()));
    } catch (...) {
        fail("不明なエラー");
    }
    maker.reset();

    job.log_lines.push_back(job.result == JobResult::Ok
                                ? sjis("> 処理終了")
                                : sjis("> エラーが生じたため処理を中止しました。Shapeファイルは作成されていません。"));
    job.log_lines.push_back(make_time_stamp(sjis("終了時刻：")));

    if (job.dialog_running && job.result == JobResult::Ok) {
        ui.finish_progress();
    } else if (job.dialog_running) {
        ui.stop_progress();
        ui.window_box("エラーが生じたため中止します。", "エラー", BoxIcon::Information);
    }
    ui.close_window();
    return 0;
}

}  // namespace ostrand
