#pragma once
// Running the shape writer Brunhale on the closed pair and acting on its exit code.
#include <cstdint>
#include <string>

namespace velmora::shapedesc {

// The message of a failed shapefile output and the title of its box.
inline constexpr const char* ShapeFailureMessage = "Shapeﾌｧｲﾙの作成に失敗しました。";
inline constexpr const char* ShapeFailureTitle = "ﾒｯｾｰｼﾞ";

// The program folder's "Brunhale".
std::string shapeWriterPath();

// Runs Brunhale through modCommon::RunProcessWait (window style 1, no time-out) and gives its exit code;
// -1 when it could not be started. `said`, when given, receives what it wrote on standard error or, when it
// wrote nothing, how it ended. A run that a signal ended is followed at once by Brunhale's "--settle" run,
// so the output is the earlier one or the new one, whole, and no temporary is left beside it.
std::int32_t runShapeWriter(std::string* said = nullptr);

// What happens to the pair after a run: the line, station, area-structure and mesh writers delete it
// whatever the outcome; the point and attribute-table jobs only after a success (a failed pair stays for
// the next job to overwrite); runs over moved or copied files leave the deleting to their caller.
enum class PairDeletion { Always, AfterSuccess, Never };

// A description of no record ("DBFITEM" line) after files of the item were read (ItemInputFiles), or a
// job whose every input file was of another item:
// the refusal is shown ("ｴﾗｰﾒｯｾｰｼﾞ") and logged, and the result is true. The writers that find nothing to
// write before they describe it call it themselves.
bool refuseNothingToWrite();

// Runs Brunhale on the pair, which the caller has closed. A pair of no record, or a job whose every
// input file was of another item, is not run: the job's refusal is logged and shown ("ｴﾗｰﾒｯｾｰｼﾞ") and the
// result is false. An exit code other than 0 writes failureMessage
// and then the writer's reason, each as one line, to the job's log when one is open, and shows
// failureMessage (title "ﾒｯｾｰｼﾞ", critical icon, OK). Then the pair is deleted as `deletion` says. True on
// exit code 0.
// An output of no record is refused unless `empty` says that it may be written (one of several outputs
// of a file, such as a season without records).
enum class EmptyOutput { Refused, Written };
bool runShapeWriterOnPair(PairDeletion deletion, const std::string& failureMessage = ShapeFailureMessage,
                          EmptyOutput empty = EmptyOutput::Refused);

}  // namespace velmora::shapedesc
