// The checks of a polygon job: its arguments, then the data code and record counts of every input file.
#include <algorithm>
#include <exception>
#include <optional>

#include "platform/text/Cp932.h"
#include "platform/text/LineReader.h"
#include "polygon/core/AreaFileCounts.h"
#include "polygon/core/AreaLineSource.h"
#include "polygon/core/PolygonJob.h"
#include "polygon/core/TextUtil.h"

namespace ostrand {

namespace {

bool missing(const char* text) { return text == nullptr || *text == '\0'; }

bool requires_mesh_codes(int id) { return id == 2 || id == 3 || id == 4 || id == 6 || id == 7 || id == 9; }

// The administrative-area item matches every creation year: "N03-" + two year bytes + "A".
bool code_matches(const LayerRecord& layer, const std::string& code) {
    if (layer.data_id == 8) return code.compare(0, 4, "N03-") == 0 && code.size() > 6 && code[6] == 'A';
    return code == layer.code;
}

}  // namespace

bool PolygonJob::check_input() {
    log_lines.push_back(sjis("[面データ]データ変換開始。"));
    log_lines.push_back(make_time_stamp(sjis("開始時刻：")));

    const LayerRecord* found = find_layer_record(data_id);
    JobResult refusal = JobResult::Ok;
    if (!found || (data_id == 20 && missing(basin_codes)))
        refusal = JobResult::BadDataId;
    else if (missing(input_files))
        refusal = JobResult::NoInputFiles;
    else if (missing(output_path))
        refusal = JobResult::NoOutputPath;
    else if (missing(log_path))
        refusal = JobResult::NoLogPath;
    else if (requires_mesh_codes(data_id) && mesh_codes == nullptr)
        refusal = JobResult::NoMeshCodes;
    if (refusal != JobResult::Ok) {
        result = refusal;
        return false;
    }
    if (!requires_mesh_codes(data_id)) mesh_codes = nullptr;

    layer = *found;
    split_utf8(input_files, ',', files);
    log_lines.push_back(sjis("> 入力ファイルのデータコードをチェックします。"));

    std::set<std::string> codes;
    const long long r = group_files(codes);
    const std::string name = velmora::text::fromCp932(layer.name);
    if (r == 0) {
        // The files are named: the user sees which of them were taken for another item.
        std::string listed;
        for (const std::string& f : files) listed += "\n" + f;
        ui.message_box("[" + name + "]に該当するファイルがありませんでした。\nファイル選択をやりなおしてください。" + listed,
                       "メッセージ", BoxIcon::Information, BoxButtons::Ok);
        result = JobResult::NoMatchingFiles;
        return false;
    }
    if (data_id == 8 && codes.size() >= 2) {
        ui.message_box("[" + name + "]で作成年度の異なるデータが混在しています\n" +
                           "同一の作成年度のファイルのみを選択してください。",
                       "メッセージ", BoxIcon::Information, BoxButtons::Ok);
        result = JobResult::MixedYears;
        return false;
    }
    if (r < 0 && ui.message_box("[" + name + "]以外のファイルが含まれます。\n[" + name +
                                    "]のファイルのみを使って処理を続けますか？",
                                "メッセージ", BoxIcon::Question, BoxButtons::YesNo) != BoxAnswer::Yes) {
        result = JobResult::UserDeclined;
        return false;
    }
    return true;
}

long long PolygonJob::group_files(std::set<std::string>& codes) {
    std::vector<std::string> matching, others;
    long long sum = 0;
    for (const std::string& path : files) {
        const long long n = check_file(path, codes);
        if (n <= 0) {
            others.push_back(path);
        } else if (std::find(matching.begin(), matching.end(), path) == matching.end()) {
            matching.push_back(path);
            sum += n;
        }
    }

    const auto list = [this](const std::vector<std::string>& paths) {
        if (paths.empty()) log_lines.push_back(sjis("なし"));
        for (const std::string& p : paths) log_lines.push_back(log_text_of_path(p));
    };
    log_lines.push_back("[" + layer.name + "]" + sjis("に該当するファイル："));
    list(matching);
    log_lines.push_back("[" + layer.name + "]" + sjis("に該当しないファイル："));
    list(others);
    log_lines.emplace_back();

    if (matching.empty()) return 0;
    files = std::move(matching);
    return others.empty() ? sum : -sum;
}

long long PolygonJob::check_file(const std::string& path, std::set<std::string>& codes) {
    std::string header, counts_line;
    std::optional<AreaFileCounts> counts;
    try {
        velmora::text::LineReader in(path);
        // A first line longer than any area file's is no header: the file is of another kind.
        if (!in.next(header, AreaLineSource::kLongestLine) || header.size() <= 32 ||
            header.size() > AreaLineSource::kLongestLine)
            return 0;
        const std::string code = header.substr(13, 7);
        if (!code_matches(layer, code)) return 0;
        codes.insert(code);
        if (in.next(counts_line, AreaLineSource::kLongestLine) &&
            counts_line.size() <= AreaLineSource::kLongestLine)
            counts = read_area_file_counts(counts_line);
    } catch (const std::exception&) {
        log_lines.push_back(log_text_of_path(path));
        log_lines.push_back(sjis("ファイルが開けませんでした。"));
        return 0;
    }
    // A file of the item whose counts cannot be read, or would make the makers drop what they read, is set
    // aside with a note instead of failing the job later or ending it without output.
    if (!counts) {
        log_lines.push_back(log_text_of_path(path));
        log_lines.push_back(sjis("ファイルのレコード数が読み取れませんでした。"));
        return 0;
    }
    return counts->records();
}

}  // namespace ostrand
