#include "convert/shapedesc/ShapeDescriptionRun.h"

#include <algorithm>
#include <vector>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "convert/core/ProgramRunner.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "platform/process/RunProgram.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/LineReader.h"
#include "platform/ui/UiService.h"

namespace velmora::shapedesc {

std::string shapeWriterPath() { return programFile("Brunhale"); }

namespace {

constexpr int SettleTimeoutMs = 60000;

// What a program wrote (UTF-8, possibly several lines, possibly cut inside a character at its start) as one
// CP932 log line: line ends become blanks, and a character without a CP932 form becomes "?".
std::string asOneLogLine(std::string_view said) {
    std::string line;
    for (std::size_t i = 0; i < said.size();) {
        const unsigned char lead = static_cast<unsigned char>(said[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        const std::string_view ch = said.substr(i, length);
        i += ch.size();
        if (ch == "\r" || ch == "\n" || ch == "\t") line += ' ';
        else if (lead < 0x80) line += ch;
        else if (lead >= 0xC0 && text::canEncodeCp932(ch)) line += text::toCp932(ch);
        else if (lead >= 0xC0) line += '?';
    }
    return std::string(text::trimBlanks(line));
}

// The failure and the writer's reason go to the job's log, where the user is sent to look.
void logFailure(const std::string& failureMessage, std::string_view said) {
    if (!conversionState().LogFileNo.isOpen()) return;
    modCommon::PutLogFileMsg(modCommon::kFreeLogLine, text::toCp932(failureMessage));
    const std::string reason = asOneLogLine(said);
    if (!reason.empty()) modCommon::PutLogFileMsg(modCommon::kFreeLogLine, reason);
}

// The distinct paths, one a line.
std::string fileLines(const std::vector<std::string>& paths) {
    std::string text;
    std::vector<std::string> seen;
    for (const std::string& p : paths) {
        if (std::find(seen.begin(), seen.end(), p) != seen.end()) continue;
        seen.push_back(p);
        text += "\r" + p;
    }
    return text;
}

// True when the header file holds a record ("DBFITEM," line): the description is of some data.
bool describesRecords() {
    text::LineReader h;
    try {
        h.open(headerFilePath());
        std::string line;
        while (h.next(line, 16))
            if (line.starts_with("DBFITEM,")) return true;
    } catch (const RunTimeError&) {
        // A header file that cannot be read is the writer's to report.
        return true;
    }
    return false;
}

}  // namespace

// A run over nothing writes an empty output that looks like a success: when no input file was of the
// item, or the files of the item that were read held no data record, the job says so (box and log).
bool refuseNothingToWrite() {
    ConversionState& s = conversionState();
    std::string refusal;
    if (s.ItemInputFiles.empty() && !s.OtherItemInputFiles.empty())
        refusal = "入力ファイルに「" + text::fromCp932(s.selectedLayerName()) + "」のデータがありません。" +
                  fileLines(s.OtherItemInputFiles);
    else if (!s.ItemInputFiles.empty() && !describesRecords())
        refusal = "変換するデータがありません（データレコードがありません）。" + fileLines(s.ItemInputFiles);
    if (refusal.empty()) return false;
    modCommon::ShowInputRefusal(refusal, "ｴﾗｰﾒｯｾｰｼﾞ", ui::Icon::Critical);
    return true;
}

std::int32_t runShapeWriter(std::string* said) {
    std::string ignored;
    const std::int32_t code = modCommon::RunProcessWait(shapeWriterPath(), 1, -1, said ? *said : ignored);
    // Ended by a signal (its own exit codes are small): killed inside its commit it may have left the
    // earlier output moved aside, which its settling run puts back now rather than at the next run of the
    // same output.
    if (code > 128) process::runProgram(shapeWriterPath(), {"--settle"}, SettleTimeoutMs);
    return code;
}

bool runShapeWriterOnPair(PairDeletion deletion, const std::string& failureMessage, EmptyOutput empty) {
    if (empty == EmptyOutput::Refused && refuseNothingToWrite()) {
        if (deletion == PairDeletion::Always) deletePair();
        return false;
    }
    std::string said;
    const bool ok = runShapeWriter(&said) == 0;
    if (!ok) {
        logFailure(failureMessage, said);
        ui::message(failureMessage, ShapeFailureTitle, ui::Icon::Critical, ui::Buttons::Ok);
    }
    if (deletion == PairDeletion::Always || (ok && deletion == PairDeletion::AfterSuccess)) deletePair();
    return ok;
}

}  // namespace velmora::shapedesc
