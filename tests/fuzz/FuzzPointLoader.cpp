// The readers of fixed-column point files, each as its job runs it on one file: header check, "P" records,
// coordinates and item cuts into the intermediate description or the point work database. The first input
// byte picks the reader, the rest is the file:
//   0 the whole-file writer of an ordinary layer      3 the split land-price writer (year check first)
//   1 the writer of the records of chosen mesh codes   4 the land-price merge through the work database
//   2 the merge of an ordinary layer (work database)   5 the port layer's writer of ten outputs
// Every reader shows its own box on a bad file; the shape writer is not there, so a run that reaches it fails.
#include <cstddef>
#include <cstdint>

#include "convert/core/ConversionRoutines.h"
#include "convert/point/LandPriceFixed.h"
#include "convert/point/LandPriceMerge.h"
#include "convert/point/LandPriceYear.h"
#include "convert/point/PointMerge.h"
#include "convert/point/PointWriters.h"
#include "convert/point/PortLayer.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzJob.h"

using namespace velmora;

namespace {

bool landPriceSplitStart(const std::string& path) {
    ConversionState& s = conversionState();
    s.InputFileFormat = modCommon::FileFormat::Fixed;
    if (!ModPoint::ChkMakePoint_FileYear({path}) || !ModPoint::MakePoint_Chika_SetIniData()) return false;
    shapedesc::openDescriptionFile(s.FilZFileNo, "_Z");
    return ModPoint::MakeShapePointFileData_ini_Chika();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int reader = data[0] % 6;
    constexpr int kRows[] = {12, 12, 12, 8, 8, ModPoint::kPortRow};
    for (WriterSlot& slot : ModPoint::KouwanFileNo()) slot.closeQuietly();
    fuzz::startJob(DataKind::Point, kRows[reader]);
    ConversionState& s = conversionState();
    s.OutputPath = fuzz::scratchFolder() + "out.shp";
    const std::string path = fuzz::writeScratch("input.txt", fuzz::asText(data + 1, size - 1));
    shapedesc::openPair();
    switch (reader) {
        case 0:
            if (ModPoint::MakeShapePointFileData_ini()) ModPoint::MakeShapePointFileData(path);
            break;
        case 1: {
            s.MeshRangeCount = 1;
            s.MeshRanges = {{}, {"100000", "699999"}};
            bool written = false;
            if (ModPoint::MakeShapePointFileData_ini()) ModPoint::MakeShapePointFileData_ALL(path, written);
            break;
        }
        case 2:
            if (ModPoint::MakeShapePointFileData_ini()) ModPoint::MakePoint_Multi({path});
            break;
        case 3:
            if (landPriceSplitStart(path)) ModPoint::MakePoint_Chika(path);
            break;
        case 4:
            if (landPriceSplitStart(path)) ModPoint::MakePoint_Chika2({path});
            break;
        default: {
            s.MeshRangeCount = -1;
            bool made = false;
            ModPoint::MakePoint_Kouwan(path, made);
        }
    }
    return 0;
}
