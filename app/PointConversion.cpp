#include "app/PointConversion.h"

#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "app/ReplaceableService.h"

namespace velmora {

namespace {

// No point converter installed. The checks let the job go on (the format is still told, as the job
// dispatches on it), so the job reaches its first conversion, which says that point data cannot be
// converted yet and fails: the job takes its failure path.
class UnavailablePointConversion : public PointConversion {
public:
    bool ChkMakePoint_FileType(const FileList& files) override {
        conversionState().InputFileFormat =
            files.empty() ? modCommon::FileFormat::Unknown : modCommon::ChkFileFormat(files.front());
        return true;
    }
    bool ChkMakePoint_FileYear(const FileList&) override { return true; }
    bool MakePoint_Chika_SetIniData() override { return unavailable(); }
    bool MakeShapePointFileData_ini() override { return unavailable(); }
    bool MakeShapePointFileData_ini_Chika() override { return unavailable(); }
    bool MakeShapePointFileData_ini_Kouwan() override { return unavailable(); }
    bool MakeShapePointFileData(const std::string&) override { return unavailable(); }
    bool MakeShapePointFileData_ALL(const std::string&, bool& written) override {
        written = false;
        return unavailable();
    }
    bool ChkSelectMeshCode(std::string_view) override { return false; }
    bool MakeShapePointFileCSV(const std::string&) override { return unavailable(); }
    bool MakePoint_Multi(const FileList&) override { return unavailable(); }
    bool MakePoint_Chika(const std::string&) override { return unavailable(); }
    bool MakePoint_Chika2(const FileList&) override { return unavailable(); }
    bool MakePoint_ChikaCSV(const std::string&) override { return unavailable(); }
    bool MakePoint_ChikaCSV2(const FileList&) override { return unavailable(); }
    bool MakePoint_Chika3(const FileList&) override { return unavailable(); }
    bool MakePoint_ChikaCSV3(const FileList&) override { return unavailable(); }
    bool MakePoint_ChikaCSV4(const std::string&) override { return unavailable(); }
    bool MakePoint_Kouwan(const std::string&, bool& completed) override {
        completed = false;
        return unavailable();
    }

private:
    static bool unavailable() { return conversionUnavailable("ポイントデータの変換処理は、まだ使用できません。"); }
};

ReplaceableService<PointConversion>& slot() {
    static UnavailablePointConversion builtIn;
    static ReplaceableService<PointConversion> service(builtIn);
    return service;
}

}  // namespace

PointConversion& pointConversion() { return slot().get(); }

void setPointConversion(PointConversion* conversion) { slot().install(conversion); }

}  // namespace velmora
