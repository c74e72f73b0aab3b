// The map's readers of a layer: the shapefile with its index (readShapeFile) and the dBASE table a search
// reads (RecordSet over every record: field names, types, values and shapes). The input: .shp, a NUL,
// .shx, a NUL, .dbf. RunTimeError is the readers' refusal of a file that is not a layer.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <numeric>
#include <vector>

#include "platform/errors/RunTimeError.h"
#include "platform/map/RecordSet.h"
#include "platform/map/ShapeData.h"
#include "tests/fuzz/FuzzInput.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::splitParts(fuzz::asText(data, size), 3);
    const std::string shp = fuzz::writeScratch("layer.shp", parts[0]);
    fuzz::writeScratch("layer.shx", parts[1]);
    const std::string dbf = fuzz::writeScratch("layer.dbf", parts[2]);
    try {
        auto shapes = std::make_shared<const map::ShapeData>(map::readShapeFile(shp));
        std::vector<std::uint32_t> records(shapes->count());
        std::iota(records.begin(), records.end(), 0u);
        map::RecordSet set(shapes, dbf, records);
        for (set.moveFirst(); !set.eof(); set.moveNext()) {
            for (int i = 0; i < set.fieldCount(); ++i) {
                set.fieldType(i);
                set.value(set.fieldName(i));
            }
            set.shape();
        }
    } catch (const RunTimeError&) {
    }
    return 0;
}
