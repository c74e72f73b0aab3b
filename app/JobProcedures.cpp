#include "app/JobProcedures.h"

#include "platform/ui/UiService.h"

namespace velmora {

namespace {

// Every job fails with a message: no conversion is reported as done before it can be done.
class UnavailableJobProcedures : public FileListJobProcedures {
public:
    bool MakePoint(frmDataSet&) override { return unavailable(); }
    bool MakeLine(frmDataSet&) override { return unavailable(); }
    bool MakePolygon(frmDataSet&) override { return unavailable(); }
    bool MakeMesh(frmDataSet&) override { return unavailable(); }
    bool MakeAttr(frmDataSet&) override { return unavailable(); }

private:
    static bool unavailable() {
        ui::message("このデータの変換処理は、まだ使用できません。", "ﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
        return false;
    }
};

FileListJobProcedures*& installed() {
    static FileListJobProcedures* procedures = nullptr;
    return procedures;
}

}  // namespace

FileListJobProcedures& fileListJobProcedures() {
    static UnavailableJobProcedures unavailable;
    FileListJobProcedures* p = installed();
    return p ? *p : unavailable;
}

void setFileListJobProcedures(FileListJobProcedures* procedures) { installed() = procedures; }

}  // namespace velmora
