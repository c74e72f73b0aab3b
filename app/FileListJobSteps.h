#pragma once
// The steps the file-list job procedures share: what they read from the dialog, the progress hook-up, the
// job's log, the run of the shape writer over the pair the job wrote, the closing question and the
// failure path.
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <vector>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"

class frmDataSet;
class QLabel;
class QProgressBar;

namespace velmora::jobs {

// The dialog's job settings: the output path (extension completed), the input files in list order and the
// attached-output boxes (1 = ticked).
struct JobSettings {
    std::string output;
    std::vector<std::string> files;
    std::int16_t pointOption = 0;
    std::int16_t lineOption = 0;
};
JobSettings readSettings(const frmDataSet& dialog);

// The converters show their progress in the dialog's bar and label.
void connectProgress(frmDataSet& dialog);
void connectProgress(QProgressBar* bar, QLabel* label);
// Hides bar and label.
void hideProgress();
// Fills the bar, then hides bar and label.
void fillAndHideProgress();

// Names a new log for the selected data item and opens it (created or emptied); then refuses an item
// without catalogue item rows (modCommon::ChkSelectedItemRows), the log open for the cause.
void openJobLog();
using modCommon::kFreeLogLine;
// The end line (code 99) and closing the log.
void endJobLog();

// Closes the files (each where open), sets the caption, yields, runs Brunhale. A failed run shows
// failureMessage ("ﾒｯｾｰｼﾞ", critical) and gives false; after a success it yields again. The pair stays on
// disk either way: the job deletes it at its completion, a failed job leaves it for the next one.
bool runShapeWriter(std::initializer_list<WriterSlot*> close, const char* caption, const char* failureMessage);

// The closing questions and what Yes does with the outputs.
inline constexpr const char* kAddShapefileQuestion = "変換されたシェープファイルをマップに追加しますか？";
inline constexpr const char* kAddTableQuestion = "変換されたDBFファイルをマップに追加しますか？";
enum class MapAddition { Layers, Table };
// Asks (title "ﾒｯｾｰｼﾞ", question icon, Yes and No); on Yes adds each path through the main window's map
// tool, without looking at the result.
void askToAddToMap(const char* question, const std::vector<std::string>& paths, MapAddition addition);

// The failure path of a job after it opened anything: closes the log, the input file and the job's own
// files (each where open), shows the run-time error box of a pending error (title "Error: frmDataSet
// (frmDataSet <procedure>)"), hides bar and label. Always false, for `return failed(...)`.
bool failed(const char* procedure, std::initializer_list<WriterSlot*> ownFiles, const std::exception* pending = nullptr);
// The same with the whole title of the run-time error box.
bool failedTitled(const std::string& errorTitle, std::initializer_list<WriterSlot*> ownFiles,
                  const std::exception* pending = nullptr);
// The run-time error box of a procedure.
void showProcedureError(const char* procedure, const std::exception& e);

// Yield to the event loop.
void yield();

}  // namespace velmora::jobs
