#pragma once
// The job procedures of the nationwide job dialog for point, line, mesh and area data. Each converts the
// dialog's one input file narrowed to the ticks of its mesh tree: output checks, the selection (read once,
// at the start), progress, log, converters, the shape writer, the closing question; true when the job
// finished (the dialog then closes). JobProcedures.cpp makes them the dialog's procedures.
#include <string>

#include "app/FileListJobSteps.h"

class frmDataSetALL;

namespace velmora::nationwide {

bool MakePoint(frmDataSetALL& dialog);
bool MakeLine(frmDataSetALL& dialog);
bool MakeMesh(frmDataSetALL& dialog);
bool MakePolygon(frmDataSetALL& dialog);

// What the jobs read from the dialog: the output path (extension completed), the input file as the one
// entry of `files`, and the attached-output boxes (1 = ticked).
jobs::JobSettings readSettings(const frmDataSetALL& dialog);
// The converters show their progress in the dialog's bar and label.
void connectProgress(frmDataSetALL& dialog);
// The refusal of a job whose selection holds nothing.
void refuseEmptySelection(const char* title);
// The title of a job's run-time error box: "Error: frmDataSetALL " + suffix.
std::string errorTitle(const char* suffix);

}  // namespace velmora::nationwide
