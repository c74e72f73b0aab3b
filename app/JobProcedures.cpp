#include "app/JobProcedures.h"

#include "app/FileListJobs.h"
#include "app/ReplaceableService.h"

namespace velmora {

namespace {

// The jobs of the five kinds.
class BuiltInJobProcedures : public FileListJobProcedures {
public:
    bool MakePoint(frmDataSet& d) override { return jobs::MakePoint(d); }
    bool MakeLine(frmDataSet& d) override { return jobs::MakeLine(d); }
    bool MakePolygon(frmDataSet& d) override { return jobs::MakePolygon(d); }
    bool MakeMesh(frmDataSet& d) override { return jobs::MakeMesh(d); }
    bool MakeAttr(frmDataSet& d) override { return jobs::MakeAttr(d); }
};

ReplaceableService<FileListJobProcedures>& slot() {
    static BuiltInJobProcedures builtIn;
    static ReplaceableService<FileListJobProcedures> service(builtIn);
    return service;
}

}  // namespace

FileListJobProcedures& fileListJobProcedures() { return slot().get(); }

void setFileListJobProcedures(FileListJobProcedures* procedures) { slot().install(procedures); }

}  // namespace velmora
