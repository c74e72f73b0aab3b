#pragma once
// The job procedures of the file-list job dialog, one per data kind. The dialog's convert button calls the
// one of SelectedKind after its own checks (inputs, output name, datum code); the procedure reads the
// dialog's controls (TxtOutPutFile, LvwInFile, ChkMakeData, ProgressBar, lblMsg) and the conversion
// state, runs the whole job, and gives true when it finished, upon which the dialog closes. On false the
// dialog stays open and clears the log and input slots.
//
// The built-in procedures are those of FileListJobs.h; tests install others with setFileListJobProcedures.
class frmDataSet;

namespace velmora {

class FileListJobProcedures {
public:
    virtual ~FileListJobProcedures() = default;
    virtual bool MakePoint(frmDataSet& dialog) = 0;
    virtual bool MakeLine(frmDataSet& dialog) = 0;
    virtual bool MakePolygon(frmDataSet& dialog) = 0;
    virtual bool MakeMesh(frmDataSet& dialog) = 0;
    virtual bool MakeAttr(frmDataSet& dialog) = 0;
};

// The procedures in force.
FileListJobProcedures& fileListJobProcedures();
// Installs procedures (nullptr: the built-in ones); the caller keeps ownership.
void setFileListJobProcedures(FileListJobProcedures* procedures);

}  // namespace velmora
