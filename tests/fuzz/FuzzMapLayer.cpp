// The map's readers of a layer: the shapefile with its index (readShapeFile) and the dBASE table a search
// reads (RecordSet over every record: field names, types, values and shapes). The files are binary, so
// the input gives sizes instead of separators: the sizes of .shp and .shx as two 16-bit little-endian
// numbers, then .shp, .shx and .dbf (sizes beyond the input are cut short). RunTimeError is the readers'
// refusal of a file that is not a layer.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <numeric>
#include <string_view>
#include <vector>

#include "platform/errors/RunTimeError.h"
#include "platform/map/RecordSet.h"
#include "platform/map/ShapeData.h"
#include "tests/fuzz/FuzzInput.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    std::string_view rest = fuzz::asText(data + 4, size - 4);
    auto take = [&](std::size_t n) {
        const std::string_view part = rest.substr(0, n);
        rest.remove_prefix(part.size());
        return part;
    };
    const std::string shp = fuzz::writeScratch("layer.shp", take(data[0] | data[1] << 8));
    fuzz::writeScratch("layer.shx", take(data[2] | data[3] << 8));
    const std::string dbf = fuzz::writeScratch("layer.dbf", rest);
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
