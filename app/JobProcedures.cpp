#include "app/JobProcedures.h"

#include "app/FileListJobs.h"
#include "app/ReplaceableService.h"

namespace velmora {

namespace {

// The jobs of the point, line, attribute-table and mesh kinds; the area job fails with a message until
// it is built, so no conversion is reported as done before it can be done.
class BuiltInJobProcedures : public FileListJobProcedures {
public:
    bool MakePoint(frmDataSet& d) override { return jobs::MakePoint(d); }
    bool MakeLine(frmDataSet& d) override { return jobs::MakeLine(d); }
    bool MakePolygon(frmDataSet&) override { return unavailable(); }
    bool MakeMesh(frmDataSet& d) override { return jobs::MakeMesh(d); }
    bool MakeAttr(frmDataSet& d) override { return jobs::MakeAttr(d); }

private:
    static bool unavailable() { return conversionUnavailable("このデータの変換処理は、まだ使用できません。"); }
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
