#pragma once
// The job procedures of the file-list job dialog for point, line, attribute-table, mesh and area data. Each runs
// one whole job from the dialog's input list and output path: checks, progress, log, converters, the shape
// writer, completion and the closing question; true when the job finished (the dialog then closes).
// JobProcedures.cpp makes them the dialog's procedures.
class frmDataSet;

namespace velmora::jobs {

bool MakePoint(frmDataSet& dialog);
bool MakeLine(frmDataSet& dialog);
bool MakeAttr(frmDataSet& dialog);
bool MakeMesh(frmDataSet& dialog);
bool MakePolygon(frmDataSet& dialog);

}  // namespace velmora::jobs
