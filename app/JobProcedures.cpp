#include "app/JobProcedures.h"

#include "app/FileListJobs.h"
#include "app/NationwideJobs.h"
#include "app/ReplaceableService.h"

namespace velmora {

namespace {

// The jobs of the five kinds, and the nationwide jobs of the four kinds that can come from one file.
class BuiltInJobProcedures : public FileListJobProcedures {
public:
    bool MakePoint(frmDataSet& d) override { return jobs::MakePoint(d); }
    bool MakeLine(frmDataSet& d) override { return jobs::MakeLine(d); }
    bool MakePolygon(frmDataSet& d) override { return jobs::MakePolygon(d); }
    bool MakeMesh(frmDataSet& d) override { return jobs::MakeMesh(d); }
    bool MakeAttr(frmDataSet& d) override { return jobs::MakeAttr(d); }
};

class BuiltInNationwideProcedures : public NationwideJobProcedures {
public:
    bool MakePoint(frmDataSetALL& d) override { return nationwide::MakePoint(d); }
    bool MakeLine(frmDataSetALL& d) override { return nationwide::MakeLine(d); }
    bool MakePolygon(frmDataSetALL& d) override { return nationwide::MakePolygon(d); }
    bool MakeMesh(frmDataSetALL& d) override { return nationwide::MakeMesh(d); }
};

ReplaceableService<FileListJobProcedures>& slot() {
    static BuiltInJobProcedures builtIn;
    static ReplaceableService<FileListJobProcedures> service(builtIn);
    return service;
}

ReplaceableService<NationwideJobProcedures>& nationwideSlot() {
    static BuiltInNationwideProcedures builtIn;
    static ReplaceableService<NationwideJobProcedures> service(builtIn);
    return service;
}

}  // namespace

FileListJobProcedures& fileListJobProcedures() { return slot().get(); }

void setFileListJobProcedures(FileListJobProcedures* procedures) { slot().install(procedures); }

NationwideJobProcedures& nationwideJobProcedures() { return nationwideSlot().get(); }

void setNationwideJobProcedures(NationwideJobProcedures* procedures) { nationwideSlot().install(procedures); }

}  // namespace velmora
