#pragma once
// The conversion log: one CP932 text file per job in the program folder's "Log" folder, every line ended
// by CR LF. The job procedures name and open it here; modCommon::PutLogFileMsg writes its coded lines.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/text/DateTimeText.h"
#include "platform/text/LineWriter.h"
#include "platform/ui/UiService.h"

namespace velmora::modCommon {

// A local date and time as the log shows it.
using LogTime = text::DateTime;
using LogClock = std::function<LogTime()>;

// Installs the clock that stamps log names and end lines (tests); an empty clock restores local time.
void setLogClock(LogClock clock);
// The current time of the installed clock.
LogTime logNow();
// A time as the log's lines show it: "yyyy/mm/dd hh:mm:ss".
std::string logTimeText(const LogTime& t);

// The path of a new log for the current data item (row SelectedIndex of the layer table of SelectedKind):
// program folder, "/Log/", the item's Name with "/" and "\" turned into "_", the time as "yymmddhhmmss",
// ".log". A row outside its table is run-time error 9.
std::string makeLogFilePath();
// Opens LogFilePath in the LogFileNo slot: Replace empties (or creates) the file for a job's own log;
// Append keeps what is there (the attached outputs written after the area-polygon library).
// A missing "Log" folder is RunTimeError(PathNotFound).
void openLogFile(text::LineWriter::Mode mode);

// A code without a text of its own: the line is the text alone.
inline constexpr std::int16_t kFreeLogLine = -1;

// Writes the line of a message code and a text (CP932 bytes) to the open log. A run-time error (no log
// open, a row outside its table, a failed write) shows its box titled "Error: modCommon (PutLogFileMsg)";
// the line is lost and the caller goes on.
void PutLogFileMsg(std::int16_t code, std::string_view t);

// UTF-8 text as the log's CP932 bytes; a character without a CP932 form becomes "?".
std::string logBytes(const std::string& utf8);

// A refusal of the job's input: the box (OK) and, when the job's log is open, the same text as a line
// of it (line breaks as blanks).
void ShowInputRefusal(const std::string& text, const std::string& title, ui::Icon icon);

// After a file was read to its end: when its header (characters 34-41 of line 1) stated more than the
// file held, counted as that kind of file counts (a file cut short at a line's end), the log gets a line
// naming the file and both counts, and the notice is kept for the job's closing question
// (FewerRecordNotices). A header stating no count (0) is not checked. Point and mesh files count every
// line, the header included; attribute tables their records, the lines after the header.
void ChkStatedRecordCount(const std::string& path, long stated, long read);
// The same for one part of a line or area-structure file against its count on the counts line (line 2):
// `part` names it in the notice ("リンク", "台帳", ...).
void ChkStatedLineCount(const std::string& path, const std::string& part, long stated, long read);

}  // namespace velmora::modCommon
