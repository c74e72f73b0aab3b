#include "convert/core/ConversionLog.h"

#include <algorithm>
#include <exception>
#include <filesystem>

#include "convert/core/ConversionState.h"
#include "platform/errors/RunTimeError.h"
#include "platform/text/Cp932.h"
#include "platform/ui/UiService.h"

namespace velmora::modCommon {

using text::toCp932;

namespace {

LogClock& installedClock() {
    static LogClock clock;
    return clock;
}

std::string fileKindLine(const std::string& name, std::string_view t) {
    std::string line = toCp932("ファイルの種別が「");
    line += name;
    line += toCp932("」ではありません。 ");
    line += t;
    return line;
}

// "[" t "]" and a fixed text.
std::string bracketed(std::string_view t, const char* utf8) {
    std::string line;
    line += '[';
    line += t;
    line += ']';
    line += toCp932(utf8);
    return line;
}

// The texts that codes 2-7, 9-11 and 15 put before the given text.
const char* fixedText(int code) {
    switch (code) {
        case 2: return "リンク情報の座標が前リンク情報の終点座標と一致しません。";
        case 3: return "リンク情報の開始始点と最終終点が一致しません。";
        case 4: return "同一のリンク情報が＋方向で存在しますので面データとしては作成しません。";
        case 5: return "リンクデータが見つかりませんでした。";
        case 6: return "リンク情報のポイント数が２個以下の為、面データが作成できません。";
        case 7: return "エリア属性台帳にリンクするデータがありません。";
        case 9: return "面データ変換終了。";
        case 10: return "ポイントデータ座標値が空白です。";
        case 11: return "ノード台帳にノード属性情報がありません。";
        case 15: return "ポイントデータの座標値が不正です。";
        default: return nullptr;
    }
}

std::string logLine(std::int16_t code, std::string_view t) {
    ConversionState& s = conversionState();
    const long row = s.SelectedIndex;
    switch (code) {
        case 0: return bracketed(t, "データ変換開始。");
        case 16: return bracketed(t, "付属変換開始。");
        case 99:
            return toCp932("変換終了。   ") + text::formatDateTime(logNow());
        // The file-kind codes name the row SelectedIndex of their own table, whatever the job's kind.
        case 1: return fileKindLine(layerRow(s.PolygonLayers, row).Name, t);
        case 12: return fileKindLine(layerRow(s.PointLayers, row).Name, t);
        case 13: return fileKindLine(layerRow(s.LineLayers, row).Name, t);
        case 14: return fileKindLine(layerRow(s.AttrLayers, row).Name, t);
        default:
            std::string line;
            if (const char* fixed = fixedText(code)) line = toCp932(fixed);
            line += t;
            return line;
    }
}

// A run-time error box during a job (its log open) names where reading stood (unless its text does
// already) and leaves its cause in the job's log, so that a failure is never only in a box that is gone.
std::string witnessErrorBox(const std::string& title, const std::string& text) {
    // Outside a job and its log a box is left as it is.
    ConversionState& s = conversionState();
    if (!s.JobRunning || !s.LogFileNo.isOpen()) return text;
    std::string shown = text;
    if (const auto at = text::lastReadPosition(); at && text.find(at->path) == std::string::npos)
        shown += "\r" + text::positionText(*at);
    {
        std::string line = title + " | " + shown;
        for (char& c : line)
            if (c == '\r' || c == '\n') c = ' ';
        try {
            s.LogFileNo.file().writeLine(logBytes(line));
        } catch (const std::exception&) {
            // The box still shows the cause.
        }
    }
    return shown;
}

const bool kWitnessInstalled = (ui::setErrorBoxWitness(&witnessErrorBox), true);

}  // namespace

void setLogClock(LogClock clock) { installedClock() = std::move(clock); }

std::string logTimeText(const LogTime& t) { return text::formatDateTime(t); }

LogTime logNow() {
    const LogClock& clock = installedClock();
    return clock ? clock() : text::localNow();
}

std::string makeLogFilePath() {
    ConversionState& s = conversionState();
    // The Name becomes part of a file name: a "/" (as in "1/10細分区画") or "\" would leave the Log folder.
    std::string name = text::fromCp932(s.selectedLayerName());
    for (char& c : name)
        if (c == '/' || c == '\\') c = '_';
    const std::string base = programFolder() + "/Log/" + name + text::formatCompactStamp(logNow());
    // The stamp has one-second resolution: a second job of the item within the same second gets a
    // numbered name of its own instead of replacing the first job's log.
    std::string path = base + ".log";
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(path, ec); ++n) path = base + "_" + std::to_string(n) + ".log";
    return path;
}

void openLogFile(text::LineWriter::Mode mode) {
    ConversionState& s = conversionState();
    s.LogFileNo.open(s.LogFilePath, mode);
}

void PutLogFileMsg(std::int16_t code, std::string_view t) {
    static const std::string title = "Error: modCommon (PutLogFileMsg)";
    try {
        std::string line = logLine(code, t);
        conversionState().LogFileNo.file().writeLine(line);
    } catch (const RunTimeError& e) {
        ui::showRunTimeError(e, title);
    } catch (const std::exception& e) {
        ui::showError(e, title);
    }
}

std::string logBytes(const std::string& utf8) {
    if (text::canEncodeCp932(utf8)) return toCp932(utf8);
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        n = std::min(n, utf8.size() - i);
        const std::string_view ch(utf8.data() + i, n);
        out += text::canEncodeCp932(ch) ? toCp932(ch) : std::string("?");
        i += n;
    }
    return out;
}

void ShowInputRefusal(const std::string& text, const std::string& title, ui::Icon icon) {
    if (conversionState().LogFileNo.isOpen()) {
        std::string line = text;
        for (char& c : line)
            if (c == '\r' || c == '\n') c = ' ';
        PutLogFileMsg(kFreeLogLine, logBytes(line));
    }
    ui::message(text, title, icon);
}

namespace {

// A file that held less than it states: the notice goes to the log now and to the box before the job's
// closing question (FewerRecordNotices).
void noteShortFile(const std::string& notice) {
    ConversionState& s = conversionState();
    s.FewerRecordNotices.push_back(notice);
    if (s.LogFileNo.isOpen()) PutLogFileMsg(kFreeLogLine, logBytes(notice));
}

const char* const kMaybeCut = "ファイルが途中で切れている可能性があります。";

}  // namespace

void ChkStatedRecordCount(const std::string& path, long stated, long read) {
    if (stated <= 0 || read >= stated) return;
    noteShortFile("入力ファイル " + path + " の行数（" + std::to_string(read) + "）がヘッダーに記載の件数（" +
                  std::to_string(stated) + "）より少なくなっています。" + kMaybeCut);
}

void ChkStatedLineCount(const std::string& path, const std::string& part, long stated, long read) {
    if (stated <= 0 || read >= stated) return;
    noteShortFile("入力ファイル " + path + " の" + part + "の行数（" + std::to_string(read) + "）が2行目に記載の行数（" +
                  std::to_string(stated) + "）より少なくなっています。" + kMaybeCut);
}

}  // namespace velmora::modCommon
