#pragma once
// The job procedures of the file-list job dialog, one per data kind. The dialog's convert button calls the
// one of SelectedKind after its own checks (inputs, output name, datum code); the procedure reads the
// dialog's controls (TxtOutPutFile, LvwInFile, ChkMakeData, ProgressBar, lblMsg) and the conversion
// state, runs the whole job, and gives true when it finished, upon which the dialog closes. On false the
// dialog stays open and clears the log and input slots.
//
// The built-in procedures are those of FileListJobs.h; tests install others with setFileListJobProcedures.
class frmDataSet;
class frmDataSetALL;

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

// The job procedures of the nationwide job dialog, alike: they read the dialog's input file, output,
// attached-output boxes and mesh tree. The built-in ones are those of NationwideJobs.h.
class NationwideJobProcedures {
public:
    virtual ~NationwideJobProcedures() = default;
    virtual bool MakePoint(frmDataSetALL& dialog) = 0;
    virtual bool MakeLine(frmDataSetALL& dialog) = 0;
    virtual bool MakePolygon(frmDataSetALL& dialog) = 0;
    virtual bool MakeMesh(frmDataSetALL& dialog) = 0;
};

NationwideJobProcedures& nationwideJobProcedures();
void setNationwideJobProcedures(NationwideJobProcedures* procedures);

}  // namespace velmora
