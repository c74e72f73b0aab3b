#pragma once
// What the two area jobs (file list and nationwide) share: the refusal of input paths the library cannot
// take, the log around the library's call, the result box of the polygons, and the attached outputs
// (representative points "_P", boundary lines "_L") written through the area-structure converters.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/UiService.h"

namespace velmora::jobs {

// The library splits its input list at ",": a path holding one would become two wrong paths. True when
// some path holds ","; its refusal has been shown ("ｴﾗｰﾒｯｾｰｼﾞ", exclamation).
bool refuseCommaPaths(const std::vector<std::string>& files);

// The non-empty paths joined by "," in order, as the library takes them.
std::string joinInputFiles(const std::vector<std::string>& files);

// Names the job's log (LogFilePath) and leaves it created, empty and closed: the library replaces its
// contents, and the attached outputs append to it afterwards. Before that, each input file is read
// through the reader's checks (modCommon::ChkInputText); a refusal is thrown with the log still open.
void prepareLibraryLog(const std::vector<std::string>& files);

// After the library's call: status 0 writes the .prj of DatumCode beside the polygons (none for -1), shows
// the counts of PolygonCounts and asks whether to add the polygon shapefile of outputPath to the map (Yes
// adds it). False for any other status, which the library has reported itself. A .prj that cannot be
// written is thrown (brunhale::Failure) to the caller.
bool offerPolygons(std::int16_t status, const std::string& outputPath);

struct AttachedOutputs {
    bool points = false;
    bool lines = false;
    // The writers of a mesh selection (RepMeshWhere, StartMeshWhere) instead of the whole database.
    bool selection = false;
    // Icon of the two boxes that report a failed writer.
    ui::Icon failureIcon = ui::Icon::Exclamation;
};

// The attached-outputs step over OutputPath: the log opened for appending (a new one of its own when no
// polygons were made), start line, work database, every file loaded, the ticked writers (an output that
// is a layer of the map is skipped with its box), end line, log and database closed and the database
// deleted. False: the caller's failure path follows (the log may still be open, the database stays on
// disk for the next area job). Run-time errors are thrown to the caller. Nothing happens when neither
// output is ticked.
bool makeAttachedOutputs(const std::vector<std::string>& files, const AttachedOutputs& outputs);

// The end of an area job that went through: bar and label hidden, the intermediate pair deleted.
void endAreaJob();

}  // namespace velmora::jobs
