#include "app/PointConversion.h"

#include "app/ReplaceableService.h"
#include "convert/point/LandPriceCsv.h"
#include "convert/point/LandPriceFixed.h"
#include "convert/point/LandPriceMerge.h"
#include "convert/point/LandPriceYear.h"
#include "convert/point/PointCsv.h"
#include "convert/point/PointMerge.h"
#include "convert/point/PointWriters.h"
#include "convert/point/PortLayer.h"

namespace velmora {

namespace {

// The point converters of ModPoint.
class BuiltInPointConversion : public PointConversion {
public:
    bool ChkMakePoint_FileType(const FileList& files) override { return ModPoint::ChkMakePoint_FileType(files); }
    bool ChkMakePoint_FileYear(const FileList& files) override { return ModPoint::ChkMakePoint_FileYear(files); }
    bool MakePoint_Chika_SetIniData() override { return ModPoint::MakePoint_Chika_SetIniData(); }
    bool MakeShapePointFileData_ini() override { return ModPoint::MakeShapePointFileData_ini(); }
    bool MakeShapePointFileData_ini_Chika() override { return ModPoint::MakeShapePointFileData_ini_Chika(); }
    bool MakeShapePointFileData_ini_Kouwan() override { return ModPoint::MakeShapePointFileData_ini_Kouwan(); }
    bool MakeShapePointFileData(const std::string& path) override { return ModPoint::MakeShapePointFileData(path); }
    bool MakeShapePointFileData_ALL(const std::string& path, bool& written) override {
        return ModPoint::MakeShapePointFileData_ALL(path, written);
    }
    bool ChkSelectMeshCode(std::string_view meshCode) override { return ModPoint::ChkSelectMeshCode(meshCode); }
    bool MakeShapePointFileCSV(const std::string& path, std::int32_t& pointNumber) override {
        return ModPoint::MakeShapePointFileCSV(path, pointNumber);
    }
    bool MakePoint_Multi(const FileList& files) override { return ModPoint::MakePoint_Multi(files); }
    bool MakePoint_Chika(const std::string& path) override { return ModPoint::MakePoint_Chika(path); }
    bool MakePoint_Chika2(const FileList& files) override { return ModPoint::MakePoint_Chika2(files); }
    bool MakePoint_ChikaCSV(const std::string& path) override { return ModPoint::MakePoint_ChikaCSV(path); }
    bool MakePoint_ChikaCSV2(const FileList& files) override { return ModPoint::MakePoint_ChikaCSV2(files); }
    bool MakePoint_Chika3(const FileList& files) override { return ModPoint::MakePoint_Chika3(files); }
    bool MakePoint_ChikaCSV3(const FileList& files) override { return ModPoint::MakePoint_ChikaCSV3(files); }
    bool MakePoint_ChikaCSV4(const std::string& path) override { return ModPoint::MakePoint_ChikaCSV4(path); }
    bool MakePoint_Kouwan(const std::string& path, bool& completed) override {
        return ModPoint::MakePoint_Kouwan(path, completed);
    }
};

ReplaceableService<PointConversion>& slot() {
    static BuiltInPointConversion builtIn;
    static ReplaceableService<PointConversion> service(builtIn);
    return service;
}

}  // namespace

PointConversion& pointConversion() { return slot().get(); }

void setPointConversion(PointConversion* conversion) { slot().install(conversion); }

}  // namespace velmora
