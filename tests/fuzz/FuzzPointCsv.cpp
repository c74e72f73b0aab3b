// The readers of delimited point files and of their item layout file, each as its job runs it. The first
// input byte picks the reader; the rest is the data file, or for 4 and 5 the item layout file:
//   0 the comma-separated reader of an ordinary layer      3 the land-price merge through the work database
//   1 the tab-separated reader of an ordinary layer        4 the item layout of an ordinary layer
//   2 the split land-price reader (year check first)       5 the land-price item layout of the data year
// The layout the data readers use is the generators' (DataDBFItemCS.csv in the program folder).
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>

#include "convert/core/ConversionRoutines.h"
#include "convert/point/CsvItemLayout.h"
#include "convert/point/LandPriceCsv.h"
#include "convert/point/LandPriceYear.h"
#include "convert/point/PointCsv.h"
#include "convert/point/PointHeader.h"
#include "convert/point/PointWriters.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "platform/errors/RunTimeError.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzJob.h"
#include "tests/tools/gen/PointFileGen.h"

using namespace velmora;

namespace {

const gen::PointGenLayer& landPriceLayer() {
    static const gen::PointGenLayer layer = gen::landPriceCsvLayer("2005");
    return layer;
}

// The layout file of the generators' ordinary and land-price layers, as the seeds were written for.
std::string generatedLayout() {
    static const std::string bytes = [] {
        const std::string path = fuzz::scratchFolder() + "generated-layout.csv";
        gen::writeCsvLayoutFile(path, {gen::standardPointLayer(), landPriceLayer()});
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int reader = data[0] % 6;
    const bool landPrice = reader == 2 || reader == 3 || reader == 5;
    fuzz::startJob(DataKind::Point, landPrice ? 8 : 12);
    ConversionState& s = conversionState();
    static const LayerDef landPriceRow = [] {
        LayerDef row;
        gen::fillPointLayerRow(row, landPriceLayer());
        return row;
    }();
    if (landPrice) s.PointLayers[8] = landPriceRow;
    s.OutputPath = fuzz::scratchFolder() + "out.shp";
    s.InputFileFormat = reader == 1 ? modCommon::FileFormat::Tab : modCommon::FileFormat::Comma;
    const std::string_view input = fuzz::asText(data + 1, size - 1);
    const bool layoutInput = reader >= 4;
    fuzz::writeScratch(ModPoint::kCsvItemLayoutFile, layoutInput ? input : std::string_view(generatedLayout()));
    const std::string path = fuzz::writeScratch("input.csv", layoutInput ? std::string_view() : input);
    shapedesc::openPair();
    switch (reader) {
        case 0:
        case 1: {
            std::int32_t number = 1;
            if (ModPoint::MakeShapePointFileData_ini()) ModPoint::MakeShapePointFileCSV(path, number);
            break;
        }
        case 2:
            shapedesc::openDescriptionFile(s.FilZFileNo, "_Z");
            if (ModPoint::ChkMakePoint_FileYear({path})) ModPoint::MakePoint_ChikaCSV(path);
            break;
        case 3:
            shapedesc::openDescriptionFile(s.FilZFileNo, "_Z");
            if (ModPoint::ChkMakePoint_FileYear({path})) ModPoint::MakePoint_ChikaCSV2({path});
            break;
        case 4:
            try {
                ModPoint::readCsvItemLayout(ModPoint::selectedPointLayer(), s.AppFolder + ModPoint::kCsvItemLayoutFile);
            } catch (const RunTimeError&) {
                // The reader's refusal, which its caller shows in its error box.
            }
            break;
        default: {
            s.DataYear = 2005;
            ModPoint::CsvItemLayout layout;
            layout.SourceColumns.assign(120, 0);
            layout.SubFieldSpecs.assign(120, std::string());
            ModPoint::MakePoint_ChkaCSV_SetIniData(layout);
        }
    }
    return 0;
}
