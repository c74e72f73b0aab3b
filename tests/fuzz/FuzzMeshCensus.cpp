// The census mesh file's line reader and the cell geometry of its codes: each line split at the separator
// (the first input byte picks comma, tab or none), every item value taken, and field 0 turned into the
// cell ring at every level and subdivision the geometry knows (the next two bytes give a subdivided
// cell's column and row). RunTimeError is the geometry's refusal of a code.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "convert/core/ConversionRoutines.h"
#include "convert/mesh/MeshCensus.h"
#include "convert/mesh/MeshGeometry.h"
#include "platform/errors/RunTimeError.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

volatile double sink;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    namespace format = velmora::modCommon::FileFormat;
    constexpr std::int16_t kFormats[] = {format::Comma, format::Tab, format::Fixed};
    const auto separator = ModMesh::census::separatorOf(kFormats[data[0] % 3]);
    const ModMesh::SubCell cell{static_cast<std::int16_t>(static_cast<std::int8_t>(data[1])),
                                static_cast<std::int16_t>(static_cast<std::int8_t>(data[2]))};
    std::vector<std::string_view> fields;
    for (std::string_view line : fuzz::lines(fuzz::asText(data + 3, size - 3))) {
        ModMesh::census::splitFields(line, separator, fields);
        for (std::string_view f : fields) sink = static_cast<double>(ModMesh::census::itemValue(f).size());
        if (fields.empty()) continue;
        constexpr int kLevels[][2] = {{2, 0}, {3, 0}, {4, 0}, {2, 5}, {3, 4}, {3, 10}};
        for (const auto& [level, subdivision] : kLevels) {
            try {
                const ModMesh::MeshRing ring = subdivision == 0
                                                   ? ModMesh::CellRing(fields[0], level, subdivision)
                                                   : ModMesh::CellRing(fields[0], level, subdivision, cell);
                sink = ring.x[0] + ring.y[4];
            } catch (const velmora::RunTimeError&) {
            }
        }
    }
    return 0;
}
